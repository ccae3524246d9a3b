#include "OutputBuffer.h"

#include <algorithm>
#include <cstring>

namespace kelbrin {

void OutputBuffer::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t piece = std::min(bytes.size(), buffer_.size());
    std::uint8_t* room = Room(piece);
    std::memcpy(room, bytes.data(), piece);
    Commit(room + piece);
    bytes.remove_prefix(piece);
  }
}

// A write may store less than asked; one that stores nothing at all and
// reports no error means the medium takes no more.
bool OutputBuffer::Flush() {
  const std::uint8_t* bytes = buffer_.data();
  std::size_t count = used_;
  while (status_ && count > 0) {
    std::size_t put = 0;
    status_ = fileSystem_.Write(file_, bytes, count, put);
    if (status_ && put == 0) status_ = {FailureReason::DiskFull, 0};
    bytes += put;
    count -= put;
  }
  used_ = 0;
  return static_cast<bool>(status_);
}

}  // namespace kelbrin
