// The file-open dialog behind the browse button and the File menu.
#include <gtest/gtest.h>

#include <memory>

#include "LayoutRules.h"
#include "MainUnit.h"
#include "Text.h"
#include "WindowTesting.h"

namespace kelbrin::test {
namespace {

// The five entries, each ended by a NUL, the list by another, in code page 932.
std::string ExpectedFilter() {
  const char* const parts[] = {"Dlephiソースファイル", "*.pas", "Cソースファイル",    "*.c",
                               "C++ソースファイル",    "*.cpp", "Javaソースファイル", "*.java",
                               "全てのファイル",       "*.*"};
  std::string filter;
  for (const char* part : parts) filter += Ansi(part) + '\0';
  return filter + '\0';
}

class OpenDialogTest : public testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(EscapedFailures(), std::vector<std::string>());
    EscapedFailures().clear();
  }

  void Browse() { SendMessageW(form->Button3, BM_CLICK, 0, 0); }
  void OpenFromTheMenu() {
    SendMessageW(form->Handle(), WM_COMMAND, GetMenuItemID(GetSubMenu(form->MainMenu1, 0), 0), 0);
  }

  PlatformRecorder platform;
  std::unique_ptr<ui::TMainForm> form = std::make_unique<ui::TMainForm>();
};

TEST_F(OpenDialogTest, TheFirstOpeningOffersTheFirstEntryAndNoFile) {
  Browse();
  ASSERT_EQ(platform.openRequests.size(), 1u);
  const auto& request = platform.openRequests[0];
  EXPECT_EQ(request.owner, form->Handle());
  EXPECT_EQ(request.filter, ExpectedFilter());
  EXPECT_EQ(request.filterIndex, 1u);
  EXPECT_EQ(request.initialFile, "");
  EXPECT_EQ(request.maxFile, 260u);
  // Neither an existing file nor an existing path is demanded, and the current directory may move.
  EXPECT_EQ(request.flags, static_cast<DWORD>(OFN_EXPLORER | OFN_HIDEREADONLY));
}

TEST_F(OpenDialogTest, AConfirmedFileBecomesTheTargetAndTheNextOpeningStartsOnIt) {
  const std::string path = Ansi("C:\\ソース\\表.c");
  platform.openAnswers = {{path, 2}};
  Browse();
  EXPECT_EQ(form->TargetDir, Ansi("C:\\ソース\\"));
  EXPECT_EQ(form->TargetFileName, Ansi("表.c"));
  EXPECT_EQ(ui::WindowText(form->TargetFileEdit), L"表.c");

  OpenFromTheMenu();  // the menu's entry opens the same dialog, in the same state
  ASSERT_EQ(platform.openRequests.size(), 2u);
  EXPECT_EQ(platform.openRequests[1].filterIndex, 2u);
  EXPECT_EQ(platform.openRequests[1].initialFile, path);
}

TEST_F(OpenDialogTest, ACancelChangesNeitherTheTargetNorWhatTheDialogOffers) {
  platform.openAnswers = {{"C:\\a.java", 4}, {std::nullopt, 1}};
  Browse();
  OpenFromTheMenu();
  EXPECT_EQ(form->TargetFileName, "a.java");
  EXPECT_EQ(ui::WindowText(form->TargetFileEdit), L"a.java");
  Browse();
  ASSERT_EQ(platform.openRequests.size(), 3u);
  EXPECT_EQ(platform.openRequests[2].filterIndex, 4u);
  EXPECT_EQ(platform.openRequests[2].initialFile, "C:\\a.java");
}

TEST_F(OpenDialogTest, TargetsChosenElsewhereDoNotChangeWhatTheDialogOffers) {
  platform.openAnswers = {{"C:\\a.cpp", 3}};
  Browse();
  form->SelectTarget("D:\\dropped.pas");
  Browse();
  ASSERT_EQ(platform.openRequests.size(), 2u);
  EXPECT_EQ(platform.openRequests[1].initialFile, "C:\\a.cpp");
  EXPECT_EQ(platform.openRequests[1].filterIndex, 3u);
  EXPECT_EQ(form->TargetFileName, "dropped.pas");  // the cancel kept the drop
}

TEST_F(OpenDialogTest, TheInitialFileIsCutToTheDialogsRoom) {
  const std::string longPath = "C:\\" + std::string(300, 'a');
  platform.openAnswers = {{longPath, 1}};
  Browse();
  Browse();
  ASSERT_EQ(platform.openRequests.size(), 2u);
  EXPECT_EQ(platform.openRequests[1].initialFile.size(), 259u);
}

// The real dialog, cancelled as soon as it shows.
struct SeenDialog {
  HWND window = nullptr;
  RECT frame{};
};
SeenDialog seenDialog;

BOOL CALLBACK FindDialog(HWND window, LPARAM) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  seenDialog.window = window;
  GetWindowRect(window, &seenDialog.frame);
  return FALSE;
}

void CALLBACK CancelTheDialog(HWND, UINT, UINT_PTR, DWORD) {
  if (seenDialog.window) return;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, 0);
  if (seenDialog.window) PostMessageW(seenDialog.window, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(OpenDialogTest, TheDialogOpensCentredAcrossWithAThirdOfTheFreeHeightAbove) {
  ui::Platform().getOpenFileName = ::GetOpenFileNameA;
  form->SelectTarget("C:\\kept.pas");
  seenDialog = {};
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, CancelTheDialog);
  form->FileAction();
  KillTimer(nullptr, timer);

  ASSERT_TRUE(seenDialog.window);
  const RECT& r = seenDialog.frame;
  const ui::Point expected = ui::DialogOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                              r.right - r.left, r.bottom - r.top);
  EXPECT_EQ((ui::Point{r.left, r.top}), expected);
  EXPECT_EQ(form->TargetFileName, "kept.pas");
}

}  // namespace
}  // namespace kelbrin::test
