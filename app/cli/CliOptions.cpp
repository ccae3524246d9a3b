#include "CliOptions.h"

namespace kelbrin::cli {
namespace {

struct Option {
  char letter;  // '\0' for an option that only has a word
  std::string_view word;
  void (*apply)(CliRequest&);
};

constexpr Option kOptions[] = {
    {'c', "comments", [](CliRequest& r) { r.selection.commentDelete = true; }},
    {'t', "tabs", [](CliRequest& r) { r.selection.spaceToTab = true; }},
    {'3', "three", [](CliRequest& r) { r.selection.space3 = true; }},
    {'h', "help", [](CliRequest& r) { r.action = CliRequest::Action::ShowHelp; }},
    {'\0', "version",
     [](CliRequest& r) {
       if (r.action != CliRequest::Action::ShowHelp) r.action = CliRequest::Action::ShowVersion;
     }},
};

const Option* FindOption(char letter, std::string_view word) {
  for (const Option& option : kOptions)
    if (letter ? option.letter == letter : option.word == word) return &option;
  return nullptr;
}

}  // namespace

const char* const kUsage =
    "Usage: kelbrin-cli [-c|--comments] [-t|--tabs] [-3|--three] [FILE...]\n"
    "Tidy source files: remove // comments and turn runs of blanks into tabs.\n"
    "\n"
    "  -c, --comments  remove every // comment up to the end of its line\n"
    "  -t, --tabs      turn every four blanks in a row into a tab\n"
    "  -3, --three     with -t, turn three blanks left at the end of a run into a tab too\n"
    "  -h, --help      show this help and exit\n"
    "      --version   show the version and exit\n"
    "\n"
    "Each FILE is rewritten in place, first without comments, then with tabs;\n"
    "the file as it was before each pass is kept beside it as ComOld_FILE and\n"
    "TabOld_FILE (or ComOld_FILE (2) and so on when that name is taken).\n"
    "Without FILE, or with FILE -, standard input is rewritten to standard output.\n";

std::variant<CliRequest, UsageError> ParseArguments(const std::vector<std::string_view>& arguments) {
  CliRequest request;
  bool optionsEnded = false;
  for (std::string_view argument : arguments) {
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      request.files.emplace_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument.starts_with("--")) {
      const Option* option = FindOption('\0', argument.substr(2));
      if (!option) return UsageError{"unknown option '" + std::string(argument) + "'"};
      option->apply(request);
    } else {
      for (char letter : argument.substr(1)) {
        const Option* option = FindOption(letter, {});
        if (!option) return UsageError{"unknown option '-" + std::string(1, letter) + "'"};
        option->apply(request);
      }
    }
  }
  return request;
}

}  // namespace kelbrin::cli
