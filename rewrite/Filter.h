#pragma once

#include "Failure.h"
#include "RunJunbi.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// Rewrites standard input to standard output in one streaming pass, the
// comment rule's output feeding the tab rule, with no backup and no file of
// its own. Needs at least one pass selected. Refuses, writing nothing, when
// standard output is the file standard input reads.
IoStatus RunFilter(const PassSelection& selection, FileSystem& fileSystem = PlatformFileSystem());

}  // namespace kelbrin
