#pragma once

#include <memory>

#include "ByteRule.h"
#include "Lexer.h"

namespace kelbrin {

// A lexer's table as a rule, with the block path that lexers share.
std::unique_ptr<ByteRule> MakeLexerRule(const LexerTable& table);

}  // namespace kelbrin
