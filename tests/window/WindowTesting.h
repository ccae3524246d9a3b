#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "LayoutRules.h"
#include "PlatformCalls.h"

namespace kelbrin::test {

using namespace std::chrono_literals;

// Handles the messages waiting for this thread's windows.
void PumpMessages();

// Handles messages until `done` holds or the time is up; says whether it holds.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);

// A control's rectangle within its parent's client area.
ui::Bounds BoundsInParent(HWND control);

// A top-level window with a fixed frame and the system menu, minimise and
// maximise buttons, at this place on the screen, with this client size.
void ExpectFixedWindow(HWND window, int left, int top, const ui::Bounds& client);

// A font's face, character height and character set.
LOGFONTW FontOf(HWND window);

// The height of the digit zero in a font, as the layouts measure it.
int DigitZeroHeight(HFONT font);

std::wstring Wide(const std::string& utf8);

// Code page 932 bytes from UTF-8, as the program's "A" calls see paths.
std::string Ansi(const std::string& utf8);

// The folder of this test program, with its trailing separator.
std::string ProgramFolder();

// A drop handle such as the shell hands over, holding these paths.
HDROP MakeDrop(const std::vector<std::string>& paths);

// Replaces the platform calls with recorders while it lives; one at a time.
class PlatformRecorder {
 public:
  struct Box {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
  };
  struct ShellOpen {
    HWND owner;
    std::string verb, file, parameters, directory;
    INT show;
  };
  struct OpenRequest {
    HWND owner;
    std::string filter;  // with its NULs, up to the double NUL
    DWORD filterIndex;
    std::string initialFile;
    DWORD maxFile;
    DWORD flags;
  };
  // What the open dialog answers: a path and the filter entry, or a cancel.
  struct OpenAnswer {
    std::optional<std::string> path;
    DWORD filterIndex = 1;
  };

  PlatformRecorder();
  ~PlatformRecorder();
  PlatformRecorder(const PlatformRecorder&) = delete;
  PlatformRecorder& operator=(const PlatformRecorder&) = delete;

  std::string commandLine = "kelbrin.exe";
  std::vector<OpenAnswer> openAnswers;  // taken in order; a cancel when none is left
  std::function<void()> beforeDragQuery;  // may throw, as a failure inside a drop would

  std::vector<Box> boxes;
  std::vector<HDROP> finishedDrops;
  std::vector<OpenRequest> openRequests;
  std::vector<ShellOpen> shellOpens;

 private:
  ui::PlatformCalls saved_;
};

// Failures that escaped a handler, recorded instead of shown.
std::vector<std::string>& EscapedFailures();

}  // namespace kelbrin::test
