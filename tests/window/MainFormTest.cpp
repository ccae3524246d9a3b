// The main window, created in process and driven with messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "MainUnit.h"
#include "TestFiles.h"
#include "Text.h"
#include "WindowTesting.h"

namespace kelbrin::test {
namespace {

using ui::Bounds;
using ui::TMainForm;
using M = TMainForm;

class MainFormTest : public testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(EscapedFailures(), std::vector<std::string>());
    EscapedFailures().clear();
  }

  // Made on first use, so that a test can set the command line first.
  TMainForm& Form() {
    if (!form_) form_ = std::make_unique<TMainForm>();
    return *form_;
  }

  Bounds Scaled(const Bounds& design) { return ui::Scaled(design, Form().LayoutScale()); }

  void ExpectLaidOut();

  void Tick(HWND box) { SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0); }
  bool IsTicked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

  void ShowAndActivate() {
    ShowWindow(Form().Handle(), SW_SHOW);
    SetForegroundWindow(Form().Handle());
    SetActiveWindow(Form().Handle());
    PumpMessages();
  }

  // What a key does when the message loop hands it to the dialog manager.
  void PressKey(WPARAM key) {
    MSG down{GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
    MSG up{GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001), 0, {}};
    for (MSG* message : {&down, &up})
      if (!IsDialogMessageW(Form().Handle(), message)) DispatchMessageW(message);
    PumpMessages();
  }

  PlatformRecorder platform;

 private:
  std::unique_ptr<TMainForm> form_;
};

// The control table, as the window should show it.
struct ExpectedControl {
  const char* name;
  HWND TMainForm::*control;
  const wchar_t* className;
  LONG buttonType;  // -1 where the control is no button
  HWND TMainForm::*parent;
  Bounds design;
  const char* text;
};

const ExpectedControl kExpectedControls[] = {
    {"Panel4", &M::Panel4, L"KelbrinPanel", -1, nullptr, {0, 0, 443, 57}, ""},
    {"TargetFileEdit", &M::TargetFileEdit, L"Edit", -1, &M::Panel4, {8, 8, 265, 20}, ""},
    {"Button3", &M::Button3, L"Button", BS_PUSHBUTTON, &M::Panel4, {272, 8, 49, 25}, "参　照"},
    {"Button4", &M::Button4, L"Button", BS_PUSHBUTTON, &M::Panel4, {328, 8, 57, 25}, "実　行"},
    {"ProgressBar", &M::ProgressBar, PROGRESS_CLASSW, -1, &M::Panel4, {0, 40, 441, 16}, ""},
    {"Panel1", &M::Panel1, L"KelbrinPanel", -1, nullptr, {0, 57, 443, 72}, ""},
    {"Panel2", &M::Panel2, L"KelbrinPanel", -1, &M::Panel1, {2, 2, 199, 68}, ""},
    {"CommentCheckBox", &M::CommentCheckBox, L"Button", BS_AUTOCHECKBOX, &M::Panel2, {8, 16, 185, 17},
     "ソースからコメントをすべて消す"},
    {"Panel3", &M::Panel3, L"KelbrinPanel", -1, &M::Panel1, {201, 2, 240, 68}, ""},
    {"SpaceToTabCheckBox", &M::SpaceToTabCheckBox, L"Button", BS_AUTOCHECKBOX, &M::Panel3, {8, 16, 193, 17},
     "半角スペースをタブに変換する"},
    {"Space3CheckBox", &M::Space3CheckBox, L"Button", BS_AUTOCHECKBOX, &M::Panel3, {32, 32, 201, 17},
     "半角スペース３つもタブに変換する"},
};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

TEST_F(MainFormTest, EveryControlIsWhereTheTablePutsIt) {
  for (const ExpectedControl& expected : kExpectedControls) {
    SCOPED_TRACE(expected.name);
    const HWND control = Form().*expected.control;
    ASSERT_TRUE(IsWindow(control));
    EXPECT_EQ(ClassOf(control), expected.className);
    EXPECT_EQ(GetParent(control), expected.parent ? Form().*expected.parent : Form().Handle());
    EXPECT_EQ(BoundsInParent(control), Scaled(expected.design));
    EXPECT_EQ(ui::WindowText(control), Wide(expected.text));
    EXPECT_TRUE(GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE);
    if (expected.buttonType >= 0) {
      EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK, expected.buttonType);
    }
  }
}

TEST_F(MainFormTest, StartsEmptyAndUnticked) {
  EXPECT_EQ(ui::WindowText(Form().TargetFileEdit), L"");
  EXPECT_EQ(Form().TargetDir, "");
  EXPECT_EQ(Form().TargetFileName, "");
  for (HWND box : {Form().CommentCheckBox, Form().SpaceToTabCheckBox, Form().Space3CheckBox})
    EXPECT_FALSE(IsTicked(box));
  PBRANGE range{};
  SendMessageW(Form().ProgressBar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 100);
  EXPECT_EQ(SendMessageW(Form().ProgressBar, PBM_GETPOS, 0, 0), 0);
}

TEST_F(MainFormTest, TheWindowIsFixedAndLaidOutWhereItWasDesigned) {
  const HWND window = Form().Handle();
  EXPECT_EQ(ui::WindowText(window), L"Kelbrin");
  ExpectFixedWindow(window, 258, 189, Scaled({0, 0, 443, 129}));
  EXPECT_EQ(GetMenu(window), Form().MainMenu1);
}

// Panels show no text and keep no font.
TEST_F(MainFormTest, EveryControlWithATextTakesTheWindowFont) {
  for (const ExpectedControl& expected : kExpectedControls) {
    if (ClassOf(Form().*expected.control) == L"KelbrinPanel") continue;
    SCOPED_TRACE(expected.name);
    const LOGFONTW font = FontOf(Form().*expected.control);
    EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(font.lfHeight, -12);  // the screen here has 96 dots per inch
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
  }
}

// The layout follows the digit zero of the font the window really got.
TEST_F(MainFormTest, TheLayoutScalesByTheDigitZeroOfTheWindowFont) {
  const int measured = DigitZeroHeight(Form().WindowFont());
  EXPECT_EQ(Form().LayoutScale(), (ui::Scale{measured, 12}));
}

// Each parent's children lie in their tab order; panels and the bar take no focus.
TEST_F(MainFormTest, ControlsFollowTheirTabOrderWithinEachParent) {
  const std::pair<HWND TMainForm::*, std::vector<HWND TMainForm::*>> parents[] = {
      {nullptr, {&M::Panel1, &M::Panel4}},
      {&M::Panel4, {&M::TargetFileEdit, &M::Button3, &M::Button4, &M::ProgressBar}},
      {&M::Panel1, {&M::Panel2, &M::Panel3}},
      {&M::Panel2, {&M::CommentCheckBox}},
      {&M::Panel3, {&M::SpaceToTabCheckBox, &M::Space3CheckBox}},
  };
  for (const auto& [parent, children] : parents) {
    std::vector<HWND> expected, found;
    for (HWND TMainForm::*child : children) expected.push_back(Form().*child);
    for (HWND w = GetWindow(parent ? Form().*parent : Form().Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      found.push_back(w);
    EXPECT_EQ(found, expected);
  }
  for (HWND TMainForm::*still : {&M::Panel1, &M::Panel2, &M::Panel3, &M::Panel4, &M::ProgressBar})
    EXPECT_FALSE(GetWindowLongW(Form().*still, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(MainFormTest, TabMovesThroughTheControlsInOrderAndRoundAgain) {
  const std::vector<HWND> cycle = {Form().CommentCheckBox, Form().SpaceToTabCheckBox, Form().Space3CheckBox,
                                   Form().TargetFileEdit,  Form().Button3,            Form().Button4,
                                   Form().CommentCheckBox};
  ShowAndActivate();
  std::vector<HWND> visited = {GetFocus()};
  for (std::size_t i = 1; i < cycle.size(); ++i) {
    PressKey(VK_TAB);
    visited.push_back(GetFocus());
  }
  EXPECT_EQ(visited, cycle);
}

TEST_F(MainFormTest, FocusStartsOnTheCommentBoxAndTheSpaceBarTicksIt) {
  ShowAndActivate();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Form().CommentCheckBox; }));
  PressKey(VK_SPACE);
  EXPECT_TRUE(IsTicked(Form().CommentCheckBox));
  EXPECT_FALSE(IsTicked(Form().SpaceToTabCheckBox));
}

TEST_F(MainFormTest, FocusComesBackToTheControlThatHadIt) {
  ShowAndActivate();
  SetFocus(Form().Button3);
  SendMessageW(Form().Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(nullptr);
  SendMessageW(Form().Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), Form().Button3);
}

TEST_F(MainFormTest, EnterPressesOnlyTheFocusedButtonAndEscapeNone) {
  Tick(Form().CommentCheckBox);  // with no file chosen a run says so: a box shows the press
  ShowAndActivate();
  for (HWND focus : {Form().CommentCheckBox, Form().TargetFileEdit, Form().Button4}) {
    SetFocus(focus);
    PressKey(VK_ESCAPE);
  }
  SetFocus(Form().CommentCheckBox);
  PressKey(VK_RETURN);
  EXPECT_TRUE(platform.boxes.empty());
  SetFocus(Form().Button4);
  PressKey(VK_RETURN);
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, L"ファイルが選択されていません。");
}

TEST_F(MainFormTest, TheMenuBarHoldsItsItemsWithoutAcceleratorLetters) {
  auto text = [](HMENU menu, int position) {
    wchar_t buffer[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), buffer, 64, MF_BYPOSITION);
    return std::wstring(buffer);
  };
  const HMENU bar = Form().MainMenu1;
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(text(bar, 0), L"ファイル");
  EXPECT_EQ(text(bar, 1), L"ヘルプ");
  const HMENU file = GetSubMenu(bar, 0);
  const HMENU help = GetSubMenu(bar, 1);
  ASSERT_EQ(GetMenuItemCount(file), 2);
  ASSERT_EQ(GetMenuItemCount(help), 2);
  EXPECT_EQ(text(file, 0), L"ファイルを開く");
  EXPECT_EQ(text(file, 1), L"終了");
  EXPECT_EQ(text(help, 0), L"ヘルプ");
  EXPECT_EQ(text(help, 1), L"About");
}

TEST_F(MainFormTest, ExitClosesTheWindowAsTheCloseButtonDoes) {
  bool destroyed = false;
  Form().OnDestroy = [&] { destroyed = true; };
  const HMENU file = GetSubMenu(Form().MainMenu1, 0);
  SendMessageW(Form().Handle(), WM_COMMAND, GetMenuItemID(file, 1), 0);
  EXPECT_TRUE(PumpUntil([&] { return destroyed; }));
  EXPECT_EQ(Form().Handle(), nullptr);
}

// ---- Choosing the target

struct Selection {
  const char* path;  // UTF-8; the window gets it in code page 932
  const char* dir;
  const char* name;
};

const Selection kSelections[] = {
    {"C:\\work\\a.pas", "C:\\work\\", "a.pas"},
    {"a.pas", "", "a.pas"},
    {"sub\\a.pas", "sub\\", "a.pas"},
    {"C:a.pas", "C:", "a.pas"},
    {"C:\\work\\", "C:\\work\\", ""},
    {"C:\\ソース\\表.pas", "C:\\ソース\\", "表.pas"},
    {"C:\\ソース", "C:\\", "ソース"},
};

TEST_F(MainFormTest, SelectTargetSplitsThePathAndShowsTheBareName) {
  for (const Selection& s : kSelections) {
    SCOPED_TRACE(s.path);
    Form().SelectTarget(Ansi(s.path));
    EXPECT_EQ(Form().TargetDir, Ansi(s.dir));
    EXPECT_EQ(Form().TargetFileName, Ansi(s.name));
    EXPECT_EQ(ui::WindowText(Form().TargetFileEdit), Wide(s.name));
  }
}

TEST_F(MainFormTest, TheFirstCommandLineArgumentIsTheTarget) {
  platform.commandLine = Ansi("\"C:\\Program Files\\kelbrin.exe\" \"C:\\ソース\\表.pas\" second.pas");
  EXPECT_EQ(Form().TargetDir, Ansi("C:\\ソース\\"));
  EXPECT_EQ(Form().TargetFileName, Ansi("表.pas"));
  EXPECT_EQ(ui::WindowText(Form().TargetFileEdit), L"表.pas");
}

TEST_F(MainFormTest, WithoutAnArgumentTheTargetStaysEmpty) {
  platform.commandLine = "kelbrin.exe \"\"  ";
  EXPECT_EQ(Form().TargetFileName, "");
  EXPECT_EQ(ui::WindowText(Form().TargetFileEdit), L"");
}

TEST_F(MainFormTest, ADropOfSeveralFilesTakesTheFirstAndFinishesTheDrop) {
  EXPECT_TRUE(GetWindowLongW(Form().Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  const HDROP drop = MakeDrop({Ansi("D:\\ソース\\表.pas"), "D:\\b.c", "D:\\c.java"});
  EXPECT_EQ(SendMessageW(Form().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0), 0);
  EXPECT_EQ(Form().TargetDir, Ansi("D:\\ソース\\"));
  EXPECT_EQ(Form().TargetFileName, Ansi("表.pas"));
  EXPECT_EQ(ui::WindowText(Form().TargetFileEdit), L"表.pas");
  EXPECT_EQ(platform.finishedDrops, std::vector<HDROP>{drop});
}

TEST_F(MainFormTest, ADropWithNothingToReadKeepsTheTarget) {
  Form().SelectTarget("C:\\a.pas");
  const HDROP drop = MakeDrop({});
  SendMessageW(Form().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_EQ(Form().TargetFileName, "a.pas");
  EXPECT_EQ(ui::WindowText(Form().TargetFileEdit), L"a.pas");
  EXPECT_EQ(platform.finishedDrops, std::vector<HDROP>{drop});
}

TEST_F(MainFormTest, ADropIsFinishedEvenWhenReadingItFails) {
  platform.beforeDragQuery = [] { throw std::runtime_error("the shell gave up"); };
  const HDROP drop = MakeDrop({"C:\\a.pas"});
  SendMessageW(Form().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_EQ(platform.finishedDrops, std::vector<HDROP>{drop});
  EXPECT_EQ(EscapedFailures(), std::vector<std::string>{"the shell gave up"});
  EscapedFailures().clear();
  EXPECT_EQ(Form().TargetFileName, "");
}

// ---- Running

const std::string kSource = "a = b / c; // note\r\n    x\r\n";
const std::string kWithoutComments = "a = b / c; \r\n    x\r\n";
const std::string kTidied = "a = b / c; \r\n\tx\r\n";

void PressRun(TMainForm& form) { SendMessageW(form.Button4, BM_CLICK, 0, 0); }

TEST_F(MainFormTest, ARunWithBothPassesLeavesBothBackupsAndSaysSoOnce) {
  TempDir dir;
  const std::string name = Ansi("表.pas");
  WriteBytes(dir / name, kSource);
  Form().SelectTarget(dir / name);
  Tick(Form().CommentCheckBox);
  Tick(Form().SpaceToTabCheckBox);
  PressRun(Form());

  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, L"んん、カッコよくなったなっ!!");
  EXPECT_EQ(platform.boxes[0].caption, L"Kelbrin");
  EXPECT_EQ(platform.boxes[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(platform.boxes[0].owner, Form().Handle());
  EXPECT_EQ(ReadBytes(dir / ("ComOld_" + name)), kSource);
  EXPECT_EQ(ReadBytes(dir / ("TabOld_" + name)), kWithoutComments);
  EXPECT_EQ(ReadBytes(dir / name), kTidied);
  EXPECT_EQ(SendMessageW(Form().ProgressBar, PBM_GETPOS, 0, 0), 0);
  // The boxes keep their states, and the target stays for another run.
  EXPECT_TRUE(IsTicked(Form().CommentCheckBox));
  EXPECT_EQ(Form().TargetFileName, name);
}

TEST_F(MainFormTest, ARunShowsItsProgressOnTheBar) {
  TempDir dir;
  WriteBytes(dir / "big.pas", std::string(3 << 20, ' '));
  Form().SelectTarget(dir / "big.pas");
  Tick(Form().SpaceToTabCheckBox);
  std::vector<LPARAM> positions;
  SetWindowSubclass(
      Form().ProgressBar,
      [](HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR seen) -> LRESULT {
        if (message == PBM_SETPOS) reinterpret_cast<std::vector<LPARAM>*>(seen)->push_back(static_cast<LPARAM>(wParam));
        return DefSubclassProc(bar, message, wParam, lParam);
      },
      1, reinterpret_cast<DWORD_PTR>(&positions));
  PressRun(Form());
  RemoveWindowSubclass(Form().ProgressBar, nullptr, 1);

  ASSERT_FALSE(positions.empty());
  EXPECT_GT(*std::max_element(positions.begin(), positions.end()), (3 << 20) / 2);
  EXPECT_EQ(positions.back(), 0);
  EXPECT_EQ(ReadBytes(dir / "big.pas"), std::string(3 << 20 >> 2, '\t'));
}

TEST_F(MainFormTest, ARunWithNoPassTickedDoesNothing) {
  TempDir dir;
  WriteBytes(dir / "x.pas", kSource);
  Form().SelectTarget(dir / "x.pas");
  PressRun(Form());
  Tick(Form().Space3CheckBox);
  PressRun(Form());
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"x.pas"});
}

TEST_F(MainFormTest, ARunWorksOnTheFileChosenNotOnWhatWasTyped) {
  TempDir dir;
  WriteBytes(dir / "x.pas", kSource);
  WriteBytes(dir / "typed.pas", kSource);
  Form().SelectTarget(dir / "x.pas");
  SetWindowTextW(Form().TargetFileEdit, ui::FromAnsi(dir / "typed.pas").c_str());
  Tick(Form().CommentCheckBox);
  PressRun(Form());
  EXPECT_EQ(ReadBytes(dir / "x.pas"), kWithoutComments);
  EXPECT_EQ(ReadBytes(dir / "typed.pas"), kSource);
}

TEST_F(MainFormTest, ARunWithNoFileChosenSaysSo) {
  Tick(Form().CommentCheckBox);
  PressRun(Form());
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, L"ファイルが選択されていません。");
  EXPECT_EQ(platform.boxes[0].caption, L"Kelbrin");
  EXPECT_EQ(platform.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

TEST_F(MainFormTest, ARunOnAMissingFileSaysTheFileIsUnchanged) {
  TempDir dir;
  Form().SelectTarget(dir / "missing.pas");
  Tick(Form().SpaceToTabCheckBox);
  PressRun(Form());
  ASSERT_EQ(platform.boxes.size(), 1u);
  const std::wstring& text = platform.boxes[0].text;
  EXPECT_TRUE(text.starts_with(L"タブへの変換に失敗しました。\n" + ui::FromAnsi(dir / "missing.pas") + L"\n")) << text;
  EXPECT_TRUE(text.ends_with(L"\nファイルは元のままです。")) << text;
  EXPECT_EQ(platform.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_TRUE(dir.Names().empty());
}

// ---- Size and scale

// Panels follow their alignment within the bevel frames, which keep their
// pixel; every other control keeps its scaled place.
void MainFormTest::ExpectLaidOut() {
  RECT client;
  GetClientRect(Form().Handle(), &client);
  const int top = Scaled({0, 0, 443, 57}).height;
  const Bounds panel1{0, top, client.right, client.bottom - top};
  const int left = Scaled({2, 2, 199, 68}).width;
  EXPECT_EQ(BoundsInParent(Form().Panel4), (Bounds{0, 0, client.right, top}));
  EXPECT_EQ(BoundsInParent(Form().Panel1), panel1);
  EXPECT_EQ(BoundsInParent(Form().Panel2), (Bounds{2, 2, left, panel1.height - 4}));
  EXPECT_EQ(BoundsInParent(Form().Panel3), (Bounds{2 + left, 2, panel1.width - 4 - left, panel1.height - 4}));
  for (const ExpectedControl& expected : kExpectedControls) {
    if (ClassOf(Form().*expected.control) == L"KelbrinPanel") continue;
    EXPECT_EQ(BoundsInParent(Form().*expected.control), Scaled(expected.design)) << expected.name;
  }
}

TEST_F(MainFormTest, MaximisedThePanelsKeepTheirRulesAndTheControlsTheirPlaces) {
  ShowWindow(Form().Handle(), SW_SHOWMAXIMIZED);
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(Form().Handle()) != FALSE; }));
  RECT client;
  GetClientRect(Form().Handle(), &client);
  const Bounds design = Scaled({0, 0, 443, 129});
  ASSERT_GT(client.right, design.width);
  ASSERT_GT(client.bottom, design.height);
  ExpectLaidOut();

  ShowWindow(Form().Handle(), SW_RESTORE);
  ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(Form().Handle()); }));
  for (const ExpectedControl& expected : kExpectedControls)
    EXPECT_EQ(BoundsInParent(Form().*expected.control), Scaled(expected.design)) << expected.name;
}

// On a screen of 192 dots per inch the font doubles and the layout follows
// its digit zero, whatever face the system gave.
TEST_F(MainFormTest, ALargerFontScalesTheWholeLayout) {
  RECT suggested;
  GetWindowRect(Form().Handle(), &suggested);
  SendMessageW(Form().Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));

  EXPECT_EQ(FontOf(Form().Button4).lfHeight, -24);
  const int measured = DigitZeroHeight(Form().WindowFont());
  EXPECT_GE(measured, 24);
  EXPECT_EQ(Form().LayoutScale(), (ui::Scale{measured, 12}));
  RECT client;
  GetClientRect(Form().Handle(), &client);
  EXPECT_EQ((Bounds{0, 0, client.right, client.bottom}), Scaled({0, 0, 443, 129}));
  ExpectLaidOut();
}

}  // namespace
}  // namespace kelbrin::test
