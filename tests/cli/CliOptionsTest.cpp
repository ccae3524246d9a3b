#include <gtest/gtest.h>

#include "CliOptions.h"
#include "FailureText.h"

namespace kelbrin::cli {
namespace {

using Action = CliRequest::Action;

struct Case {
  std::vector<std::string_view> arguments;
  Action action;
  bool comments, tabs, three;
  std::vector<std::string> files;
};

const Case kCases[] = {
    {{"-c"}, Action::Rewrite, true, false, false, {}},
    {{"-ct3", "a.pas"}, Action::Rewrite, true, true, true, {"a.pas"}},
    {{"--tabs", "--three", "a", "b"}, Action::Rewrite, false, true, true, {"a", "b"}},
    {{"a.pas", "--comments"}, Action::Rewrite, true, false, false, {"a.pas"}},
    {{"-t", "-"}, Action::Rewrite, false, true, false, {"-"}},
    {{"-t", "--", "-x.pas", "--tabs"}, Action::Rewrite, false, true, false, {"-x.pas", "--tabs"}},
    {{"-3"}, Action::Rewrite, false, false, true, {}},
    {{"--version"}, Action::ShowVersion, false, false, false, {}},
    {{"-c", "--help", "--version"}, Action::ShowHelp, true, false, false, {}},
    {{"-h"}, Action::ShowHelp, false, false, false, {}},
};

void PrintTo(const Case& c, std::ostream* os) {
  for (std::string_view argument : c.arguments) *os << argument << ' ';
}

class ParseArgumentsTest : public testing::TestWithParam<Case> {};

TEST_P(ParseArgumentsTest, ReadsOptionsAndFiles) {
  const auto parsed = ParseArguments(GetParam().arguments);
  const auto* request = std::get_if<CliRequest>(&parsed);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->action, GetParam().action);
  EXPECT_EQ(request->selection.commentDelete, GetParam().comments);
  EXPECT_EQ(request->selection.spaceToTab, GetParam().tabs);
  EXPECT_EQ(request->selection.space3, GetParam().three);
  EXPECT_EQ(request->files, GetParam().files);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseArgumentsTest, testing::ValuesIn(kCases));

TEST(ParseArguments, RejectsUnknownOptionsByName) {
  const std::pair<std::vector<std::string_view>, std::string> cases[] = {
      {{"-cx"}, "unknown option '-x'"},
      {{"--comment"}, "unknown option '--comment'"},
      {{"a", "--tabs=1"}, "unknown option '--tabs=1'"},
  };
  for (const auto& [arguments, message] : cases) {
    const auto parsed = ParseArguments(arguments);
    const auto* error = std::get_if<UsageError>(&parsed);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, message);
  }
}

TEST(FailureLine, SaysWhetherTheFileIsUnchangedOrWhereItsContentIs) {
  EXPECT_EQ(FailureLine({PassKind::CommentDelete, "d/x.pas", FailureReason::DiskFull, 28, true, ""}),
            "d/x.pas: disk full; file unchanged");
  EXPECT_EQ(FailureLine({PassKind::SpaceToTab, "x.pas", FailureReason::AccessDenied, 13, false, "TabOld_x.pas"}),
            "x.pas: permission denied; the original is kept as TabOld_x.pas");
}

}  // namespace
}  // namespace kelbrin::cli
