#include "SelectedRule.h"

#include "CommentRule.h"
#include "RuleChain.h"
#include "TabRule.h"

namespace kelbrin {

const ByteRule& SelectedRule(const PassSelection& selection) {
  if (!selection.spaceToTab) return CommentRule();
  if (!selection.commentDelete) return TabRule(selection.space3);
  return CommentThenTabRule(selection.space3);
}

}  // namespace kelbrin
