#include "RunJunbi.h"

#include "Passes.h"

namespace kelbrin {

std::optional<PassFailure> RunJunbi(const TargetFile& target, const PassSelection& selection,
                                    PassProgress& progress, MessageDisplay& display, FileSystem& fileSystem) {
  if (!selection.Any()) return std::nullopt;
  std::optional<PassFailure> failure;
  if (selection.commentDelete) failure = CommentDelete(target, progress, fileSystem);
  if (!failure && selection.spaceToTab) failure = SpaceToTab(target, selection.space3, progress, fileSystem);
  if (failure)
    display.ShowFailure(*failure);
  else
    display.ShowCompletion(kCompletionMessage);
  return failure;
}

}  // namespace kelbrin
