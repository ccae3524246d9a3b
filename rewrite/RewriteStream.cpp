#include "RewriteStream.h"

#include "OutputBuffer.h"
#include "PageBuffer.h"

namespace kelbrin {

StreamResult RewriteStream(FileSystem& fileSystem, FileHandle input, FileHandle output, const ByteRule& rule,
                           const std::function<void(std::int64_t)>& onRead, std::span<const std::uint8_t> start) {
  OutputBuffer out(fileSystem, output, kStreamOutputCapacity);
  PageBuffer block(kStreamBlockSize);
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
