#pragma once

#include <optional>

#include "Failure.h"
#include "PassProgress.h"
#include "PassRules.h"
#include "RunJunbi.h"
#include "TargetFile.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// How a run in place goes, beyond its rules.
struct InPlaceChoice {
  // Each pass keeps the file as it was beside it. Without, both passes run
  // as one, the comment rule's output feeding the tab rule.
  bool backups = true;
  // A pass whose result would be the file as it is publishes nothing and
  // makes no backup: the file keeps its inode and its times.
  bool leaveUnchanged = false;
};

// The passes of one run in place with the rules given: the comment pass
// ("ComOld_" backup), then the tab pass ("TabOld_"), each as selected,
// stopping at the first that fails; the same frame as RunJunbi's passes.
std::optional<PassFailure> RunPasses(const TargetFile& target, const PassSelection& selection, const PassRules& rules,
                                     const InPlaceChoice& choice, PassProgress& progress,
                                     FileSystem& fileSystem = PlatformFileSystem());

}  // namespace kelbrin
