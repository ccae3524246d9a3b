#include "TabRule.h"

#include <array>

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

}  // namespace

const ByteRule& TabRule(bool threeBlanks) {
  static const ByteRule fourOnly(kRowsFourOnly);
  static const ByteRule threeToo(kRowsThreeToo);
  return threeBlanks ? threeToo : fourOnly;
}

}  // namespace kelbrin
