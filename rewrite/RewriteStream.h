#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "ByteRule.h"
#include "RuleSinks.h"
#include "StopRequest.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// Bytes read at a time: larger blocks cost fewer system calls, and past this
// size they stopped paying.
inline constexpr std::size_t kStreamBlockSize = 1024 * 1024;
// The output goes out in blocks of about the read blocks' size.
inline constexpr std::size_t kStreamOutputCapacity = kStreamBlockSize + RuleRunner::PieceRoom(RuleRunner::kPiece);

struct StreamResult {
  IoStatus status;
  bool outputFailed = false;  // the failure is the output's, not the input's
  std::int64_t consumed = 0;
  std::int64_t written = 0;  // what the rule wrote
  // The rule wrote what it read, byte for byte: the input needs no rewrite.
  bool unchanged = false;
};

// How far a stream reads: to the input's end, or, for a caller that only
// asks whether the rule would change anything, until the rule first writes
// something other than what it read. That one reads a small block first,
// then larger ones: a change shows early in most files.
enum class ReadUntil { End, FirstChange };
inline constexpr std::size_t kFirstLook = 4096;

// Reads `input` to its end, or as far as `until` says, a block at a time
// into `block`, runs every byte through `rule` into `out` and then hands the
// block to `onBlock`. `out` is a sink as RuleRunner takes one, with
// `Status()` for whether it has failed;
// what it holds at the end is left to the caller. A stop request ends it
// before the next block, as Interrupted. Bytes of the input read before,
// `start`, go through the rule first and count as consumed.
template <class Sink, class OnBlock>
StreamResult StreamThroughRule(FileSystem& fileSystem, FileHandle input, std::span<std::uint8_t> block,
                               const ByteRule& rule, Sink& out, OnBlock&& onBlock,
                               std::span<const std::uint8_t> start = {}, ReadUntil until = ReadUntil::End) {
  RuleRunner runner(rule);
  Compared<Sink> compared(out);
  StreamResult result;
  compared.Reading(start);
  runner.Feed(start.data(), start.size(), compared);
  compared.Passed();
  result.consumed = static_cast<std::int64_t>(start.size());
  std::size_t want = until == ReadUntil::FirstChange ? std::min(kFirstLook, block.size()) : block.size();
  for (;;) {
    if (StopRequested()) {
      result.status = {FailureReason::Interrupted, 0};
      return result;
    }
    if (until == ReadUntil::FirstChange && !compared.SameSoFar()) return result;
    std::size_t got = 0;
    result.status = fileSystem.Read(input, block.data(), want, got);
    if (!result.status) return result;
    if (got == 0) break;
    compared.Reading({block.data(), got});
    runner.Feed(block.data(), got, compared);
    compared.Passed();
    result.consumed += static_cast<std::int64_t>(got);
    result.written = compared.Count();
    if (!out.Status()) {
      result.status = out.Status();
      result.outputFailed = true;
      return result;
    }
    onBlock(std::span<const std::uint8_t>(block.data(), got));
    want = std::min(want * 16, block.size());
  }
  runner.Finish(compared);
  result.written = compared.Count();
  result.unchanged = compared.Same(result.consumed);
  return result;
}

// Reads `input` to its end in fixed blocks, runs every byte through `rule`
// and writes what it gives to `output`. Memory stays the same whatever the
// size. `onRead` hears the count of bytes read so far after every block.
// The size the input is expected to have, where known (not negative), only
// sizes the blocks.
StreamResult RewriteStream(FileSystem& fileSystem, FileHandle input, FileHandle output, const ByteRule& rule,
                           const std::function<void(std::int64_t)>& onRead, std::span<const std::uint8_t> start = {},
                           std::int64_t expectedSize = -1);

}  // namespace kelbrin
