#include "Filter.h"

#include "CommentRule.h"
#include "ParallelStream.h"
#include "RuleChain.h"
#include "TabRule.h"

namespace kelbrin {
namespace {

// Both passes chained make one rule, the comment rule's output feeding the
// tab rule.
const ByteRule& RuleFor(const PassSelection& selection) {
  if (!selection.spaceToTab) return CommentRule();
  if (!selection.commentDelete) return TabRule(selection.space3);
  return CommentThenTabRule(selection.space3);
}

}  // namespace

IoStatus RunFilter(const PassSelection& selection, FileSystem& fileSystem) {
  return RewriteStreamInParallel(fileSystem, fileSystem.StandardInput(), fileSystem.StandardOutput(),
                                 RuleFor(selection));
}

}  // namespace kelbrin
