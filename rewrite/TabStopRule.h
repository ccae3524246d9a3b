#pragma once

#include <array>
#include <cstdint>

#include "ByteMasks.h"
#include "ByteRule.h"
#include "CharWidth.h"
#include "Lexer.h"

namespace kelbrin {

// Stops every `every` columns: the arithmetic on columns, without a division
// where the stops are a power of two apart. A value, so that a loop over a
// block keeps it in registers whatever it writes.
struct TabStops {
  explicit TabStops(int columns);

  // The column within its stop's stretch, and the whole stretches before it.
  std::uint64_t InStretch(std::uint64_t column) const {
    return powerOfTwo ? column & (every - 1) : column % every;
  }
  std::uint64_t Stretches(std::uint64_t columns) const { return powerOfTwo ? columns >> shift : columns / every; }
  // The stop a tab at `column` goes to.
  std::uint64_t NextStop(std::uint64_t column) const { return column + every - InStretch(column); }

  std::uint64_t every;
  bool powerOfTwo;
  int shift;  // where stops are a power of two apart, its exponent
};

// Turns blanks into tabs by tab stops every `every` columns (1 to 64): a run
// of blanks becomes a tab where it reaches a stop, blanks before a tab are
// absorbed into it, and a single blank before a stop stays a blank, so that
// every character keeps its column as shown with tabs that wide; the same
// bytes as GNU `unexpand -a -t every`. Columns count from each line start,
// after a CR or an LF. In code page 932 a byte is a column (half-width
// characters are one byte, full-width two); in UTF-8 a character takes the
// columns of its East Asian width, which `width` tells.
class TabStopRule final : public ByteRule {
 public:
  static constexpr int kMostColumns = 64;

  TabStopRule(int every, Encoding encoding, CharWidth width = SystemCharWidth, Width blockWidth = Widest());

  std::uint8_t* Step(RulePart* state, std::uint8_t byte, std::uint8_t* out) const override {
    return StepOn(*state, byte, out);
  }
  std::uint8_t* Finish(RulePart* state, std::uint8_t* out) const override;
  std::uint8_t* PassLiteral(RulePart* state, const std::uint8_t* bytes, std::size_t count,
                            std::uint8_t* out) const override;

  const TabStops& Stops() const { return stops_; }
  Encoding ReadAs() const { return encoding_; }

  // The rule's table: in each state, what it writes and where it goes for
  // each kind of byte, as the column makes it.
  enum Mode : std::uint8_t { kStart, kText, kPending, kLone, kLoneThenBlanks, kModes };
  enum Event : std::uint8_t { kBlank, kBlankToStop, kTab, kLineEnd, kOther, kEvents };
  enum class Held : std::uint8_t { Nothing, Blank, Tab, TwoTabs, Blanks, TabThenBlanks };
  struct StopRow {
    Mode mode;
    Event event;
    Held writes;
    Echo echo;
    Mode next;
  };

  std::uint8_t* StepOn(RulePart& part, std::uint8_t byte, std::uint8_t* out) const;
  // A run of `count` blanks (two or more) read at once, from a state that
  // holds nothing, with stops more than a column apart: the same as their
  // steps one by one.
  std::uint8_t* BlankRun(RulePart& part, std::size_t count, std::uint8_t* out) const;

  // Whether the state holds blanks back, or the start of a character.
  static bool Holds(const RulePart& part) {
    return part.at == kPending || part.at == kLone || part.at == kLoneThenBlanks || part.columns.awaiting != 0;
  }

 private:
  Event Classify(Columns& columns, std::uint8_t byte) const;
  void Advance(Columns& columns, std::uint8_t byte) const;
  std::uint8_t* Apply(RulePart& part, const StopRow& row, std::uint8_t* out) const;

  TabStops stops_;
  Encoding encoding_;
  CharWidth width_;
  std::array<std::array<StopRow, kEvents>, kModes> rows_{};
};

}  // namespace kelbrin
