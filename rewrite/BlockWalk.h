#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ByteMasks.h"

namespace kelbrin {

// How far past the end of what it writes a block path may store: it copies
// plain bytes a whole chunk at a time, and lets what comes next overwrite
// what was too much.
inline constexpr std::size_t kBlockSlack = kChunk;

// Calls visit(chunk, valid, last) for the chunks of a block, in order, until
// one returns false. The first `valid` bytes at `chunk` belong to it (all 64
// but in the last chunk), and 2 * kChunk bytes can be read from there: past
// the end of the block, the rest is zeros. `last` says that the byte after
// the chunk is not known yet; otherwise it is chunk[valid].
template <class Visit>
void ForEachChunkWhile(const std::uint8_t* bytes, std::size_t count, Visit visit) {
  const std::uint8_t* const end = bytes + count;
  for (; end - bytes >= static_cast<std::ptrdiff_t>(2 * kChunk); bytes += kChunk) {
    if (!visit(bytes, kChunk, false)) return;
  }
  if (bytes == end) return;
  // The rest, less than two chunks, is walked in a copy that can be read past
  // its end.
  std::uint8_t rest[3 * kChunk] = {};
  const auto left = static_cast<std::size_t>(end - bytes);
  std::memcpy(rest, bytes, left);
  std::size_t at = 0;
  if (left > kChunk) {
    if (!visit(rest, kChunk, false)) return;
    at = kChunk;
  }
  visit(rest + at, left - at, true);
}

// The same for a visit(chunk, valid, last) that takes every chunk.
template <class Visit>
void ForEachChunk(const std::uint8_t* bytes, std::size_t count, Visit visit) {
  ForEachChunkWhile(bytes, count, [&](const std::uint8_t* chunk, std::size_t valid, bool last) {
    visit(chunk, valid, last);
    return true;
  });
}

// Writes the first `count` bytes at `from` by copying a whole chunk: one fixed
// copy costs less than a branch on the length.
inline std::uint8_t* CopyPlain(std::uint8_t* out, const std::uint8_t* from, std::size_t count) {
  std::memcpy(out, from, kChunk);
  return out + count;
}

}  // namespace kelbrin
