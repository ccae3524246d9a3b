#include <gtest/gtest.h>

#include "SplitTarget.h"

namespace kelbrin::test {
namespace {

// Code page 932 lists its lead bytes as these ranges, then an empty pair.
const std::uint8_t kCp932Ranges[] = {0x81, 0x9f, 0xe0, 0xfc, 0, 0, 0x20, 0x7e};

const PathRules kWindows932{"\\:/", LeadBytesFromRanges(kCp932Ranges)};
const PathRules kWindowsSingleByte{"\\:/", {}};
const PathRules kPosix{"/", {}};

// ソース and 表 in code page 932; ソ and 表 end in the backslash byte.
#define SOURCE "\x83\x5c\x81\x5b\x83\x58"
#define TABLE "\x95\x5c"

struct Case {
  const PathRules* rules;
  const char* path;
  const char* dir;
  const char* name;
};

const Case kCases[] = {
    {&kWindows932, "C:\\work\\a.pas", "C:\\work\\", "a.pas"},
    {&kWindows932, "a.pas", "", "a.pas"},
    {&kWindows932, "sub\\a.pas", "sub\\", "a.pas"},
    {&kWindows932, "C:a.pas", "C:", "a.pas"},
    {&kWindows932, "C:\\work\\", "C:\\work\\", ""},
    {&kWindows932, "C:/work/a.pas", "C:/work/", "a.pas"},
    {&kWindows932, "C:\\work/sub\\a.pas", "C:\\work/sub\\", "a.pas"},
    {&kWindows932, "", "", ""},
    {&kWindows932, "C:\\" SOURCE "\\" TABLE ".pas", "C:\\" SOURCE "\\", TABLE ".pas"},
    {&kWindows932, "C:\\dir\\" SOURCE, "C:\\dir\\", SOURCE},
    {&kWindows932, TABLE, "", TABLE},
    // An even run of lead bytes before the backslash: it is a separator.
    {&kWindows932, "\x95\x95\\a", "\x95\x95\\", "a"},
    // Without double-byte support every backslash byte separates.
    {&kWindowsSingleByte, "C:\\" SOURCE "\\" TABLE ".pas", "C:\\" SOURCE "\\\x95\\", ".pas"},
    {&kPosix, "/home/u/a.pas", "/home/u/", "a.pas"},
    {&kPosix, "dir\\a.pas", "", "dir\\a.pas"},
    {&kPosix, "C:a.pas", "", "C:a.pas"},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.path; }

class SplitTargetTest : public testing::TestWithParam<Case> {};

TEST_P(SplitTargetTest, SplitsAfterTheLastSeparator) {
  const TargetFile target = SplitTarget(GetParam().path, *GetParam().rules);
  EXPECT_EQ(target.TargetDir, GetParam().dir);
  EXPECT_EQ(target.TargetFileName, GetParam().name);
  EXPECT_EQ(target.Path(), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitTargetTest, testing::ValuesIn(kCases));

TEST(LeadBytesFromRanges, StopsAtTheFirstEmptyPair) {
  const LeadByteSet set = LeadBytesFromRanges(kCp932Ranges);
  EXPECT_EQ(set.count(), (0x9fu - 0x81u + 1) + (0xfcu - 0xe0u + 1));
  EXPECT_TRUE(set[0x81] && set[0x9f] && set[0xe0] && set[0xfc]);
  EXPECT_FALSE(set[0x80] || set[0xa0] || set[0xdf] || set[0xfd] || set[0x5c] || set[0x20]);
}

}  // namespace
}  // namespace kelbrin::test
