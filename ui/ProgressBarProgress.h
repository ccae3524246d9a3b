#pragma once

#include <windows.h>

#include <cstdint>

#include "PassProgress.h"

namespace kelbrin::ui {

// A pass's progress on a progress bar. The bar's range is 32-bit, so larger
// sizes are halved until they fit. The bar is only told when its filled part
// would grow or shrink by a pixel, at most once a frame except at its ends,
// and repaints at once, since no queued message is handled while a run lasts:
// painting per pixel would cost a large file's run a noticeable part of its time.
class ProgressBarProgress final : public PassProgress {
 public:
  // Milliseconds on a steady clock; tests give their own.
  using Clock = std::uint64_t (*)();
  static constexpr std::uint64_t kFrameMilliseconds = 30;

  explicit ProgressBarProgress(HWND bar, Clock clock = &GetTickCount64);

  void SetMin(std::int64_t value) override;
  void SetMax(std::int64_t value) override;
  void SetPosition(std::int64_t value) override;

 private:
  void SetRange(std::int64_t min, std::int64_t max);
  int ToBar(std::int64_t value) const;
  int FilledPixels(int position) const;
  void Show(int position);

  HWND bar_;
  Clock clock_;
  std::uint64_t shownAt_ = 0;
  int shift_ = 0;  // 64-bit values are shifted right by this to fit the bar
  std::int64_t min_ = 0;
  std::int64_t max_ = 0;
  int barMin_ = 0;
  int barMax_ = 0;
  int position_ = 0;
  int width_ = 0;   // of the bar's client area
  int filled_ = 0;  // pixels of it drawn filled
};

}  // namespace kelbrin::ui
