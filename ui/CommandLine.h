#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelbrin::ui {

// Splits a whole command line, the program's own name first, into arguments:
// bytes 0x01 to 0x20 separate; empty quote pairs that start an argument are
// skipped; a double quote opens a stretch up to the next one (or the end) in
// which blanks belong to the argument; the quotes are dropped and the
// backslash is an ordinary byte. Code-page 932 trail bytes never fall into
// either class, so the bytes are read one by one.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The first argument after the program's own name, if there is one.
std::optional<std::string> FirstArgument(std::string_view commandLine);

}  // namespace kelbrin::ui
