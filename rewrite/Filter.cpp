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

// Writing into the file being read would read the output again, without end
// where the output is appended.
bool OutputIsInput(FileSystem& fileSystem) {
  FileIdentity input;
  FileIdentity output;
  return fileSystem.Identify(fileSystem.StandardInput(), input) &&
         fileSystem.Identify(fileSystem.StandardOutput(), output) && input.regular && input.SameFile(output);
}

}  // namespace

IoStatus RunFilter(const PassSelection& selection, FileSystem& fileSystem) {
  if (OutputIsInput(fileSystem)) return {FailureReason::InputIsOutput, 0};
  return RewriteStreamInParallel(fileSystem, fileSystem.StandardInput(), fileSystem.StandardOutput(),
                                 RuleFor(selection));
}

}  // namespace kelbrin
