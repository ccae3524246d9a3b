#include "CliOptions.h"

namespace kelbrin::cli {
namespace {

struct Option {
  char letter;  // '\0' for an option that only has a word
  std::string_view word;
  void (*apply)(CliRequest&);
};

// An option that takes a value; it says what is wrong with a value it cannot take.
struct ValueOption {
  char letter;
  std::string_view word;
  std::optional<std::string> (*apply)(CliRequest&, std::string_view value);
};

std::optional<std::string> TakeSyntax(CliRequest& request, std::string_view value) {
  constexpr std::pair<std::string_view, Language> kNames[] = {
      {"c", Language::C}, {"cpp", Language::Cpp}, {"java", Language::Java}, {"pascal", Language::Pascal}};
  request.languageByExtension = value == "auto";
  if (request.languageByExtension) return std::nullopt;
  for (const auto& [name, language] : kNames) {
    if (value == name) {
      request.language = language;
      return std::nullopt;
    }
  }
  return "unknown language '" + std::string(value) + "' for --syntax (choose c, cpp, java, pascal or auto)";
}

std::optional<std::string> TakeEncoding(CliRequest& request, std::string_view value) {
  if (value == "cp932") {
    request.encoding = Encoding::Cp932;
  } else if (value == "utf-8") {
    request.encoding = Encoding::Utf8;
  } else if (value == "auto") {
    request.encoding.reset();
  } else {
    return "unknown encoding '" + std::string(value) + "' for --encoding (choose cp932, utf-8 or auto)";
  }
  return std::nullopt;
}

std::optional<std::string> TakeTabStops(CliRequest& request, std::string_view value) {
  int stops = 0;
  for (char c : value) stops = c >= '0' && c <= '9' && stops <= 64 ? stops * 10 + (c - '0') : 100;
  if (value.empty() || stops < 1 || stops > 64) return "--tab-stops takes a number from 1 to 64, not '" + std::string(value) + "'";
  request.tabStops = stops;
  return std::nullopt;
}

constexpr ValueOption kValueOptions[] = {
    {'\0', "syntax", TakeSyntax},
    {'\0', "encoding", TakeEncoding},
    {'T', "tab-stops", TakeTabStops},
};

const ValueOption* FindValueOption(char letter, std::string_view word) {
  for (const ValueOption& option : kValueOptions)
    if (letter ? option.letter == letter : option.word == word) return &option;
  return nullptr;
}

constexpr Option kOptions[] = {
    {'c', "comments", [](CliRequest& r) { r.selection.commentDelete = true; }},
    {'t', "tabs", [](CliRequest& r) { r.selection.spaceToTab = true; }},
    {'3', "three", [](CliRequest& r) { r.selection.space3 = true; }},
    {'\0', "leading", [](CliRequest& r) { r.leading = true; }},
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
    "Usage: kelbrin-cli [-c|--comments] [-t|--tabs] [-3|--three] [OPTION...] [FILE...]\n"
    "Tidy source files: remove // comments and turn runs of blanks into tabs.\n"
    "\n"
    "  -c, --comments       remove every // comment up to the end of its line\n"
    "  -t, --tabs           turn every four blanks in a row into a tab\n"
    "  -3, --three          with -t, turn three blanks left at the end of a run into a tab too\n"
    "      --syntax=LANG    know the language: c, cpp, java, pascal, or auto (by each FILE's\n"
    "                       extension); comments are removed only where the language has them,\n"
    "                       and no literal (string, character, ...) is changed\n"
    "      --encoding=ENC   how --syntax and --tab-stops read characters: cp932, utf-8, or auto\n"
    "                       (the default): UTF-8 for a file that is valid UTF-8, code page 932\n"
    "                       otherwise; standard input cannot be read twice, so it is judged by\n"
    "                       its first 512 KiB\n"
    "  -T, --tab-stops=N    with -t, use tab stops every N columns (1 to 64), keeping every\n"
    "                       character in its column, as `unexpand -a -t N` does\n"
    "      --leading        with -t, change only the blanks and tabs that begin a line\n"
    "  -h, --help           show this help and exit\n"
    "      --version        show the version and exit\n"
    "\n"
    "Each FILE is rewritten in place, first without comments, then with tabs;\n"
    "the file as it was before each pass is kept beside it as ComOld_FILE and\n"
    "TabOld_FILE (or ComOld_FILE (2) and so on when that name is taken).\n"
    "Without FILE, or with FILE -, standard input is rewritten to standard output.\n";

std::variant<CliRequest, UsageError> ParseArguments(const std::vector<std::string_view>& arguments) {
  CliRequest request;
  bool optionsEnded = false;
  for (std::size_t next = 0; next < arguments.size(); ++next) {
    const std::string_view argument = arguments[next];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      request.files.emplace_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument.starts_with("--")) {
      const std::string_view word = argument.substr(2, argument.find('=') - 2);
      if (const ValueOption* valued = FindValueOption('\0', word)) {
        if (word.size() + 2 == argument.size()) return UsageError{"option '" + std::string(argument) + "' needs a value"};
        if (auto error = valued->apply(request, argument.substr(word.size() + 3))) return UsageError{*error};
        continue;
      }
      const Option* option = FindOption('\0', argument.substr(2));
      if (!option) return UsageError{"unknown option '" + std::string(argument) + "'"};
      option->apply(request);
    } else {
      for (std::size_t at = 1; at < argument.size(); ++at) {
        const char letter = argument[at];
        if (const ValueOption* valued = FindValueOption(letter, {})) {
          // The value follows the letter, or is the next argument.
          std::string_view value = argument.substr(at + 1);
          if (value.empty() && next + 1 < arguments.size()) value = arguments[++next];
          if (auto error = valued->apply(request, value)) return UsageError{*error};
          break;
        }
        const Option* option = FindOption(letter, {});
        if (!option) return UsageError{"unknown option '-" + std::string(1, letter) + "'"};
        option->apply(request);
      }
    }
  }
  if (request.tabStops > 0 && request.selection.space3) {
    return UsageError{"-3 counts blanks and --tab-stops keeps columns: use one or the other"};
  }
  return request;
}

}  // namespace kelbrin::cli
