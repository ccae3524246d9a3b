#include "PassesWithRules.h"

#include "ProcessingPass.h"

namespace kelbrin {

std::optional<PassFailure> RunPasses(const TargetFile& target, const PassSelection& selection, const PassRules& rules,
                                     PassProgress& progress, FileSystem& fileSystem) {
  std::optional<PassFailure> failure;
  if (selection.commentDelete) {
    failure = ProcessingPass(target, {PassKind::CommentDelete, "ComOld_", rules.Comment()}, progress, fileSystem);
  }
  if (!failure && selection.spaceToTab) {
    failure = ProcessingPass(target, {PassKind::SpaceToTab, "TabOld_", rules.Tab()}, progress, fileSystem);
  }
  return failure;
}

}  // namespace kelbrin
