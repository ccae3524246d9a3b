// The application's side: escaped failures and the show command.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "Application.h"
#include "HandlerGuard.h"
#include "WindowTesting.h"

namespace kelbrin::test {
namespace {

std::exception_ptr Thrown(const std::function<void()>& thrower) {
  try {
    thrower();
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

TEST(ShowEscapedFailure, ShowsTheMessageWithAStopIconAndTheFullStopRule) {
  const std::pair<std::function<void()>, std::wstring> cases[] = {
      {[] { throw std::runtime_error("Disk not ready"); }, L"Disk not ready."},
      {[] { throw std::runtime_error("Done."); }, L"Done."},
      {[] { throw std::runtime_error("Stop!"); }, L"Stop!"},
      {[] { throw std::runtime_error("ディスクがありません"); }, L"ディスクがありません."},
      {[] { throw std::runtime_error(""); }, L""},
      {[] { throw 42; }, L"不明なエラーが発生しました."},
  };
  for (const auto& [thrower, shown] : cases) {
    PlatformRecorder platform;
    gui::ShowEscapedFailure(Thrown(thrower));
    ASSERT_EQ(platform.boxes.size(), 1u) << shown;
    EXPECT_EQ(platform.boxes[0].text, shown);
    EXPECT_EQ(platform.boxes[0].caption, L"Kelbrin");
    EXPECT_EQ(platform.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP | MB_TASKMODAL));
  }
}

TEST(ShowEscapedFailure, ASilentAbortShowsNothing) {
  PlatformRecorder platform;
  gui::ShowEscapedFailure(Thrown([] { throw ui::SilentAbort(); }));
  EXPECT_TRUE(platform.boxes.empty());
}

TEST(ShowEscapedFailure, AWindowHoldingTheMouseIsToldToLetGo) {
  PlatformRecorder platform;
  const HWND window =
      CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetCapture(window);
  ASSERT_EQ(GetCapture(), window);
  gui::ShowEscapedFailure(Thrown([] { throw std::runtime_error("x"); }));
  EXPECT_EQ(GetCapture(), nullptr);
  DestroyWindow(window);
}

TEST(MainWindowShowCommand, HonoursMaximisedAndMinimisedWithoutActivationOnly) {
  const std::pair<int, int> cases[] = {
      {SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED}, {SW_SHOWMINNOACTIVE, SW_SHOWMINNOACTIVE},
      {SW_SHOWNORMAL, SW_SHOWNORMAL},       {SW_SHOWDEFAULT, SW_SHOWNORMAL},
      {SW_SHOWMINIMIZED, SW_SHOWNORMAL},    {SW_MINIMIZE, SW_SHOWNORMAL},
      {SW_HIDE, SW_SHOWNORMAL},             {SW_SHOWNOACTIVATE, SW_SHOWNORMAL},
  };
  for (const auto& [requested, shown] : cases) EXPECT_EQ(gui::MainWindowShowCommand(requested), shown) << requested;
}

}  // namespace
}  // namespace kelbrin::test
