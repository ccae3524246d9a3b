#include "MessageBoxDisplay.h"

#include "FailureText.h"
#include "PlatformCalls.h"
#include "Text.h"

namespace kelbrin::ui {

void MessageBoxDisplay::ShowCompletion(std::string_view utf8Text) {
  Platform().messageBox(owner_, FromUtf8(utf8Text).c_str(), kApplicationTitle, MB_OK);
}

void MessageBoxDisplay::ShowFailure(const PassFailure& failure) {
  Platform().messageBox(owner_, FailureText(failure).c_str(), kApplicationTitle, MB_OK | MB_ICONSTOP);
}

}  // namespace kelbrin::ui
