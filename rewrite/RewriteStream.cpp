#include "RewriteStream.h"

#include <algorithm>

#include "OutputBuffer.h"
#include "PageBuffer.h"

namespace kelbrin {
namespace {

// The room a stream reads into and writes from: full blocks, or for an input
// known to be smaller, what it needs. The heap hands small blocks out again
// from one file to the next, where full ones are mapped afresh for each and
// their pages found anew.
struct StreamBlocks {
  std::size_t read;
  std::size_t output;
};

StreamBlocks StreamBlocksFor(std::int64_t expectedSize) {
  if (expectedSize < 0 || static_cast<std::uint64_t>(expectedSize) >= kStreamBlockSize)
    return {kStreamBlockSize, kStreamOutputCapacity};
  // One byte more, so that the first read takes all of it and the second
  // finds the end.
  const std::size_t pages = static_cast<std::size_t>(expectedSize) / PageBuffer::kPage + 1;
  const std::size_t read = std::min(pages * PageBuffer::kPage, kStreamBlockSize);
  return {read, read + RuleRunner::PieceRoom(std::min(read, RuleRunner::kPiece))};
}

}  // namespace

StreamResult RewriteStream(FileSystem& fileSystem, FileHandle input, FileHandle output, const ByteRule& rule,
                           const std::function<void(std::int64_t)>& onRead, std::span<const std::uint8_t> start,
                           std::int64_t expectedSize) {
  const StreamBlocks sizes = StreamBlocksFor(expectedSize);
  OutputBuffer out(fileSystem, output, sizes.output);
  PageBuffer block(sizes.read);
  std::int64_t read = 0;
  StreamResult result = StreamThroughRule(fileSystem, input, {block.data(), block.size()}, rule, out,
                                          [&](std::span<const std::uint8_t> bytes) {
                                            read += static_cast<std::int64_t>(bytes.size());
                                            onRead(read);
                                          },
                                          start);
  if (result.status && !out.Flush()) {
    result.status = out.Status();
    result.outputFailed = true;
  }
  return result;
}

}  // namespace kelbrin
