#pragma once

#include <cstdint>
#include <span>

#include "RewriteStream.h"

namespace kelbrin {

// RewriteStream on two threads, for a stream no one watches. The second
// thread starts only once the input has proved large; then the two take
// blocks in turn, each reading its block after the other's, rewriting it while
// the other works on its own, and writing it after the other's. A block is cut
// after its last byte that brings the rule back to state 0 from any state (a
// line end, for the default rules), so the next block can start from state 0
// without waiting; the bytes after the cut go to the front of the next block.
// A rule that no byte resets (a lexer's) is cut after a line end, where it is
// most likely in state 0: the next block is rewritten from state 0 at once,
// and again, once the state the block before ended in is known, if that was
// another. A block with neither near its end makes the next one wait for the
// state it ends in. Writes exactly what RewriteStream writes; fails with the
// first failure, after which neither thread reads or writes another block.
// `start` holds bytes of the input read before, which come first; up to
// 512 KiB of them go into the first block, more make it run on one thread.
StreamResult RewriteStreamInParallel(FileSystem& fileSystem, FileHandle input, FileHandle output,
                                     const ByteRule& rule, std::span<const std::uint8_t> start = {});

}  // namespace kelbrin
