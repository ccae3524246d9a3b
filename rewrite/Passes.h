#pragma once

#include <optional>

#include "Failure.h"
#include "PassProgress.h"
#include "TargetFile.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// Removes `//` comments; the backup is "ComOld_" plus the name.
std::optional<PassFailure> CommentDelete(const TargetFile& target, PassProgress& progress,
                                         FileSystem& fileSystem = PlatformFileSystem());

// Turns runs of blanks into tabs; the backup is "TabOld_" plus the name.
std::optional<PassFailure> SpaceToTab(const TargetFile& target, bool threeBlanks, PassProgress& progress,
                                      FileSystem& fileSystem = PlatformFileSystem());

}  // namespace kelbrin
