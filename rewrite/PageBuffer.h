#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace kelbrin {

// A buffer that starts on a page boundary: the system copies file data to and
// from such memory markedly faster than to memory a few bytes off.
class PageBuffer {
 public:
  static constexpr std::size_t kPage = 4096;

  explicit PageBuffer(std::size_t size) : bytes_(new (std::align_val_t{kPage}) std::uint8_t[size]), size_(size) {}

  std::uint8_t* data() { return bytes_.get(); }
  std::size_t size() const { return size_; }

 private:
  struct Free {
    void operator()(std::uint8_t* bytes) const { ::operator delete[](bytes, std::align_val_t{kPage}); }
  };
  std::unique_ptr<std::uint8_t[], Free> bytes_;
  std::size_t size_;
};

}  // namespace kelbrin
