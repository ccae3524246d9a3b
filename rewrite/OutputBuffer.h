#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "PageBuffer.h"

#include "platform/FileSystem.h"

namespace kelbrin {

// Lends the rules room for what they write and hands it to a file in large
// blocks. After a failed write it drops everything and keeps the failure for
// the caller.
class OutputBuffer {
 public:
  OutputBuffer(FileSystem& fileSystem, FileHandle file, std::size_t capacity)
      : fileSystem_(fileSystem), file_(file), buffer_(capacity) {}

  // Room for `count` bytes, at most the capacity.
  std::uint8_t* Room(std::size_t count) {
    if (buffer_.size() - used_ < count) Flush();
    return buffer_.data() + used_;
  }
  void Commit(std::uint8_t* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }
  // Copies `bytes` in, writing out first what does not fit.
  void Append(std::string_view bytes);
  // Room there is without writing first.
  std::size_t Free() const { return buffer_.size() - used_; }
  // Forgets what is collected and not yet written.
  void Discard() { used_ = 0; }

  // Writes out what is collected; true while nothing has failed.
  bool Flush();
  const IoStatus& Status() const { return status_; }
  // From now on drops everything, as after a failed write.
  void Stop(const IoStatus& why) { status_ = why; }

 private:
  FileSystem& fileSystem_;
  FileHandle file_;
  PageBuffer buffer_;
  std::size_t used_ = 0;
  IoStatus status_;
};

}  // namespace kelbrin
