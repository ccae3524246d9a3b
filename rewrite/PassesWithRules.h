#pragma once

#include <optional>

#include "Failure.h"
#include "PassProgress.h"
#include "PassRules.h"
#include "RunJunbi.h"
#include "TargetFile.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// The passes of one run in place with the rules given: the comment pass
// ("ComOld_" backup), then the tab pass ("TabOld_"), each as selected,
// stopping at the first that fails; the same frame as RunJunbi's passes.
std::optional<PassFailure> RunPasses(const TargetFile& target, const PassSelection& selection, const PassRules& rules,
                                     PassProgress& progress, FileSystem& fileSystem = PlatformFileSystem());

}  // namespace kelbrin
