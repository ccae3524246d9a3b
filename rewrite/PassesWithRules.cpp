#include "PassesWithRules.h"

#include "BackupName.h"
#include "ProcessingPass.h"

namespace kelbrin {

std::optional<PassFailure> RunPasses(const TargetFile& target, const PassSelection& selection, const PassRules& rules,
                                     const InPlaceChoice& choice, PassProgress& progress, FileSystem& fileSystem) {
  const auto pass = [&](PassKind kind, std::string_view prefix, const ByteRule& rule) {
    return ProcessingPass(target, {kind, prefix, rule, choice.leaveUnchanged}, progress, fileSystem);
  };
  if (!choice.backups) {
    return pass(selection.commentDelete ? PassKind::CommentDelete : PassKind::SpaceToTab, "", rules.For(selection));
  }
  std::optional<PassFailure> failure;
  if (selection.commentDelete) failure = pass(PassKind::CommentDelete, kCommentBackupPrefix, rules.Comment());
  if (!failure && selection.spaceToTab) failure = pass(PassKind::SpaceToTab, kTabBackupPrefix, rules.Tab());
  return failure;
}

}  // namespace kelbrin
