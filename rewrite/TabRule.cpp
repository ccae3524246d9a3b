#include "TabRule.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "BlockPaths.h"

namespace kelbrin {
namespace {

// The state is the number of blanks read and not yet written. The rule keeps
// no column: it counts blanks from wherever a run begins. One or two pending
// blanks are absorbed into a tab that ends their run; three are not.
constexpr std::array<RuleRow, 10> Rows(bool threeBlanks) {
  return {{
      // state  byte read      writes  echo         next
      {0,       ' ',           "",     Echo::Drop,  1},
      {0,       kAnyOtherByte, "",     Echo::Write, 0},
      {1,       ' ',           "",     Echo::Drop,  2},
      {1,       '\t',          "",     Echo::Write, 0},
      {1,       kAnyOtherByte, " ",    Echo::Write, 0},
      {2,       ' ',           "",     Echo::Drop,  3},
      {2,       '\t',          "",     Echo::Write, 0},
      {2,       kAnyOtherByte, "  ",   Echo::Write, 0},
      {3,       ' ',           "\t",   Echo::Drop,  0},
      threeBlanks ? RuleRow{3, kAnyOtherByte, "\t",  Echo::Write, 0}
                  : RuleRow{3, kAnyOtherByte, "   ", Echo::Write, 0},
  }};
}

constexpr auto kRowsFourOnly = Rows(false);
constexpr auto kRowsThreeToo = Rows(true);

constexpr std::uint8_t kBlank = ' ';
constexpr std::uint8_t kTab = '\t';
constexpr std::size_t kBlanksToATab = 4;

// Writes `count` tabs, at most 16, in one fixed copy.
std::uint8_t* WriteTabs(std::uint8_t* out, std::size_t count) {
  static constexpr auto kTabs = [] {
    std::array<std::uint8_t, 16> tabs{};
    tabs.fill(kTab);
    return tabs;
  }();
  std::memcpy(out, kTabs.data(), kTabs.size());
  return out + count;
}

// The bits after `through` (through < 64).
std::uint64_t BitsAfter(std::size_t through) { return ~std::uint64_t{0} << through << 1; }

// The rule over whole blocks. A single blank before an other byte is written
// as read, and so are all bytes but blanks: only runs of blanks that a blank
// or a tab follows need the rule. Such a run writes a tab for every four
// blanks, then what the rule's step writes for the byte after it, with the
// rest of the run pending.
struct TabBlocks {
  template <class Chunk>
  static std::uint8_t* Run(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                           std::uint8_t* out);
};

template <class Chunk>
std::uint8_t* TabBlocks::Run(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                             std::uint8_t* out) {
  std::uint8_t pending = state->at;
  const ByteRule::Action* const actions = rule.Actions();
  ForEachChunk(bytes, count, [&](const std::uint8_t* chunk, std::size_t valid, bool last) {
    const Chunk lanes(chunk);
    const std::uint64_t blanks = lanes.Mask(kBlank);
    // What follows the chunk's last blank is known but at the end of the
    // block; there the blank is taken to start a run, which stays pending.
    const std::uint8_t next = chunk[valid];
    const bool blankOrTabNext = last || next == kBlank || next == kTab;
    const std::uint64_t blankOrTabAfter = (blanks | lanes.Mask(kTab)) >> 1 | std::uint64_t{blankOrTabNext} << (valid - 1);
    std::uint64_t runs = blanks & blankOrTabAfter;
    // Ends the run of blanks at `start`, with `carried` blanks of it pending
    // before the chunk; returns where the chunk goes on, after the byte that
    // ends the run.
    const auto endRun = [&](std::size_t start, std::size_t carried) {
      const auto length = static_cast<std::size_t>(std::countr_one(blanks >> start));
      const std::size_t blanksInRun = carried + length;
      out = WriteTabs(out, blanksInRun / kBlanksToATab);
      const auto left = static_cast<std::uint8_t>(blanksInRun % kBlanksToATab);
      const std::size_t end = start + length;
      if (end == valid) {
        pending = left;
        return valid;
      }
      const ByteRule::Action& action = actions[left * 256u + chunk[end]];
      out = Write(action, out);
      pending = action.next;
      return end + 1;
    };
    std::size_t pos = 0;
    if (pending != 0) {
      pos = endRun(0, pending);
      runs &= BitsAfter(pos - 1);
    }
    while (runs != 0) {
      const auto start = static_cast<std::size_t>(std::countr_zero(runs));
      out = CopyPlain(out, chunk + pos, start - pos);
      pos = endRun(start, 0);
      runs &= BitsAfter(pos - 1);
    }
    out = CopyPlain(out, chunk + pos, valid - pos);
  });
  state->at = pending;
  return out;
}

}  // namespace

const ByteRule& TabRule(bool threeBlanks, Width width) {
  if (threeBlanks) return ForWidth(width, [](Width w) { return ByteRule(kRowsThreeToo, BlockPathFor<TabBlocks>(w)); });
  return ForWidth(width, [](Width w) { return ByteRule(kRowsFourOnly, BlockPathFor<TabBlocks>(w)); });
}

}  // namespace kelbrin
