#include "CliOptions.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace kelbrin::cli {
namespace {

using Action = CliRequest::Action;

bool TakeSyntax(CliRequest& request, std::string_view value) {
  constexpr std::pair<std::string_view, Language> kNames[] = {
      {"c", Language::C}, {"cpp", Language::Cpp}, {"java", Language::Java}, {"pascal", Language::Pascal}};
  request.languageByExtension = value == "auto";
  request.language.reset();
  for (const auto& [name, language] : kNames)
    if (value == name) request.language = language;
  return request.language || request.languageByExtension;
}

bool TakeEncoding(CliRequest& request, std::string_view value) {
  if (value == "cp932") {
    request.encoding = Encoding::Cp932;
  } else if (value == "utf-8") {
    request.encoding = Encoding::Utf8;
  } else if (value == "auto") {
    request.encoding.reset();
  } else {
    return false;
  }
  return true;
}

bool TakeTabStops(CliRequest& request, std::string_view value) {
  int stops = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), stops);
  if (error != std::errc{} || end != value.data() + value.size() || stops < 1 || stops > 64) return false;
  request.tabStops = stops;
  return true;
}

constexpr Option kOptions[] = {
    {'c', "comments", [](CliRequest& r) { r.selection.commentDelete = true; }},
    {'t', "tabs", [](CliRequest& r) { r.selection.spaceToTab = true; }},
    {'3', "three", [](CliRequest& r) { r.selection.space3 = true; }},
    {'T', "tab-stops", TakeTabStops, "give a number from 1 to 64"},
    {'\0', "leading", [](CliRequest& r) { r.leading = true; }},
    {'\0', "syntax", TakeSyntax, "choose c, cpp, java, pascal or auto"},
    {'\0', "encoding", TakeEncoding, "choose cp932, utf-8 or auto"},
    {'\0', "check", [](CliRequest& r) { r.check = true; }},
    {'\0', "diff", [](CliRequest& r) { r.diff = true; }},
    {'\0', "stdout", [](CliRequest& r) { r.toStandardOutput = true; }},
    {'\0', "no-backup", [](CliRequest& r) { r.backups = false; }},
    {'\0', "tidy-backups", [](CliRequest& r) { r.tidyBackups = true; }},
    {'h', "help", [](CliRequest& r) { r.action = Action::ShowHelp; }},
    {'\0', "version", [](CliRequest& r) { r.action = r.action == Action::ShowHelp ? r.action : Action::ShowVersion; }},
};

// The Windows way of asking for help, before any `--`.
bool AsksForHelpTheWindowsWay(const std::vector<std::string_view>& arguments) {
#ifdef _WIN32
  const auto end = std::find(arguments.begin(), arguments.end(), "--");
  return std::find(arguments.begin(), end, "/?") != end;
#else
  (void)arguments;
  return false;
#endif
}

// Options that cannot go together, or an option that says nothing alone.
std::optional<UsageError> Mismatch(const CliRequest& request) {
  if (request.action != Action::Rewrite) return std::nullopt;
  if (request.toStandardOutput && (request.check || request.diff))
    return UsageError{"--stdout cannot go with --check or --diff"};
  if (request.tabStops > 0 && request.selection.space3)
    return UsageError{"-3 counts blanks and --tab-stops keeps columns: use one or the other"};
  return std::nullopt;
}

}  // namespace

const char* const kUsage =
    "Usage: kelbrin-cli [OPTION]... [FILE]...\n"
    "Tidy source files: remove // comments and turn runs of blanks into tabs.\n"
    "\n"
    "  -c, --comments       remove every // comment up to the end of its line\n"
    "  -t, --tabs           turn every four blanks in a row into a tab\n"
    "  -3, --three          with -t, turn three blanks left at the end of a run into a tab too\n"
    "  -T, --tab-stops=N    with -t, use tab stops every N columns (1 to 64), keeping every\n"
    "                       character in its column, as `unexpand -a -t N` does\n"
    "      --leading        with -t, change only the blanks and tabs that begin a line\n"
    "      --syntax=LANG    know the language: c, cpp, java, pascal, or auto (by each FILE's\n"
    "                       extension); comments are removed only where the language has them,\n"
    "                       and no literal (string, character, ...) is changed\n"
    "      --encoding=ENC   how --syntax and --tab-stops read characters: cp932, utf-8, or auto\n"
    "                       (the default): UTF-8 for a file that is valid UTF-8, code page 932\n"
    "                       otherwise; standard input cannot be read twice, so it is judged by\n"
    "                       its first 512 KiB\n"
    "      --check          change nothing; name every FILE that would change\n"
    "      --diff           change nothing; show the changes as a unified diff, for patch -p0\n"
    "      --stdout         change nothing; write every FILE tidied to standard output\n"
    "      --no-backup      keep no copy of a FILE as it was\n"
    "      --tidy-backups   tidy a FILE named ComOld_... or TabOld_... too\n"
    "  -h, --help           show this help and exit (on Windows also /?)\n"
    "      --version        show the version and exit\n"
    "\n"
    "Each FILE is rewritten in place, first without comments, then with tabs;\n"
    "the file as it was before each pass is kept beside it as ComOld_FILE and\n"
    "TabOld_FILE (or ComOld_FILE (2) and so on when that name is taken).\n"
    "A FILE that neither pass would change is left alone; a FILE named ComOld_...\n"
    "or TabOld_... is such a copy and is skipped.\n"
    "Without FILE, or with FILE -, standard input is rewritten to standard output.\n"
    "A long option may be shortened as long as it stays unambiguous (--com).\n"
    "\n"
    "Exit status: 0 when every FILE is done, 1 when one failed, 2 for a usage error;\n"
    "with --check, 0 when nothing would change, 1 when something would, 2 for a\n"
    "usage error or a FILE that cannot be read.\n";

std::variant<CliRequest, UsageError> ParseArguments(const std::vector<std::string_view>& arguments) {
  CliRequest request;
  if (AsksForHelpTheWindowsWay(arguments)) {
    request.action = Action::ShowHelp;
    return request;
  }
  if (auto error = ParseOptions(kOptions, arguments, request)) return *error;
  if (auto error = Mismatch(request)) return *error;
  return request;
}

}  // namespace kelbrin::cli
