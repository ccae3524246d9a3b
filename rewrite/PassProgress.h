#pragma once

#include <cstdint>

namespace kelbrin {

// Where a pass reports how far it has read. Values are byte counts, 64-bit so
// that files of any size fit; a front end maps them onto its own display.
class PassProgress {
 public:
  virtual ~PassProgress() = default;
  virtual void SetMin(std::int64_t value) = 0;
  virtual void SetMax(std::int64_t value) = 0;
  virtual void SetPosition(std::int64_t value) = 0;
};

// For callers that show no progress.
class NoProgress final : public PassProgress {
 public:
  void SetMin(std::int64_t) override {}
  void SetMax(std::int64_t) override {}
  void SetPosition(std::int64_t) override {}
};

}  // namespace kelbrin
