#include "RuleChain.h"

#include "BlockPaths.h"
#include "CommentRule.h"
#include "TabRule.h"

namespace kelbrin {

const ByteRule& CommentThenTabRule(bool threeBlanks, Width width) {
  if (threeBlanks) return ForWidth(width, [](Width w) { return ByteRule(CommentRule(w), TabRule(true, w)); });
  return ForWidth(width, [](Width w) { return ByteRule(CommentRule(w), TabRule(false, w)); });
}

}  // namespace kelbrin
