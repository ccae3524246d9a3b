#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ByteRule.h"
#include "Failure.h"
#include "RewriteStream.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// Rewrites standard input to standard output through `rule` (what
// PassRules::For gives for the selected passes) in one streaming pass, with
// no backup and no file of its own. `start` holds bytes already read from
// standard input, which come first. Refuses, writing nothing, when standard
// output is the file standard input reads.
StreamResult RunFilter(const ByteRule& rule, FileSystem& fileSystem = PlatformFileSystem(),
                       std::span<const std::uint8_t> start = {});

// Reads the start of standard input, up to `most` bytes, as many as there are.
IoStatus ReadStart(FileSystem& fileSystem, std::size_t most, std::vector<std::uint8_t>& start);

}  // namespace kelbrin
