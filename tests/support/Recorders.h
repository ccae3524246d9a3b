#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "MessageDisplay.h"
#include "PassProgress.h"

namespace kelbrin::test {

// Every setting a pass makes, in order.
class RecordingProgress final : public PassProgress {
 public:
  struct Setting {
    char which;  // 'n' for Min, 'x' for Max, 'p' for Position
    std::int64_t value;
  };

  void SetMin(std::int64_t value) override { settings.push_back({'n', value}); }
  void SetMax(std::int64_t value) override { settings.push_back({'x', value}); }
  void SetPosition(std::int64_t value) override { settings.push_back({'p', value}); }

  std::vector<std::int64_t> Values(char which) const {
    std::vector<std::int64_t> values;
    for (const Setting& s : settings)
      if (s.which == which) values.push_back(s.value);
    return values;
  }

  std::vector<Setting> settings;
};

// Plays another program: runs `meddle` once, when the pass reports its first
// block read.
class MeddlingProgress final : public PassProgress {
 public:
  explicit MeddlingProgress(std::function<void()> meddle) : meddle_(std::move(meddle)) {}
  void SetMin(std::int64_t) override {}
  void SetMax(std::int64_t) override {}
  void SetPosition(std::int64_t value) override {
    if (value > 0 && meddle_) std::exchange(meddle_, nullptr)();
  }

 private:
  std::function<void()> meddle_;
};

// Every message a run shows.
class RecordingDisplay final : public MessageDisplay {
 public:
  void ShowCompletion(std::string_view text) override { completions.emplace_back(text); }
  void ShowFailure(const PassFailure& failure) override { failures.push_back(failure); }

  std::vector<std::string> completions;
  std::vector<PassFailure> failures;
};

}  // namespace kelbrin::test
