#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "ByteRule.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// Bytes read at a time: larger blocks cost fewer system calls, and past this
// size they stopped paying.
inline constexpr std::size_t kStreamBlockSize = 1024 * 1024;

struct StreamResult {
  IoStatus status;
  std::int64_t consumed = 0;
};

// Reads `input` to its end in fixed blocks, runs every byte through `rule`
// and writes what it gives to `output`. Memory stays the same whatever the
// size. `onRead` hears the count of bytes read so far after every block.
// A stop request ends it before the next block, as Interrupted. Bytes of the
// input read before, `start`, are rewritten first (and not counted).
StreamResult RewriteStream(FileSystem& fileSystem, FileHandle input, FileHandle output, const ByteRule& rule,
                           const std::function<void(std::int64_t)>& onRead, std::span<const std::uint8_t> start = {});

}  // namespace kelbrin
