#pragma once

#include <cstdint>

namespace kelbrin::test {

// A fixed generator, so that a failure can be run again.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  std::uint32_t Below(std::uint32_t bound) {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) % bound;
  }

 private:
  std::uint32_t state_;
};

}  // namespace kelbrin::test
