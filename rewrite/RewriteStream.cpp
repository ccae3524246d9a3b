#include "RewriteStream.h"

#include "OutputBuffer.h"
#include "PageBuffer.h"
#include "StopRequest.h"

namespace kelbrin {
namespace {

// The output goes out in blocks of about the read blocks' size.
constexpr std::size_t kOutputCapacity = kStreamBlockSize + RuleRunner::PieceRoom(RuleRunner::kPiece);

}  // namespace

StreamResult RewriteStream(FileSystem& fileSystem, FileHandle input, FileHandle output, const ByteRule& rule,
                           const std::function<void(std::int64_t)>& onRead, std::span<const std::uint8_t> start) {
  OutputBuffer out(fileSystem, output, kOutputCapacity);
  PageBuffer block(kStreamBlockSize);
  RuleRunner runner(rule);
  runner.Feed(start.data(), start.size(), out);
  StreamResult result;
  for (;;) {
    if (StopRequested()) {
      result.status = {FailureReason::Interrupted, 0};
      return result;
    }
    std::size_t got = 0;
    result.status = fileSystem.Read(input, block.data(), block.size(), got);
    if (!result.status) return result;
    if (got == 0) break;
    runner.Feed(block.data(), got, out);
    result.consumed += static_cast<std::int64_t>(got);
    if (!out.Status()) {
      result.status = out.Status();
      return result;
    }
    onRead(result.consumed);
  }
  runner.Finish(out);
  out.Flush();
  result.status = out.Status();
  return result;
}

}  // namespace kelbrin
