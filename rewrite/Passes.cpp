#include "Passes.h"

#include "BackupName.h"
#include "CommentRule.h"
#include "ProcessingPass.h"
#include "TabRule.h"

namespace kelbrin {

std::optional<PassFailure> CommentDelete(const TargetFile& target, PassProgress& progress, FileSystem& fileSystem) {
  return ProcessingPass(target, {PassKind::CommentDelete, kCommentBackupPrefix, CommentRule()}, progress, fileSystem);
}

std::optional<PassFailure> SpaceToTab(const TargetFile& target, bool threeBlanks, PassProgress& progress,
                                      FileSystem& fileSystem) {
  return ProcessingPass(target, {PassKind::SpaceToTab, kTabBackupPrefix, TabRule(threeBlanks)}, progress, fileSystem);
}

}  // namespace kelbrin
