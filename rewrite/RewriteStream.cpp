#include "RewriteStream.h"

#include <stdexcept>

#include "OutputBuffer.h"
#include "PageBuffer.h"
#include "RuleChain.h"

namespace kelbrin {
namespace {

// The output goes out in blocks of about the read blocks' size.
constexpr std::size_t kOutputCapacity = kStreamBlockSize + RuleRunner::PieceRoom(RuleRunner::kPiece);

// Reads blocks until the input ends, hands each to `rules` (a RuleRunner or a
// RuleChain) and, at the end, lets them write what they still hold.
template <class Rules>
StreamResult Pump(FileSystem& fileSystem, FileHandle input, FileHandle output, Rules& rules,
                  const std::function<void(std::int64_t)>& onRead) {
  OutputBuffer out(fileSystem, output, kOutputCapacity);
  PageBuffer block(kStreamBlockSize);
  StreamResult result;
  for (;;) {
    std::size_t got = 0;
    result.status = fileSystem.Read(input, block.data(), block.size(), got);
    if (!result.status) return result;
    if (got == 0) break;
    rules.Feed(block.data(), got, out);
    result.consumed += static_cast<std::int64_t>(got);
    if (!out.Status()) {
      result.status = out.Status();
      return result;
    }
    onRead(result.consumed);
  }
  rules.Finish(out);
  out.Flush();
  result.status = out.Status();
  return result;
}

}  // namespace

// The choice between one rule and two chained is made once, not per byte.
StreamResult RewriteStream(FileSystem& fileSystem, FileHandle input, FileHandle output,
                           std::span<const ByteRule* const> rules,
                           const std::function<void(std::int64_t)>& onRead) {
  if (rules.empty() || rules.size() > 2) throw std::invalid_argument("one or two rules");
  if (rules.size() == 1) {
    RuleRunner rule(*rules[0]);
    return Pump(fileSystem, input, output, rule, onRead);
  }
  RuleChain chain(*rules[0], *rules[1]);
  return Pump(fileSystem, input, output, chain, onRead);
}

}  // namespace kelbrin
