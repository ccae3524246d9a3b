#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ByteRule.h"
#include "Failure.h"
#include "RunJunbi.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// Rewrites standard input to standard output in one streaming pass, the
// comment rule's output feeding the tab rule, with no backup and no file of
// its own. Needs at least one pass selected. Refuses, writing nothing, when
// standard output is the file standard input reads.
IoStatus RunFilter(const PassSelection& selection, FileSystem& fileSystem = PlatformFileSystem());

// The same through `rule` (what PassRules::For gives). `start` holds bytes
// already read from standard input, which come first.
IoStatus RunFilter(const ByteRule& rule, FileSystem& fileSystem = PlatformFileSystem(),
                   std::span<const std::uint8_t> start = {});

// Reads the start of standard input, up to `most` bytes, as many as there are.
IoStatus ReadStart(FileSystem& fileSystem, std::size_t most, std::vector<std::uint8_t>& start);

}  // namespace kelbrin
