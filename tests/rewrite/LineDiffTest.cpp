// The unified diff of a file against its rewritten self, in the shape diff -u
// gives and patch reads back, whatever pieces the two come in.
#include <gtest/gtest.h>

#include <string>

#include "LineDiff.h"
#include "Random.h"

namespace kelbrin::test {
namespace {

std::string Diff(std::string_view name, std::string_view old, std::string_view now) {
  LineDiff diff(name);
  diff.Old(old);
  diff.New(now);
  diff.Finish();
  return diff.TakeText();
}

// Lines "l1\n" to "lN\n", with the lines named in `changed` in capitals.
std::string Numbered(int count, std::initializer_list<int> changed = {}) {
  std::string text;
  for (int n = 1; n <= count; ++n)
    text += (std::find(changed.begin(), changed.end(), n) != changed.end() ? "L" : "l") + std::to_string(n) + "\n";
  return text;
}

struct Case {
  const char* what;
  std::string old, now, diff;
};

const Case kCases[] = {
    {"nothing changed", "a\r\nb\n", "a\r\nb\n", ""},
    {"an empty file", "", "", ""},
    {"one line in the middle", Numbered(10), Numbered(10, {5}),
     "--- f\n+++ f\n@@ -2,7 +2,7 @@\n l2\n l3\n l4\n-l5\n+L5\n l6\n l7\n l8\n"},
    {"the first and the last line", Numbered(3), Numbered(3, {1, 3}),
     "--- f\n+++ f\n@@ -1,3 +1,3 @@\n-l1\n+L1\n l2\n-l3\n+L3\n"},
    {"a run of changed lines: all removed, then all added", Numbered(3), Numbered(3, {1, 2}),
     "--- f\n+++ f\n@@ -1,3 +1,3 @@\n-l1\n-l2\n+L1\n+L2\n l3\n"},
    {"six lines apart: one hunk", Numbered(12), Numbered(12, {2, 9}),
     "--- f\n+++ f\n@@ -1,12 +1,12 @@\n l1\n-l2\n+L2\n l3\n l4\n l5\n l6\n l7\n l8\n-l9\n+L9\n l10\n l11\n l12\n"},
    {"seven lines apart: two hunks", Numbered(12), Numbered(12, {2, 10}),
     "--- f\n+++ f\n@@ -1,5 +1,5 @@\n l1\n-l2\n+L2\n l3\n l4\n l5\n"
     "@@ -7,6 +7,6 @@\n l7\n l8\n l9\n-l10\n+L10\n l11\n l12\n"},
    {"CR LF lines keep their CR", "a // c\r\nb\r\n", "a \r\nb\r\n",
     "--- f\n+++ f\n@@ -1,2 +1,2 @@\n-a // c\r\n+a \r\n b\r\n"},
    {"CR-only lines are one line", "a // c\rb\r", "a \rb\r",
     "--- f\n+++ f\n@@ -1 +1 @@\n-a // c\rb\r\n\\ No newline at end of file\n+a \rb\r\n\\ No newline at end of file\n"},
    {"a last line without its end, changed", "a\nb // c", "a\nb ",
     "--- f\n+++ f\n@@ -1,2 +1,2 @@\n a\n-b // c\n\\ No newline at end of file\n+b \n\\ No newline at end of file\n"},
    {"a last line without its end, as context", "x // c\ny", "x \ny",
     "--- f\n+++ f\n@@ -1,2 +1,2 @@\n-x // c\n+x \n y\n\\ No newline at end of file\n"},
    {"a last line without its end, gone", "a\n// x", "a\n",
     "--- f\n+++ f\n@@ -1,2 +1 @@\n a\n-// x\n\\ No newline at end of file\n"},
    {"the only line, gone", "// x", "", "--- f\n+++ f\n@@ -1 +0,0 @@\n-// x\n\\ No newline at end of file\n"},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class LineDiffTest : public testing::TestWithParam<Case> {};

TEST_P(LineDiffTest, HunksOverTheLinesThatDiffer) {
  EXPECT_EQ(Diff("f", GetParam().old, GetParam().now), GetParam().diff);
}

TEST_P(LineDiffTest, TheSameInAnyPieces) {
  const Case& c = GetParam();
  Random random(5);
  for (int run = 0; run < 50; ++run) {
    LineDiff diff("f");
    std::string text;
    std::string_view old = c.old, now = c.now;
    while (!old.empty() || !now.empty()) {
      const std::size_t oldPiece = std::min<std::size_t>(random.Below(4), old.size());
      const std::size_t newPiece = std::min<std::size_t>(random.Below(4), now.size());
      diff.Old(old.substr(0, oldPiece));
      diff.New(now.substr(0, newPiece));
      old.remove_prefix(oldPiece);
      now.remove_prefix(newPiece);
      text += diff.TakeText();
    }
    diff.Finish();
    EXPECT_EQ(diff.Differs(), !c.diff.empty());
    ASSERT_EQ(text + diff.TakeText(), c.diff) << "run " << run;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, LineDiffTest, testing::ValuesIn(kCases));

TEST(LineDiff, QuotesNamesAsDiffDoes) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"src/a.pas", "src/a.pas"},         {"a b.pas", "\"a b.pas\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""}, {"back\\slash", "\"back\\\\slash\""},
      {"tab\there", "\"tab\\there\""},    {"bell\a", "\"bell\\007\""},
      {"ソース.pas", "ソース.pas"},
  };
  for (const auto& [name, shown] : cases) {
    const std::string header = "--- " + std::string(shown) + "\n+++ " + std::string(shown) + "\n";
    EXPECT_TRUE(Diff(name, "a\n", "b\n").starts_with(header)) << name;
  }
}

}  // namespace
}  // namespace kelbrin::test
