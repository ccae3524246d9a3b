#include "OutputBuffer.h"

namespace kelbrin {

bool OutputBuffer::Flush() {
  WriteThrough(buffer_.data(), used_);
  used_ = 0;
  return static_cast<bool>(status_);
}

void OutputBuffer::WriteLarge(const std::uint8_t* bytes, std::size_t count) {
  if (!Flush()) return;
  if (count >= kCapacity) return WriteThrough(bytes, count);
  std::memcpy(buffer_.data(), bytes, count);
  used_ = count;
}

// A write may store less than asked; one that stores nothing at all and
// reports no error means the medium takes no more.
void OutputBuffer::WriteThrough(const std::uint8_t* bytes, std::size_t count) {
  while (status_ && count > 0) {
    std::size_t put = 0;
    status_ = fileSystem_.Write(file_, bytes, count, put);
    if (status_ && put == 0) status_ = {FailureReason::DiskFull, 0};
    bytes += put;
    count -= put;
  }
}

}  // namespace kelbrin
