#include "WindowTesting.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "HandlerGuard.h"
#include "Text.h"

namespace kelbrin::test {
namespace {

PlatformRecorder* recorder = nullptr;

PlatformRecorder& Current() {
  if (!recorder) throw std::logic_error("no PlatformRecorder");
  return *recorder;
}

LPSTR WINAPI RecordedCommandLine() { return Current().commandLine.data(); }

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  Current().boxes.push_back({owner, text, caption, type});
  return IDOK;
}

UINT WINAPI RecordDragQuery(HDROP drop, UINT index, LPSTR buffer, UINT room) {
  if (Current().beforeDragQuery) Current().beforeDragQuery();
  return ::DragQueryFileA(drop, index, buffer, room);
}

void WINAPI RecordDragFinish(HDROP drop) {
  Current().finishedDrops.push_back(drop);
  ::DragFinish(drop);
}

std::string FilterOf(const char* filter) {
  std::string bytes;
  for (const char* entry = filter; *entry; entry += std::strlen(entry) + 1) bytes.append(entry, std::strlen(entry) + 1);
  return bytes + '\0';
}

BOOL WINAPI RecordOpenDialog(LPOPENFILENAMEA dialog) {
  PlatformRecorder& self = Current();
  self.openRequests.push_back({dialog->hwndOwner, FilterOf(dialog->lpstrFilter), dialog->nFilterIndex,
                               dialog->lpstrFile, dialog->nMaxFile, dialog->Flags});
  if (self.openAnswers.empty()) return FALSE;
  const PlatformRecorder::OpenAnswer answer = self.openAnswers.front();
  self.openAnswers.erase(self.openAnswers.begin());
  if (!answer.path) return FALSE;
  std::strncpy(dialog->lpstrFile, answer.path->c_str(), dialog->nMaxFile - 1);
  dialog->nFilterIndex = answer.filterIndex;
  return TRUE;
}

HINSTANCE WINAPI RecordShellOpen(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                 INT show) {
  auto text = [](LPCSTR s) { return s ? std::string(s) : std::string("(null)"); };
  Current().shellOpens.push_back({owner, text(verb), text(file), text(parameters), text(directory), show});
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));  // above 32: done
}

void RecordEscapedFailure(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    EscapedFailures().push_back(e.what());
  } catch (...) {
    EscapedFailures().push_back("(not a std::exception)");
  }
}

// Every window test records escaped failures rather than showing them.
const bool kRecordingEscapedFailures = [] {
  ui::SetEscapedFailureHandler(RecordEscapedFailure);
  return true;
}();

}  // namespace

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

ui::Bounds BoundsInParent(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void ExpectFixedWindow(HWND window, int left, int top, const ui::Bounds& client) {
  RECT frame, inside;
  GetWindowRect(window, &frame);
  GetClientRect(window, &inside);
  EXPECT_EQ(frame.left, left);
  EXPECT_EQ(frame.top, top);
  EXPECT_EQ((ui::Bounds{0, 0, inside.right, inside.bottom}), client);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  const LONG buttons = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  EXPECT_EQ(style & buttons, buttons);
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

int DigitZeroHeight(HFONT font) {
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, L"0", 1, &size);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  return size.cy;
}

std::wstring Wide(const std::string& utf8) { return ui::FromUtf8(utf8); }

std::string Ansi(const std::string& utf8) { return ui::Narrow(ui::FromUtf8(utf8), CP_ACP); }

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string program = path;
  return program.substr(0, program.find_last_of('\\') + 1);
}

HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& path : paths) size += path.size() + 1;
  const HGLOBAL memory = GlobalAlloc(GHND, size);
  auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = FALSE;
  char* at = reinterpret_cast<char*>(files + 1);
  for (const std::string& path : paths) at = std::strcpy(at, path.c_str()) + path.size() + 1;
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

PlatformRecorder::PlatformRecorder() : saved_(ui::Platform()) {
  if (recorder) throw std::logic_error("PlatformRecorder in use");
  recorder = this;
  ui::PlatformCalls& calls = ui::Platform();
  calls.getCommandLine = RecordedCommandLine;
  calls.messageBox = RecordMessageBox;
  calls.dragQueryFile = RecordDragQuery;
  calls.dragFinish = RecordDragFinish;
  calls.getOpenFileName = RecordOpenDialog;
  calls.shellExecute = RecordShellOpen;
}

PlatformRecorder::~PlatformRecorder() {
  ui::Platform() = saved_;
  recorder = nullptr;
}

std::vector<std::string>& EscapedFailures() {
  static std::vector<std::string> failures;
  return failures;
}

}  // namespace kelbrin::test
