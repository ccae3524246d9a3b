#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>

#include "BlockWalk.h"
#include "RuleState.h"

namespace kelbrin {

// A row that applies to every byte the state's other rows do not name.
inline constexpr int kAnyOtherByte = -1;

// Rows may name a class of bytes instead of one byte. A row for a byte comes
// before a row for its class, and that before the any-other-byte row; where
// two classes of a state hold a byte, the first row names it.
inline constexpr int kDigitByte = -2;  // 0 to 9
inline constexpr int kWordByte = -3;   // letters, _, $, and every byte from 0x80 on
inline constexpr int kLeadByte = -4;   // a lead byte of code page 932: 0x81-0x9F, 0xE0-0xFC
inline constexpr int kTrailByte = -5;  // a trail byte of code page 932: 0x40-0x7E, 0x80-0xFC

// Whether `byte` is of `byteClass` (one of the classes above).
bool InClass(int byteClass, std::uint8_t byte);

// What a rule guarded from literals reads for a byte of one: a blank is read
// as another byte of one column.
constexpr std::uint8_t LiteralStandIn(std::uint8_t byte) { return byte == ' ' ? 'x' : byte; }

// Whether a row writes the byte it read, after its own bytes.
enum class Echo : bool { Drop, Write };

// One row of a byte rule's state table: in `state`, reading `byte` writes
// `writes`, then the byte itself if `echo` says so, and moves to `next`.
// State 0 is the ground state, where a step starts and ends.
struct RuleRow {
  std::uint8_t state;
  int byte;
  std::string_view writes;
  Echo echo;
  std::uint8_t next;
};

// A state that reads every byte its rows do not name as state `as` reads it,
// after writing `writes`: what a lexer's state of one byte's look-ahead does
// when the byte it waited for does not come.
struct Fallback {
  std::uint8_t state;
  std::uint8_t as;
  std::string_view writes;
};

// What a table's steps do with data beyond the state, in the states that keep
// some: called after the step's action with the byte read and the state
// before it; it may change the state the table moves to.
using KeepData = void (*)(RulePart& part, std::uint8_t byte, std::uint8_t before);

// A table as written down: its rows, the fallbacks of its look-ahead states,
// and the states whose steps keep data.
struct RuleTable {
  std::span<const RuleRow> rows;
  std::span<const Fallback> fallbacks = {};
  KeepData keepData = nullptr;
  std::span<const std::uint8_t> keepingStates = {};
};

class ByteRule;

// A rule's way through a whole block: from `state` (the rule's first part),
// it writes from `out` on exactly what the rule's steps write for the `count`
// bytes, and returns the end of it, with the state after them in `state`.
// `out` has room for what the steps write (at most count * kMaxWritten, and
// what the state holds back) and kBlockSlack.
using BlockPath = std::uint8_t* (*)(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes,
                                    std::size_t count, std::uint8_t* out);

// The block path of a rule that has no faster one: its steps, one by one.
std::uint8_t* StepThrough(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                          std::uint8_t* out);

// The block path of a rule that is no table and has no faster one: its
// steps, one by one.
std::uint8_t* StepEach(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                       std::uint8_t* out);

// The block path of two rules chained: the first's block path into a small
// buffer, then the second's, a piece at a time.
std::uint8_t* PipeThrough(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                          std::uint8_t* out);

// A byte rule. Most are one state table, compiled into one action per state
// and byte; rules that are more than a table (two rules piped, a lexer that
// guards another rule, the tab-stop rule) define their own steps.
class ByteRule {
 public:
  // States of one table, and of the small tables that two chained rules are
  // made into when each has at most kSmallStates.
  static constexpr std::size_t kMaxStates = 256;
  static constexpr std::size_t kSmallStates = 4;
  // Bytes one table step writes, two small rules chained included; a block
  // path writes at most this many for each byte, and what its state held.
  static constexpr std::size_t kMaxWritten = 6;
  // Most bytes a state may hold back: the blanks of one tab stop.
  static constexpr std::size_t kMaxHeld = 64;

  // Eight bytes, so that finding one takes a shift rather than a multiply,
  // and writing its bytes one copy.
  struct alignas(8) Action {
    std::array<std::uint8_t, kMaxWritten> bytes;
    std::uint8_t count;
    std::uint8_t next;
  };

  explicit ByteRule(std::span<const RuleRow> rows, BlockPath blockPath = StepThrough);
  explicit ByteRule(const RuleTable& table, BlockPath blockPath = StepThrough);

  // Two small tables as one: what `first` writes for a byte, `second` reads.
  // The state is first's state * kSmallStates + second's. Both must outlive it.
  ByteRule(const ByteRule& first, const ByteRule& second);

  ByteRule(ByteRule&&) = default;
  virtual ~ByteRule() = default;

  // One step: reading `byte` in `state` writes at `out`, which has StepRoom()
  // bytes, and returns the end of what it wrote. The definition of the rule.
  virtual std::uint8_t* Step(RulePart* state, std::uint8_t byte, std::uint8_t* out) const;

  // The input ended in `state`: the rule writes what it holds back, as if a
  // byte followed that writes nothing, and is back in its first state.
  virtual std::uint8_t* Finish(RulePart* state, std::uint8_t* out) const;

  // Bytes of a literal, read for a guard (see GuardedRule): written as read,
  // while the rule reads a stand-in for each blank. `out` has room for them
  // and kBlockSlack.
  virtual std::uint8_t* PassLiteral(RulePart* state, const std::uint8_t* bytes, std::size_t count,
                                    std::uint8_t* out) const;

  std::uint8_t* Block(RulePart* state, const std::uint8_t* bytes, std::size_t count, std::uint8_t* out) const {
    return blockPath_(*this, state, bytes, count, out);
  }

  // A table's action; only for rules that are one table.
  const Action& On(std::uint8_t state, std::uint8_t byte) const { return actions_[state * 256u + byte]; }
  // The actions themselves, 256 for each state, for block paths that take
  // many steps: held in a register, they cost no load of their place.
  const Action* Actions() const { return actions_.get(); }
  const Action& AtEnd(std::uint8_t state) const { return atEnd_[state]; }
  std::size_t States() const { return states_; }
  // Whether some input leads from state 0 to `state`.
  bool Reachable(std::uint8_t state) const { return reachable_[state]; }
  // Whether the table's step in `state` keeps data, which On() does not show.
  bool KeepsData(std::uint8_t state) const { return keepData_ != nullptr && keeping_[state]; }

  // The most bytes one step writes, and the room one step may store into.
  std::size_t MostWritten() const { return mostWritten_; }
  std::size_t StepRoom() const { return std::max(mostWritten_, sizeof(Action)) + kBlockSlack; }

  // The parts of a RuleState the rule uses.
  std::size_t Parts() const { return parts_; }

  // Whether reading `byte` brings the rule back to its first state from every
  // state it can be in, data included: what follows such a byte can be
  // rewritten without knowing what came before it.
  bool Resets(std::uint8_t byte) const { return resets_[byte]; }

  // Whether the rule writes `byte` last whenever it reads it, from every
  // state: a chain's second rule then reads it last too.
  bool WritesLast(std::uint8_t byte) const { return writesLast_[byte]; }

  // The two rules of a chain.
  const ByteRule& First() const { return *first_; }
  const ByteRule& Second() const { return *second_; }

 protected:
  // A rule that is no table: its block path, the parts it uses and the most
  // one step writes. It sets the bytes that reset it itself.
  ByteRule(BlockPath blockPath, std::size_t parts, std::size_t mostWritten);
  // A chain of two rules of any kind, piped.
  ByteRule(const ByteRule& first, const ByteRule& second, BlockPath blockPath, std::size_t parts,
           std::size_t mostWritten);

  std::array<bool, 256> resets_{};
  std::array<bool, 256> writesLast_{};

  // A table's step, with the data its states keep.
  std::uint8_t* TableStep(RulePart& part, std::uint8_t byte, std::uint8_t* out) const;

 private:
  void Allocate(std::size_t states);
  void CompileTable(const RuleTable& table);
  void FindMostWritten();
  void FindResets();
  void FindLiteralPassing();

  friend std::uint8_t* StepThrough(const ByteRule&, RulePart*, const std::uint8_t*, std::size_t, std::uint8_t*);

  std::size_t states_ = 0;
  std::unique_ptr<Action[]> actions_;
  std::unique_ptr<Action[]> atEnd_;
  KeepData keepData_ = nullptr;
  std::array<bool, kMaxStates> keeping_{};
  std::array<bool, kMaxStates> reachable_{};
  // States in which every stand-in for a literal's byte is written as read.
  std::array<bool, kMaxStates> passesLiterals_{};
  BlockPath blockPath_;
  std::size_t mostWritten_ = 0;
  std::size_t parts_ = 1;
  const ByteRule* first_ = nullptr;
  const ByteRule* second_ = nullptr;
};

// Two rules of any kind chained: the second reads what the first writes, a
// piece at a time, with no table of the two; each keeps its own parts of the
// state. Both must outlive it.
class RulePipe final : public ByteRule {
 public:
  RulePipe(const ByteRule& first, const ByteRule& second);

  std::uint8_t* Step(RulePart* state, std::uint8_t byte, std::uint8_t* out) const override;
  std::uint8_t* Finish(RulePart* state, std::uint8_t* out) const override;
};

// Writes what `action` writes at `out`, which has room for the whole action;
// copying all of it costs less than copying `count` bytes.
inline std::uint8_t* Write(const ByteRule::Action& action, std::uint8_t* out) {
  static_assert(sizeof(action) <= kBlockSlack);
  std::memcpy(out, &action, sizeof(action));
  return out + action.count;
}

// A rule at work on one stream: the rule and the state between two bytes.
// It writes to a sink, which lends room for bytes and takes back what was
// written in it:
//   std::uint8_t* Room(std::size_t count)   room for `count` bytes
//   void Commit(std::uint8_t* end)          the bytes up to `end` are written
// Bytes stored past `end` within the room count for nothing.
class RuleRunner {
 public:
  // A block is handed to the block path in pieces of at most this many bytes,
  // so that a sink never lends more than PieceRoom(kPiece).
  static constexpr std::size_t kPiece = 16 * 1024;
  static constexpr std::size_t PieceRoom(std::size_t count) {
    return count * ByteRule::kMaxWritten + ByteRule::kMaxHeld + kBlockSlack;
  }

  explicit RuleRunner(const ByteRule& rule, const RuleState& state = {}) : rule_(rule), state_(state) {}

  // The state between the last byte fed and the next.
  const RuleState& State() const { return state_; }

  // One step of the rule: the definition of what it does.
  template <class Sink>
  void Feed(std::uint8_t byte, Sink& out) {
    out.Commit(rule_.Step(state_.parts.data(), byte, out.Room(rule_.StepRoom())));
  }

  // The same bytes as feeding one byte at a time, whatever the blocks.
  template <class Sink>
  void Feed(const std::uint8_t* bytes, std::size_t count, Sink& out) {
    while (count > 0) {
      const std::size_t piece = std::min(count, kPiece);
      out.Commit(rule_.Block(state_.parts.data(), bytes, piece, out.Room(PieceRoom(piece))));
      bytes += piece;
      count -= piece;
    }
  }

  template <class Sink>
  void Finish(Sink& out) {
    out.Commit(rule_.Finish(state_.parts.data(), out.Room(rule_.StepRoom())));
  }

 private:
  const ByteRule& rule_;
  RuleState state_;
};

}  // namespace kelbrin
