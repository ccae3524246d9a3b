#include "ProgressBarProgress.h"

#include <commctrl.h>

#include <limits>

namespace kelbrin::ui {
namespace {

constexpr std::int64_t kBarLimit = std::numeric_limits<std::int32_t>::max();

int ShiftToFit(std::int64_t min, std::int64_t max) {
  int shift = 0;
  while ((max >> shift) > kBarLimit || (min >> shift) < -kBarLimit - 1) ++shift;
  return shift;
}

int ClientWidth(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return client.right;
}

}  // namespace

ProgressBarProgress::ProgressBarProgress(HWND bar, Clock clock) : bar_(bar), clock_(clock) {
  PBRANGE range{};
  SendMessageW(bar_, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  barMin_ = range.iLow;
  barMax_ = range.iHigh;
  min_ = barMin_;
  max_ = barMax_;
  position_ = static_cast<int>(SendMessageW(bar_, PBM_GETPOS, 0, 0));
  width_ = ClientWidth(bar_);
  filled_ = FilledPixels(position_);
}

void ProgressBarProgress::SetMin(std::int64_t value) { SetRange(value, max_); }

void ProgressBarProgress::SetMax(std::int64_t value) { SetRange(min_, value); }

// The ends are always shown: a full bar as a pass finishes, an empty one after.
void ProgressBarProgress::SetPosition(std::int64_t value) {
  const int position = ToBar(value);
  const bool atAnEnd = position == barMin_ || position == barMax_;
  if (FilledPixels(position) != filled_ && (atAnEnd || clock_() - shownAt_ >= kFrameMilliseconds)) Show(position);
  position_ = position;
}

// A pass sets the range once as it starts: the time to see whether the bar
// has changed its width.
void ProgressBarProgress::SetRange(std::int64_t min, std::int64_t max) {
  width_ = ClientWidth(bar_);
  min_ = min;
  max_ = max;
  shift_ = ShiftToFit(min, max);
  const int barMin = static_cast<int>(min >> shift_);
  const int barMax = static_cast<int>(max >> shift_);
  if (barMin == barMin_ && barMax == barMax_) {
    filled_ = FilledPixels(position_);
    return;
  }
  barMin_ = barMin;
  barMax_ = barMax;
  SendMessageW(bar_, PBM_SETRANGE32, static_cast<WPARAM>(barMin_), barMax_);
  Show(position_);
}

int ProgressBarProgress::ToBar(std::int64_t value) const {
  const std::int64_t shifted = value >> shift_;
  return static_cast<int>(shifted < barMin_ ? barMin_ : shifted > barMax_ ? barMax_ : shifted);
}

int ProgressBarProgress::FilledPixels(int position) const {
  const std::int64_t span = std::int64_t{barMax_} - barMin_;
  if (span <= 0) return 0;
  return static_cast<int>((std::int64_t{position} - barMin_) * width_ / span);
}

// A themed bar glides forward with timers that cannot run during a pass, but
// draws a step back at once: so it is set one past the position first.
void ProgressBarProgress::Show(int position) {
  if (position < barMax_) SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(position + 1), 0);
  SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  filled_ = FilledPixels(position);
  UpdateWindow(bar_);
  shownAt_ = clock_();
}

}  // namespace kelbrin::ui
