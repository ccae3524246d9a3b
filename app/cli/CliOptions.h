#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "Lexer.h"
#include "OptionTable.h"
#include "RunJunbi.h"

namespace kelbrin::cli {

// What the command line asks for.
struct CliRequest {
  enum class Action { Rewrite, ShowHelp, ShowVersion };
  Action action = Action::Rewrite;
  PassSelection selection;
  bool check = false;             // name the files that would change; the exit status says whether any would
  bool diff = false;              // show the changes as a unified diff
  bool toStandardOutput = false;  // each file tidied to standard output
  bool backups = true;            // in place, keep each file as it was beside it
  bool tidyBackups = false;       // take files named as backups too
  // --syntax: a language, or by each file's extension (auto); none: the plain rules.
  std::optional<Language> language;
  bool languageByExtension = false;
  std::optional<Encoding> encoding;  // --encoding: none for auto
  int tabStops = 0;                  // --tab-stops; 0 for the counting rule
  bool leading = false;              // only the blanks and tabs a line begins with
  std::vector<std::string> files;    // "-" is standard input; none means standard input

  // Whether the files are rewritten; otherwise nothing is touched.
  bool InPlace() const { return !check && !diff && !toStandardOutput; }
};

std::variant<CliRequest, UsageError> ParseArguments(const std::vector<std::string_view>& arguments);

extern const char* const kUsage;

}  // namespace kelbrin::cli
