#include "Application.h"

#include <windows.h>

#include <memory>
#include <string>

#include "AboutUnit.h"
#include "FullStop.h"
#include "HandlerGuard.h"
#include "MainUnit.h"
#include "MessageBoxDisplay.h"
#include "PlatformCalls.h"
#include "SplitTarget.h"
#include "Text.h"

namespace kelbrin::gui {
namespace {

using namespace kelbrin::ui;

constexpr char kUnknownFailure[] = "不明なエラーが発生しました";

// Tab, the arrow keys and Enter move and press as in a dialog box.
int RunMessageLoop(HWND mainWindow) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsWindow(mainWindow) && IsDialogMessageW(mainWindow, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

void ShowEscapedFailure(std::exception_ptr failure) {
  std::string message;
  try {
    std::rethrow_exception(failure);
  } catch (const SilentAbort&) {
    return;
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = kUnknownFailure;
  }
  if (const HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
  Platform().messageBox(nullptr, FromMessage(WithFullStop(message)).c_str(), kApplicationTitle,
                        MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

int MainWindowShowCommand(int requested) {
  switch (requested) {
    case SW_SHOWMAXIMIZED:
    case SW_SHOWMINNOACTIVE:
      return requested;
    default:
      return SW_SHOWNORMAL;
  }
}

int RunApplication(int showCommand) {
  SetEscapedFailureHandler(ShowEscapedFailure);
  PlatformPathRules();  // the code-page facts are read once, at start-up

  const auto mainForm = std::make_unique<TMainForm>();
  MainForm = mainForm.get();
  mainForm->OnDestroy = [] { PostQuitMessage(0); };
  const auto aboutForm = std::make_unique<TAboutForm>(mainForm->Handle());
  AboutForm = aboutForm.get();

  ShowWindow(mainForm->Handle(), MainWindowShowCommand(showCommand));
  const int exitCode = RunMessageLoop(mainForm->Handle());
  AboutForm = nullptr;
  MainForm = nullptr;
  return exitCode;
}

}  // namespace kelbrin::gui
