#include <gtest/gtest.h>

#include <sstream>

#include "CliOptions.h"
#include "FailureText.h"

namespace kelbrin::cli {
namespace {

using Action = CliRequest::Action;
using Arguments = std::vector<std::string_view>;

// A request in one line, so that a case reads as what it expects.
std::string Described(const CliRequest& r) {
  const char* const actions[] = {"rewrite", "help", "version"};
  std::ostringstream text;
  text << actions[static_cast<int>(r.action)];
  const std::pair<bool, const char*> flags[] = {
      {r.selection.commentDelete, "-c"}, {r.selection.spaceToTab, "-t"}, {r.selection.space3, "-3"},
      {r.check, "--check"},              {r.diff, "--diff"},             {r.toStandardOutput, "--stdout"},
      {!r.backups, "--no-backup"},       {r.tidyBackups, "--tidy-backups"},
  };
  for (const auto& [set, name] : flags)
    if (set) text << ' ' << name;
  for (const std::string& file : r.files) text << " [" << file << ']';
  return text.str();
}

std::string Parsed(const Arguments& arguments) {
  const auto parsed = ParseArguments(arguments);
  if (const auto* error = std::get_if<UsageError>(&parsed)) return "error: " + error->message;
  return Described(std::get<CliRequest>(parsed));
}

#ifdef _WIN32
constexpr const char* kSlashQuestion = "help";
#else
constexpr const char* kSlashQuestion = "rewrite [/?]";
#endif

const std::pair<Arguments, std::string> kCases[] = {
    {{"-c"}, "rewrite -c"},
    {{"-ct3", "a.pas"}, "rewrite -c -t -3 [a.pas]"},
    {{"--tabs", "--three", "a", "b"}, "rewrite -t -3 [a] [b]"},
    {{"a.pas", "--comments"}, "rewrite -c [a.pas]"},
    {{"-t", "-"}, "rewrite -t [-]"},
    {{"-t", "--", "-x.pas", "--tabs"}, "rewrite -t [-x.pas] [--tabs]"},
    {{"-3"}, "rewrite -3"},
    {{"--version"}, "version"},
    {{"-c", "--help", "--version"}, "help -c"},
    {{"-h"}, "help"},
    // Any start of a word that names one option only.
    {{"--com", "--tabs", "--th"}, "rewrite -c -t -3"},
    {{"--ta"}, "error: option '--ta' is ambiguous; possibilities: '--tabs' '--tab-stops'"},
    {{"--ch", "--di", "--st", "-c", "x"}, "error: --stdout cannot go with --check or --diff"},
    {{"--check", "--diff", "-t", "a"}, "rewrite -t --check --diff [a]"},
    {{"--stdout", "-c", "a"}, "rewrite -c --stdout [a]"},
    {{"--no-b", "--tidy", "-c", "ComOld_a"}, "rewrite -c --no-backup --tidy-backups [ComOld_a]"},
    {{"--stdout", "--check", "--help"}, "help --check --stdout"},
    {{"/?"}, kSlashQuestion},
    {{"--", "/?"}, "rewrite [/?]"},
    // What cannot be taken, and why.
    {{"-cx"}, "error: unknown option '-x'"},
    {{"--comments", "-qc"}, "error: unknown option '-q'"},
    {{"--commentary"}, "error: unknown option '--commentary'"},
    {{"a", "--tabs=1"}, "error: option '--tabs' doesn't allow an argument"},
    {{"--ch=yes"}, "error: option '--check' doesn't allow an argument"},
    {{"--c"}, "error: option '--c' is ambiguous; possibilities: '--comments' '--check'"},
    {{"--t"}, "error: option '--t' is ambiguous; possibilities: '--tabs' '--three' '--tab-stops' '--tidy-backups'"},
    {{"--stdout", "--diff"}, "error: --stdout cannot go with --check or --diff"},
};

TEST(ParseArguments, ReadsOptionsAndFiles) {
  for (const auto& [arguments, expected] : kCases) {
    EXPECT_EQ(Parsed(arguments), expected) << testing::PrintToString(arguments);
  }
}

// Options with values, as the table takes them: the value is recorded as a
// file named "T=VALUE", and 0 is refused.
const Option kValued[] = {
    {'c', "comments", [](CliRequest& r) { r.selection.commentDelete = true; }},
    {'T', "tab-stops",
     [](CliRequest& r, std::string_view value) {
       r.files.push_back("T=" + std::string(value));
       return value != "0";
     },
     "not 0"},
};

TEST(ParseOptions, TakesValuesInEveryForm) {
  const std::pair<Arguments, std::string> cases[] = {
      {{"-T4"}, "rewrite [T=4]"},
      {{"-T", "4", "a"}, "rewrite [T=4] [a]"},
      {{"--tab-stops=8"}, "rewrite [T=8]"},
      {{"a", "--tab", "8"}, "rewrite [T=8] [a]"},
      {{"-cT2"}, "rewrite -c [T=2]"},
      {{"-T"}, "error: option '-T' requires an argument"},
      {{"--tab-stops"}, "error: option '--tab-stops' requires an argument"},
      {{"--tab-stops=0"}, "error: invalid argument '0' for '--tab-stops' (not 0)"},
      {{"-T0"}, "error: invalid argument '0' for '--tab-stops' (not 0)"},
      {{"--comments=1"}, "error: option '--comments' doesn't allow an argument"},
  };
  for (const auto& [arguments, expected] : cases) {
    CliRequest request;
    const auto error = ParseOptions(kValued, arguments, request);
    EXPECT_EQ(error ? "error: " + error->message : Described(request), expected) << testing::PrintToString(arguments);
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
      {{"--syntax=basic"}, "invalid argument 'basic' for '--syntax' (choose c, cpp, java, pascal or auto)"},
      {{"--syntax"}, "option '--syntax' requires an argument"},
      {{"--encoding=latin1"}, "invalid argument 'latin1' for '--encoding' (choose cp932, utf-8 or auto)"},
      {{"--tab-stops=0"}, "invalid argument '0' for '--tab-stops' (give a number from 1 to 64)"},
      {{"-T", "65"}, "invalid argument '65' for '--tab-stops' (give a number from 1 to 64)"},
      {{"-T"}, "option '-T' requires an argument"},
      {{"--tab-stops=4x"}, "invalid argument '4x' for '--tab-stops' (give a number from 1 to 64)"},
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
