#include "SyntaxBlocks.h"

namespace kelbrin {

std::unique_ptr<ByteRule> MakeLexerRule(const LexerTable& table) {
  return std::make_unique<ByteRule>(table.Table(), StepThrough);
}

}  // namespace kelbrin
