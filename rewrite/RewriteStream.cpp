#include "RewriteStream.h"

#include <stdexcept>
#include <vector>

#include "OutputBuffer.h"
#include "RuleChain.h"

namespace kelbrin {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

// Reads blocks until the input ends, hands each to `feed` and, at the end,
// lets `finish` write what the rules still hold.
template <class Feed, class Finish>
StreamResult Pump(FileSystem& fileSystem, FileHandle input, OutputBuffer& out, Feed feed, Finish finish,
                  const std::function<void(std::int64_t)>& onRead) {
  std::vector<std::uint8_t> block(kBlockSize);
  StreamResult result;
  for (;;) {
    std::size_t got = 0;
    result.status = fileSystem.Read(input, block.data(), block.size(), got);
    if (!result.status) return result;
    if (got == 0) break;
    feed(block.data(), got);
    result.consumed += static_cast<std::int64_t>(got);
    if (!out.Status()) {
      result.status = out.Status();
      return result;
    }
    onRead(result.consumed);
  }
  finish();
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
  OutputBuffer out(fileSystem, output);
  RuleRunner first(*rules[0]);
  if (rules.size() == 1) {
    return Pump(
        fileSystem, input, out, [&](const std::uint8_t* bytes, std::size_t count) { first.Feed(bytes, count, out); },
        [&] { first.Finish(out); }, onRead);
  }
  RuleRunner second(*rules[1]);
  IntoRule<OutputBuffer> intoSecond(second, out);
  return Pump(
      fileSystem, input, out,
      [&](const std::uint8_t* bytes, std::size_t count) { first.Feed(bytes, count, intoSecond); },
      [&] {
        first.Finish(intoSecond);
        second.Finish(out);
      },
      onRead);
}

}  // namespace kelbrin
