#pragma once

#include <optional>
#include <string_view>

#include "ByteRule.h"
#include "Failure.h"
#include "PassProgress.h"
#include "TargetFile.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// What makes one pass: its kind, the prefix of its backup (none: no backup)
// and its byte rule; and whether a result that changes nothing is left
// unpublished, the file untouched.
struct PassDefinition {
  PassKind kind;
  std::string_view backupPrefix;
  const ByteRule& rule;
  bool leaveUnchanged = false;
};

// One pass over the target: moves it aside under a free backup name, writes
// the rewritten bytes under its own name and leaves the backup beside it.
// Whatever fails, the target's content is never lost: a pass that cannot
// complete puts the file back as it was and says why.
std::optional<PassFailure> ProcessingPass(const TargetFile& target, const PassDefinition& pass, PassProgress& progress,
                                          FileSystem& fileSystem);

}  // namespace kelbrin
