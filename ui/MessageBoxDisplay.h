#pragma once

#include <windows.h>

#include "MessageDisplay.h"

namespace kelbrin::ui {

// The program's title: the caption of the main window and of its message boxes.
inline constexpr wchar_t kApplicationTitle[] = L"Kelbrin";

// A run's messages in modal boxes over the main window: the completion with
// a single OK and no icon, a failure with the stop icon.
class MessageBoxDisplay final : public MessageDisplay {
 public:
  explicit MessageBoxDisplay(HWND owner) : owner_(owner) {}

  void ShowCompletion(std::string_view utf8Text) override;
  void ShowFailure(const PassFailure& failure) override;

 private:
  HWND owner_;
};

}  // namespace kelbrin::ui
