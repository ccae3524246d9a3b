#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "ProgressBarProgress.h"
#include "WindowTesting.h"

namespace kelbrin::test {
namespace {

constexpr int kBarWidth = 200;

// A visible bar whose position settings are counted. One bar serves every
// test: hiding a top-level window costs seconds on a display without a
// window manager.
class ProgressBarProgressTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    bar_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_POPUP | WS_VISIBLE, 0, 0, kBarWidth, 16, nullptr, nullptr,
                           nullptr, nullptr);
    SetWindowSubclass(bar_, CountSettings, 1, 0);
  }
  static void TearDownTestSuite() { DestroyWindow(bar_); }

  void SetUp() override {
    SendMessageW(bar_, PBM_SETRANGE32, 0, 100);
    SendMessageW(bar_, PBM_SETPOS, 0, 0);
    UpdateWindow(bar_);
    settings_ = 0;
  }

  int Position() const { return static_cast<int>(SendMessageW(bar_, PBM_GETPOS, 0, 0)); }
  PBRANGE Range() const {
    PBRANGE range{};
    SendMessageW(bar_, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    return range;
  }
  bool WaitsForPaint() const { return GetUpdateRect(bar_, nullptr, FALSE) != FALSE; }

  static HWND bar_;
  static int settings_;

 private:
  static LRESULT CALLBACK CountSettings(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == PBM_SETPOS) ++settings_;
    return DefSubclassProc(bar, message, wParam, lParam);
  }
};

HWND ProgressBarProgressTest::bar_ = nullptr;
int ProgressBarProgressTest::settings_ = 0;

// Clocks for the frame limit: one on which a frame passes between any two
// readings, and one that stands still.
std::uint64_t Racing() {
  static std::uint64_t now = 0;
  return now += ui::ProgressBarProgress::kFrameMilliseconds;
}
std::uint64_t Frozen() { return 1000; }

TEST_F(ProgressBarProgressTest, EveryByteOfAPassTouchesTheBarOnlyPerPixel) {
  ui::ProgressBarProgress progress(bar_, Racing);
  const std::int64_t size = 1 << 20;
  progress.SetMin(0);
  progress.SetMax(size);
  EXPECT_EQ(Range().iLow, 0);
  EXPECT_EQ(Range().iHigh, size);
  for (std::int64_t read = 1; read <= size; ++read) progress.SetPosition(read);
  EXPECT_EQ(Position(), size);
  // Two settings per pixel at the most, one past the position and then the
  // position, and two more as the range changes.
  EXPECT_LE(settings_, 2 * kBarWidth + 2);
  EXPECT_GE(settings_, kBarWidth);
  progress.SetPosition(0);
  EXPECT_EQ(Position(), 0);
}

TEST_F(ProgressBarProgressTest, WithinOneFrameOnlyTheEndsAreShown) {
  ui::ProgressBarProgress progress(bar_, Frozen);
  const std::int64_t size = 1 << 20;
  progress.SetMin(0);
  progress.SetMax(size);
  const int beforePass = settings_;
  for (std::int64_t read = 1; read < size; ++read) progress.SetPosition(read);
  EXPECT_EQ(settings_, beforePass);
  progress.SetPosition(size);
  EXPECT_EQ(Position(), size);
  progress.SetPosition(0);
  EXPECT_EQ(Position(), 0);
  EXPECT_LE(settings_, beforePass + 3);
}

TEST_F(ProgressBarProgressTest, TheBarIsPaintedAtOnce) {
  ui::ProgressBarProgress progress(bar_, Racing);
  progress.SetMax(100);
  for (std::int64_t read : {50, 100, 0}) {
    progress.SetPosition(read);
    EXPECT_EQ(Position(), read);
    EXPECT_FALSE(WaitsForPaint()) << read;
  }
}

TEST_F(ProgressBarProgressTest, SizesBeyondTheBarsRangeAreScaledDown) {
  ui::ProgressBarProgress progress(bar_, Racing);
  const std::int64_t size = std::int64_t{5} << 32;
  progress.SetMin(0);
  progress.SetMax(size);
  const PBRANGE range = Range();
  EXPECT_EQ(range.iLow, 0);
  EXPECT_GT(range.iHigh, 1 << 30);
  progress.SetPosition(size / 2);
  EXPECT_NEAR(Position(), range.iHigh / 2, 1);
  progress.SetPosition(size);
  EXPECT_EQ(Position(), range.iHigh);
  // A smaller file afterwards gets its own range back, unscaled.
  progress.SetMax(1000);
  EXPECT_EQ(Range().iHigh, 1000);
  progress.SetPosition(999);
  EXPECT_EQ(Position(), 999);
}

TEST_F(ProgressBarProgressTest, TheLargestSizeOfTheBarItselfFitsUnscaled) {
  ui::ProgressBarProgress progress(bar_, Racing);
  progress.SetMax(2147483647);
  EXPECT_EQ(Range().iHigh, 2147483647);
  progress.SetPosition(2147483647);
  EXPECT_EQ(Position(), 2147483647);
}

TEST_F(ProgressBarProgressTest, AnEmptyFileLeavesTheBarEmpty) {
  ui::ProgressBarProgress progress(bar_, Racing);
  progress.SetMin(0);
  progress.SetMax(0);
  progress.SetPosition(0);
  EXPECT_EQ(Position(), 0);
}

}  // namespace
}  // namespace kelbrin::test
