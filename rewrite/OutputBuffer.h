#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/FileSystem.h"

namespace kelbrin {

// Collects written bytes and hands them to a file in large blocks. After a
// failed write it drops everything and keeps the failure for the caller.
class OutputBuffer {
 public:
  static constexpr std::size_t kCapacity = 64 * 1024;

  OutputBuffer(FileSystem& fileSystem, FileHandle file) : fileSystem_(fileSystem), file_(file), buffer_(kCapacity) {}

  void Write(const std::uint8_t* bytes, std::size_t count) {
    if (count <= kCapacity - used_) {
      std::memcpy(buffer_.data() + used_, bytes, count);
      used_ += count;
    } else {
      WriteLarge(bytes, count);
    }
  }

  // A rule's step writes a few bytes from an array of N; copying all N at once
  // costs less than copying `count` of them.
  template <std::size_t N>
  void WriteFew(const std::array<std::uint8_t, N>& bytes, std::size_t count) {
    if (N <= kCapacity - used_) {
      std::memcpy(buffer_.data() + used_, bytes.data(), N);
      used_ += count;
    } else {
      Write(bytes.data(), count);
    }
  }

  // Writes out what is collected; true while nothing has failed.
  bool Flush();
  const IoStatus& Status() const { return status_; }

 private:
  void WriteLarge(const std::uint8_t* bytes, std::size_t count);
  void WriteThrough(const std::uint8_t* bytes, std::size_t count);

  FileSystem& fileSystem_;
  FileHandle file_;
  std::vector<std::uint8_t> buffer_;
  std::size_t used_ = 0;
  IoStatus status_;
};

}  // namespace kelbrin
