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

TEST(ParseArguments, TakesTheRulesOptions) {
  const struct {
    std::vector<std::string_view> arguments;
    std::optional<Language> language;
    bool byExtension;
    std::optional<Encoding> encoding;
    int tabStops;
    bool leading;
  } cases[] = {
      {{"--syntax=cpp", "-c"}, Language::Cpp, false, std::nullopt, 0, false},
      {{"--syntax=auto", "--encoding=utf-8", "-t"}, std::nullopt, true, Encoding::Utf8, 0, false},
      {{"--encoding=cp932", "--encoding=auto"}, std::nullopt, false, std::nullopt, 0, false},
      {{"-tT", "4", "a.pas"}, std::nullopt, false, std::nullopt, 4, false},
      {{"-T8", "--leading", "--syntax=pascal"}, Language::Pascal, false, std::nullopt, 8, true},
      {{"--tab-stops=64", "--syntax=java"}, Language::Java, false, std::nullopt, 64, false},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseArguments(c.arguments);
    const auto* request = std::get_if<CliRequest>(&parsed);
    ASSERT_TRUE(request) << c.arguments.front();
    EXPECT_EQ(request->language, c.language) << c.arguments.front();
    EXPECT_EQ(request->languageByExtension, c.byExtension) << c.arguments.front();
    EXPECT_EQ(request->encoding, c.encoding) << c.arguments.front();
    EXPECT_EQ(request->tabStops, c.tabStops) << c.arguments.front();
    EXPECT_EQ(request->leading, c.leading) << c.arguments.front();
  }
  const auto parsed = ParseArguments({"-tT", "4", "a.pas"});
  EXPECT_EQ(std::get<CliRequest>(parsed).files, std::vector<std::string>{"a.pas"});
}

TEST(ParseArguments, RejectsValuesItCannotTake) {
  const std::pair<std::vector<std::string_view>, std::string> cases[] = {
      {{"--syntax=basic"}, "unknown language 'basic' for --syntax (choose c, cpp, java, pascal or auto)"},
      {{"--syntax"}, "option '--syntax' needs a value"},
      {{"--encoding=latin1"}, "unknown encoding 'latin1' for --encoding (choose cp932, utf-8 or auto)"},
      {{"--tab-stops=0"}, "--tab-stops takes a number from 1 to 64, not '0'"},
      {{"-T", "65"}, "--tab-stops takes a number from 1 to 64, not '65'"},
      {{"-T"}, "--tab-stops takes a number from 1 to 64, not ''"},
      {{"--tab-stops=4x"}, "--tab-stops takes a number from 1 to 64, not '4x'"},
      {{"-t3", "-T4"}, "-3 counts blanks and --tab-stops keeps columns: use one or the other"},
  };
  for (const auto& [arguments, message] : cases) {
    const auto parsed = ParseArguments(arguments);
    const auto* error = std::get_if<UsageError>(&parsed);
    ASSERT_TRUE(error) << message;
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
