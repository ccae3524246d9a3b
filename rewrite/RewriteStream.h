#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "ByteRule.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// Reads `input` to its end in fixed blocks, runs every byte through `rules`
// one after the other (the first rule's output feeds the second) and writes
// what the last gives to `output`. Memory stays the same whatever the size.
// `onRead` hears the count of bytes read so far after every block.
// Bytes read at a time. Large blocks cost fewer system calls; this one and the
// output buffer beside it still fit the second-level cache.
inline constexpr std::size_t kStreamBlockSize = 1024 * 1024;

struct StreamResult {
  IoStatus status;
  std::int64_t consumed = 0;
};

StreamResult RewriteStream(FileSystem& fileSystem, FileHandle input, FileHandle output,
                           std::span<const ByteRule* const> rules,
                           const std::function<void(std::int64_t)>& onRead);

}  // namespace kelbrin
