#include "CliOptions.h"

#include <algorithm>

namespace kelbrin::cli {
namespace {

using Action = CliRequest::Action;

constexpr Option kOptions[] = {
    {'c', "comments", [](CliRequest& r) { r.selection.commentDelete = true; }},
    {'t', "tabs", [](CliRequest& r) { r.selection.spaceToTab = true; }},
    {'3', "three", [](CliRequest& r) { r.selection.space3 = true; }},
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

}  // namespace

const char* const kUsage =
    "Usage: kelbrin-cli [OPTION]... [FILE]...\n"
    "Tidy source files: remove // comments and turn runs of blanks into tabs.\n"
    "\n"
    "  -c, --comments      remove every // comment up to the end of its line\n"
    "  -t, --tabs          turn every four blanks in a row into a tab\n"
    "  -3, --three         with -t, turn three blanks left at the end of a run into a tab too\n"
    "      --check         change nothing; name every FILE that would change\n"
    "      --diff          change nothing; show the changes as a unified diff, for patch -p0\n"
    "      --stdout        change nothing; write every FILE tidied to standard output\n"
    "      --no-backup     keep no copy of a FILE as it was\n"
    "      --tidy-backups  tidy a FILE named ComOld_... or TabOld_... too\n"
    "  -h, --help          show this help and exit (on Windows also /?)\n"
    "      --version       show the version and exit\n"
    "\n"
    "Each FILE is rewritten in place, first without comments, then with tabs;\n"
    "the file as it was before each pass is kept beside it as ComOld_FILE and\n"
    "TabOld_FILE (or ComOld_FILE (2) and so on when that name is taken).\n"
    "A FILE named ComOld_... or TabOld_... is such a copy and is skipped.\n"
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
  if (request.action == Action::Rewrite && request.toStandardOutput && (request.check || request.diff))
    return UsageError{"--stdout cannot go with --check or --diff"};
  return request;
}

}  // namespace kelbrin::cli
