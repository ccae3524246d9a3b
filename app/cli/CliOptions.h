#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "RunJunbi.h"

namespace kelbrin::cli {

// What the command line asks for.
struct CliRequest {
  enum class Action { Rewrite, ShowHelp, ShowVersion };
  Action action = Action::Rewrite;
  PassSelection selection;
  std::vector<std::string> files;  // "-" is standard input; none means standard input
};

struct UsageError {
  std::string message;
};

std::variant<CliRequest, UsageError> ParseArguments(const std::vector<std::string_view>& arguments);

extern const char* const kUsage;

}  // namespace kelbrin::cli
