#include "TabStopRule.h"

#include "BlockPaths.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace kelbrin {
namespace {

using Rule = TabStopRule;
using enum TabStopRule::Mode;
using enum TabStopRule::Event;
using Held = TabStopRule::Held;

// The mode is what the blanks read so far leave to decide; the column and the
// number of pending blanks are data beside it, and only tell which event a
// blank is (one that reaches a stop or not) and how many blanks a row writes.
//   kStart           nothing pending, at a stop after a line start or a tab
//   kText            nothing pending, after another byte
//   kPending         blanks pending since the run began
//   kLone            one blank pending that reached a stop right after another byte
//   kLoneThenBlanks  that blank, and blanks after it pending
// A run reaching a stop becomes a tab there, but a single blank reaching it
// after another byte stays a blank unless more blanks follow: then it is a
// tab of its own.
constexpr Rule::StopRow kRows[] = {
    // mode           event          writes              echo         next
    {kStart,          kBlank,        Held::Nothing,      Echo::Drop,  kPending},
    {kStart,          kBlankToStop,  Held::Tab,          Echo::Drop,  kStart},
    {kStart,          kTab,          Held::Nothing,      Echo::Write, kStart},
    {kStart,          kLineEnd,      Held::Nothing,      Echo::Write, kStart},
    {kStart,          kOther,        Held::Nothing,      Echo::Write, kText},
    {kText,           kBlank,        Held::Nothing,      Echo::Drop,  kPending},
    {kText,           kBlankToStop,  Held::Nothing,      Echo::Drop,  kLone},
    {kText,           kTab,          Held::Nothing,      Echo::Write, kStart},
    {kText,           kLineEnd,      Held::Nothing,      Echo::Write, kStart},
    {kText,           kOther,        Held::Nothing,      Echo::Write, kText},
    {kPending,        kBlank,        Held::Nothing,      Echo::Drop,  kPending},
    {kPending,        kBlankToStop,  Held::Tab,          Echo::Drop,  kStart},
    {kPending,        kTab,          Held::Nothing,      Echo::Write, kStart},
    {kPending,        kLineEnd,      Held::Blanks,       Echo::Write, kStart},
    {kPending,        kOther,        Held::Blanks,       Echo::Write, kText},
    {kLone,           kBlank,        Held::Nothing,      Echo::Drop,  kLoneThenBlanks},
    {kLone,           kBlankToStop,  Held::TwoTabs,      Echo::Drop,  kStart},
    {kLone,           kTab,          Held::Tab,          Echo::Write, kStart},
    {kLone,           kLineEnd,      Held::Blank,        Echo::Write, kStart},
    {kLone,           kOther,        Held::Blank,        Echo::Write, kText},
    {kLoneThenBlanks, kBlank,        Held::Nothing,      Echo::Drop,  kLoneThenBlanks},
    {kLoneThenBlanks, kBlankToStop,  Held::TwoTabs,      Echo::Drop,  kStart},
    {kLoneThenBlanks, kTab,          Held::Tab,          Echo::Write, kStart},
    {kLoneThenBlanks, kLineEnd,      Held::TabThenBlanks, Echo::Write, kStart},
    {kLoneThenBlanks, kOther,        Held::TabThenBlanks, Echo::Write, kText},
};

// Blanks and tabs in one fixed copy each.
std::uint8_t* WriteRun(std::uint8_t* out, std::uint8_t byte, std::size_t count) {
  std::memset(out, byte, Rule::kMostColumns);
  return out + count;
}

// A character whose bytes stopped coming counts one column.
void CloseCharacter(Columns& columns) {
  if (columns.awaiting == 0) return;
  columns.awaiting = 0;
  ++columns.column;
}

// A run of `count` blanks (two or more) from `column`, in a state that holds
// nothing, followed by a byte that is neither a blank nor a tab: whatever the
// lone blank rule would hold back, more blanks follow it and no tab does, so
// only the stops crossed count. The run becomes a tab for each of them and
// the blanks after the last, or stays as read if it crosses none.
std::uint8_t* SettleRun(const TabStops& stops, std::uint64_t& column, std::size_t count, std::uint8_t* out) {
  const std::uint64_t reach = column + count;
  const std::uint64_t crossed = stops.Stretches(reach) - stops.Stretches(column);
  out = WriteRun(out, '\t', static_cast<std::size_t>(crossed));
  out = WriteRun(out, ' ', crossed == 0 ? count : static_cast<std::size_t>(stops.InStretch(reach)));
  column = reach;
  return out;
}

// The bits below `end` (end <= 64).
std::uint64_t BitsBelow(std::size_t end) { return end >= 64 ? ~std::uint64_t{0} : ~BitsFrom(end); }

// The rule over whole blocks. Bytes that are neither blanks, tabs nor
// backspaces (in UTF-8, nor bytes of multi-byte characters) are written as
// read, and so is a single blank before such a byte where stops are more than
// a column apart: while nothing is held, a line end only starts the next
// line's columns. So the kernel keeps the column where it last stopped (the
// anchor) and works out the column of the next byte it must stop at from the
// bytes between: their count, or from the last line end among them. Tabs and
// runs of blanks settled within the chunk are written at once; the table's
// steps take the rest, and the bytes after them while blanks are held.
struct TabStopBlocks {
  // Where the bytes since the anchor, all written as read, leave the rule.
  struct Anchor {
    std::size_t at = 0;  // in the chunk
    std::uint64_t column = 0;
    std::uint8_t mode = TabStopRule::kStart;

    // The line ends from the anchor up to `pos` (the anchor may be the
    // chunk's end).
    std::uint64_t EndsBefore(std::size_t pos, std::uint64_t lineEnds) const {
      return lineEnds & BitsBelow(pos) & ~BitsBelow(at);
    }
    std::uint64_t ColumnAt(std::size_t pos, std::uint64_t lineEnds) const {
      const std::uint64_t ends = EndsBefore(pos, lineEnds);
      const std::size_t afterLastEnd = 64 - static_cast<std::size_t>(std::countl_zero(ends));
      return ends != 0 ? pos - afterLastEnd : column + (pos - at);
    }
    // The whole state at `pos`, for the table's steps.
    void Into(RulePart& part, const std::uint8_t* chunk, std::size_t pos, std::uint64_t lineEnds) const {
      if (EndsBefore(pos, lineEnds) != 0) part.columns = {};
      part.columns.column = ColumnAt(pos, lineEnds);
      const bool moved = pos > at;
      const bool lineStart = moved && (chunk[pos - 1] == '\r' || chunk[pos - 1] == '\n');
      part.at = lineStart ? std::uint8_t{TabStopRule::kStart} : moved ? std::uint8_t{TabStopRule::kText} : mode;
    }
    static Anchor From(const RulePart& part, std::size_t pos) { return {pos, part.columns.column, part.at}; }
  };

  template <class Chunk>
  static std::uint8_t* Run(const ByteRule& base, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                           std::uint8_t* out) {
    const auto& rule = static_cast<const TabStopRule&>(base);
    const TabStops stops = rule.Stops();
    const bool utf8 = rule.ReadAs() == Encoding::Utf8;
    const bool everyBlank = stops.every == 1;
    RulePart part = *state;
    bool held = TabStopRule::Holds(part);
    Anchor anchor = Anchor::From(part, 0);
    ForEachChunk(bytes, count, [&](const std::uint8_t* chunk, std::size_t valid, bool last) {
      const Chunk lanes(chunk);
      const std::uint64_t blanks = lanes.Mask(std::uint8_t{' '});
      const std::uint64_t tabs = lanes.Mask(std::uint8_t{'\t'});
      const std::uint64_t lineEnds = lanes.Mask(std::uint8_t{'\r'}, std::uint8_t{'\n'});
      std::uint64_t events = tabs | lanes.Mask(std::uint8_t{'\b'});
      if (utf8) events |= lanes.MaskHigh();
      if (everyBlank) {
        events |= blanks;
      } else {
        const std::uint8_t next = chunk[valid];
        const bool blankOrTabNext = last || next == ' ' || next == '\t';
        events |= blanks & ((blanks | tabs) >> 1 | std::uint64_t{blankOrTabNext} << (valid - 1));
      }
      anchor.at = 0;
      std::size_t pos = 0;
      while (pos < valid) {
        if (held) {
          out = rule.StepOn(part, chunk[pos++], out);
          held = TabStopRule::Holds(part);
          if (!held) anchor = Anchor::From(part, pos);
          continue;
        }
        const std::uint64_t ahead = events & BitsFrom(pos);
        const std::size_t stop = ahead == 0 ? valid : std::min<std::size_t>(std::countr_zero(ahead), valid);
        out = CopyPlain(out, chunk + pos, stop - pos);
        pos = stop;
        if (pos == valid) break;
        const std::uint8_t byte = chunk[pos];
        if (byte == '\t') {
          *out++ = byte;
          anchor = {pos + 1, stops.NextStop(anchor.ColumnAt(pos, lineEnds)), TabStopRule::kStart};
          ++pos;
          continue;
        }
        const auto run = everyBlank ? 0 : static_cast<std::size_t>(std::countr_one(blanks >> pos));
        if (run >= 2 && pos + run < valid && chunk[pos + run] != '\t') {
          std::uint64_t column = anchor.ColumnAt(pos, lineEnds);
          out = SettleRun(stops, column, run, out);
          pos += run;
          anchor = {pos, column, TabStopRule::kText};
          continue;
        }
        anchor.Into(part, chunk, pos, lineEnds);
        if (run >= 2) {
          out = rule.BlankRun(part, run, out);
          pos += run;
        } else {
          out = rule.StepOn(part, chunk[pos++], out);
        }
        held = TabStopRule::Holds(part);
        if (!held) anchor = Anchor::From(part, pos);
      }
      if (!held) {
        anchor.Into(part, chunk, valid, lineEnds);
        anchor = Anchor::From(part, 0);
      }
    });
    *state = part;
    return out;
  }
};

}  // namespace

TabStops::TabStops(int columns)
    : every(static_cast<std::uint64_t>(columns)),
      powerOfTwo((columns & (columns - 1)) == 0),
      shift(std::countr_zero(static_cast<unsigned>(columns))) {}

TabStopRule::TabStopRule(int every, Encoding encoding, CharWidth width, Width blockWidth)
    : ByteRule(BlockPathFor<TabStopBlocks>(blockWidth), 1, static_cast<std::size_t>(every) + 1),
      stops_(every),
      encoding_(encoding),
      width_(width) {
  if (every < 1 || every > kMostColumns) throw std::logic_error("tab stops out of range");
  for (const StopRow& row : kRows) rows_[row.mode][row.event] = row;
  for (const std::uint8_t lineEnd : {std::uint8_t{'\r'}, std::uint8_t{'\n'}}) {
    resets_[lineEnd] = true;
    writesLast_[lineEnd] = true;
  }
}

void TabStopRule::Advance(Columns& columns, std::uint8_t byte) const {
  if (encoding_ == Encoding::Cp932 || byte < 0x80) {
    CloseCharacter(columns);
    ++columns.column;
    return;
  }
  if (byte < 0xC0) {  // a continuation byte
    if (columns.awaiting == 0) {
      ++columns.column;
      return;
    }
    columns.codePoint = columns.codePoint << 6 | (byte & 0x3Fu);
    if (--columns.awaiting == 0) {
      const int width = width_(columns.codePoint);
      columns.column += static_cast<std::uint64_t>(width < 0 ? 1 : width);
    }
    return;
  }
  CloseCharacter(columns);
  if (byte >= 0xC2 && byte <= 0xF4) {
    columns.awaiting = byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
    columns.codePoint = byte & (0x7Fu >> (columns.awaiting + 1));
  } else {
    ++columns.column;  // no byte of UTF-8
  }
}

TabStopRule::Event TabStopRule::Classify(Columns& columns, std::uint8_t byte) const {
  switch (byte) {
    case ' ':
      CloseCharacter(columns);
      ++columns.column;
      return stops_.InStretch(columns.column) == 0 ? kBlankToStop : kBlank;
    case '\t':
      CloseCharacter(columns);
      columns.column = stops_.NextStop(columns.column);
      return kTab;
    case '\r':
    case '\n':
      return kLineEnd;
    case '\b':
      // As unexpand takes it: a column back.
      CloseCharacter(columns);
      columns.column -= columns.column > 0;
      return kOther;
    default:
      Advance(columns, byte);
      return kOther;
  }
}

std::uint8_t* TabStopRule::Apply(RulePart& part, const StopRow& row, std::uint8_t* out) const {
  Columns& columns = part.columns;
  switch (row.writes) {
    case Held::Nothing: break;
    case Held::Blank: *out++ = ' '; break;
    case Held::Tab: *out++ = '\t'; break;
    case Held::TwoTabs: out = WriteRun(out, '\t', 2); break;
    case Held::Blanks: out = WriteRun(out, ' ', columns.pending); break;
    case Held::TabThenBlanks:
      *out++ = '\t';
      out = WriteRun(out, ' ', columns.pending);
      break;
  }
  const bool holdsBlanks = row.next == kPending || row.next == kLoneThenBlanks;
  columns.pending = !holdsBlanks ? 0 : row.next == part.at ? static_cast<std::uint8_t>(columns.pending + 1) : 1;
  part.at = row.next;
  return out;
}

std::uint8_t* TabStopRule::StepOn(RulePart& part, std::uint8_t byte, std::uint8_t* out) const {
  const Event event = Classify(part.columns, byte);
  const StopRow& row = rows_[part.at][event];
  out = Apply(part, row, out);
  if (row.echo == Echo::Write) *out++ = byte;
  if (event == kLineEnd) part.columns = {};
  return out;
}

std::uint8_t* TabStopRule::BlankRun(RulePart& part, std::size_t count, std::uint8_t* out) const {
  Columns& columns = part.columns;
  const std::uint64_t every = stops_.every;
  const std::uint64_t reach = columns.column + count;
  const std::uint64_t firstStop = stops_.NextStop(columns.column);
  const auto hold = [&](Mode mode, std::uint64_t pending) {
    part.at = mode;
    columns.pending = static_cast<std::uint8_t>(pending);
    columns.column = reach;
    return out;
  };
  if (reach < firstStop) return hold(kPending, count);
  std::uint64_t from = firstStop;
  if (part.at == kText && firstStop - columns.column == 1) {
    // The first blank is a lone one at the stop: a tab of its own once the
    // run reaches the next stop.
    from = firstStop + every;
    if (reach < from) return hold(kLoneThenBlanks, reach - firstStop);
    out = WriteRun(out, '\t', 2);
  } else {
    *out++ = '\t';
  }
  const std::uint64_t left = reach - from;
  out = WriteRun(out, '\t', static_cast<std::size_t>(stops_.Stretches(left)));
  const std::uint64_t rest = stops_.InStretch(left);
  return hold(rest == 0 ? kStart : kPending, rest);
}

std::uint8_t* TabStopRule::PassLiteral(RulePart* state, const std::uint8_t* bytes, std::size_t count,
                                       std::uint8_t* out) const {
  // Nothing is held back in a literal, so every step writes its byte as read.
  std::array<std::uint8_t, 2 * (kMaxHeld + kBlockSlack)> ignored;
  for (std::size_t i = 0; i < count; ++i) StepOn(*state, LiteralStandIn(bytes[i]), ignored.data());
  std::memcpy(out, bytes, count);
  return out + count;
}


std::uint8_t* TabStopRule::Finish(RulePart* state, std::uint8_t* out) const {
  out = Apply(*state, rows_[state->at][kOther], out);
  *state = RulePart{};
  return out;
}

}  // namespace kelbrin
