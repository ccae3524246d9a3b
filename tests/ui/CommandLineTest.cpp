#include <gtest/gtest.h>

#include "CommandLine.h"

namespace kelbrin::ui {
namespace {

// ソース and 表 in code page 932: both end in the backslash byte.
#define SOURCE "\x83\x5c\x81\x5b\x83\x58"
#define TABLE "\x95\x5c"

struct Case {
  const char* line;
  std::vector<std::string> arguments;
};

const Case kCases[] = {
    {"", {}},
    {" \t ", {}},
    {"kelbrin.exe", {"kelbrin.exe"}},
    {"  kelbrin.exe  a.pas ", {"kelbrin.exe", "a.pas"}},
    {"k.exe a.pas b.pas", {"k.exe", "a.pas", "b.pas"}},
    {"\"C:\\Program Files\\k.exe\" \"C:\\my docs\\a b.pas\" x",
     {"C:\\Program Files\\k.exe", "C:\\my docs\\a b.pas", "x"}},
    // Control bytes separate like blanks.
    {"k.exe\ta.pas\x01" "b\x1f" "c\x20" "d", {"k.exe", "a.pas", "b", "c", "d"}},
    // Inside quotes they belong to the argument.
    {"k.exe \"a\tb\x01" "c\"", {"k.exe", "a\tb\x01" "c"}},
    // Empty pairs at the start of an argument are skipped, repeatedly.
    {"k.exe \"\"a.pas", {"k.exe", "a.pas"}},
    {"k.exe \"\"\"\"a.pas", {"k.exe", "a.pas"}},
    {"k.exe \"\" \"\" a.pas", {"k.exe", "a.pas"}},
    {"k.exe \"\"", {"k.exe"}},
    // Elsewhere a pair is an empty stretch.
    {"k.exe a\"\"b", {"k.exe", "ab"}},
    // A doubled quote inside a stretch closes it and opens a new one.
    {"k.exe \"a\"\"b c\"", {"k.exe", "ab c"}},
    {"k.exe \"a\"b \"c d\"e", {"k.exe", "ab", "c de"}},
    // An open stretch runs to the end.
    {"k.exe \"open to the end ", {"k.exe", "open to the end "}},
    // The backslash escapes nothing.
    {"k.exe a\\\"b c\" d", {"k.exe", "a\\b c", "d"}},
    {"k.exe C:\\dir\\ x", {"k.exe", "C:\\dir\\", "x"}},
    // Code-page 932 bytes pass through untouched.
    {"k.exe \"C:\\" SOURCE "\\" TABLE ".pas\" second", {"k.exe", "C:\\" SOURCE "\\" TABLE ".pas", "second"}},
    {"k.exe " TABLE "\\" TABLE, {"k.exe", TABLE "\\" TABLE}},
};

void PrintTo(const Case& c, std::ostream* os) { *os << testing::PrintToString(std::string(c.line)); }

class SplitCommandLineTest : public testing::TestWithParam<Case> {};

TEST_P(SplitCommandLineTest, FollowsTheSplitRule) {
  EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitCommandLineTest, testing::ValuesIn(kCases));

TEST(FirstArgument, IsTheOneAfterTheProgramsName) {
  EXPECT_EQ(FirstArgument("k.exe \"a b.pas\" c.pas"), "a b.pas");
  EXPECT_EQ(FirstArgument("\"k k.exe\" \"\" x"), "x");
  EXPECT_EQ(FirstArgument("k.exe"), std::nullopt);
  EXPECT_EQ(FirstArgument("k.exe \"\"  "), std::nullopt);
  EXPECT_EQ(FirstArgument(""), std::nullopt);
}

}  // namespace
}  // namespace kelbrin::ui
