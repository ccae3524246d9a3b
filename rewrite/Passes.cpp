#include "Passes.h"

#include "CommentRule.h"
#include "ProcessingPass.h"
#include "TabRule.h"

namespace kelbrin {

std::optional<PassFailure> CommentDelete(const TargetFile& target, PassProgress& progress, FileSystem& fileSystem) {
  return ProcessingPass(target, {PassKind::CommentDelete, "ComOld_", CommentRule()}, progress, fileSystem);
}

std::optional<PassFailure> SpaceToTab(const TargetFile& target, bool threeBlanks, PassProgress& progress,
                                      FileSystem& fileSystem) {
  return ProcessingPass(target, {PassKind::SpaceToTab, "TabOld_", TabRule(threeBlanks)}, progress, fileSystem);
}

}  // namespace kelbrin
