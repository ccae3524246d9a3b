// The about dialog and the Help menu, in process.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "AboutUnit.h"
#include "MainUnit.h"
#include "TestFiles.h"
#include "Text.h"
#include "WindowTesting.h"
#include "resource.h"

namespace kelbrin::test {
namespace {

using ui::Bounds;
using ui::TAboutForm;
using A = TAboutForm;

struct ExpectedFont {
  const wchar_t* face;
  int height;
  bool bold;
  bool italic;
  BYTE charset;
};

const ExpectedFont F1{L"ＤＦ行書体", 37, true, false, SHIFTJIS_CHARSET};
const ExpectedFont F2{L"Arial", 15, true, true, ANSI_CHARSET};
const ExpectedFont F3{L"ＭＳ ゴシック", 13, false, false, SHIFTJIS_CHARSET};
const ExpectedFont F4{L"ＭＳ ゴシック", 13, true, false, SHIFTJIS_CHARSET};
const ExpectedFont F5{L"Arial", 13, true, true, ANSI_CHARSET};

struct ExpectedLabel {
  const char* name;
  HWND TAboutForm::*label;
  int left, top;
  const ExpectedFont* font;
  const char* text;
};

const ExpectedLabel kExpectedLabels[] = {
    {"Label1", &A::Label1, 8, 8, &F1, "Kelbrin"},
    {"Label15", &A::Label15, 288, 8, &F4, "Vantorソフトウェア第２弾"},
    {"Label2", &A::Label2, 288, 26, &F2, "Ver 1.10"},
    {"Label3", &A::Label3, 32, 56, &F3, "せっかくだから、俺はこの"},
    {"Label4", &A::Label4, 192, 56, &F3, "赤の"},
    {"Label5", &A::Label5, 224, 56, &F3, "コメントを消すぜ!!"},
    {"Label7", &A::Label7, 32, 68, &F3, "Delphiのエディタ、そんなに半角スペースばっか使うんじゃねぇ!!"},
    {"Label14", &A::Label14, 376, 80, &F3, "的ソフトウェア"},
    {"Label6", &A::Label6, 32, 104, &F3, "なお、このソフトウェアは、「最高ですよ!!」ウェアです。"},
    {"Label8", &A::Label8, 176, 128, &F5, "Made by"},
    {"Label9", &A::Label9, 256, 131, &F4, "Vantorソフトウェア"},
    {"Label10", &A::Label10, 179, 144, &F5, "WebPage"},
    {"Label12", &A::Label12, 256, 147, &F4, "Vantorソフトウェアのページ"},
    {"Label11", &A::Label11, 189, 160, &F5, "E-Mail"},
    {"Label13", &A::Label13, 256, 163, &F4, "kelbrin@example.com"},
};

SIZE TextSize(HWND label) {
  const HDC dc = GetDC(label);
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  const std::wstring text = ui::WindowText(label);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  return size;
}

// The pixels of a bitmap of this size after `draw`, top row first.
std::vector<std::uint32_t> Drawn(int width, int height, const std::function<void(HDC)>& draw) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(dc, bitmap);
  draw(dc);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> drawn(pixels, pixels + width * height);
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return drawn;
}

// Runs on the thread's queue, in turn with the messages posted before it.
class QueuedSteps {
 public:
  QueuedSteps() {
    window_ = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowSubclass(window_, RunStep, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~QueuedSteps() { DestroyWindow(window_); }

  void Post(std::function<void()> step) {
    steps_.push_back(std::move(step));
    PostMessageW(window_, WM_APP, steps_.size() - 1, 0);
  }

 private:
  static LRESULT CALLBACK RunStep(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR self) {
    if (message != WM_APP) return DefSubclassProc(window, message, wParam, lParam);
    reinterpret_cast<QueuedSteps*>(self)->steps_[wParam]();
    return 0;
  }

  HWND window_;
  std::vector<std::function<void()>> steps_;
};

void PostKey(HWND window, WPARAM key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

void Click(HWND control) {
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

class AboutFormTest : public testing::Test {
 protected:
  AboutFormTest() { ui::AboutForm = about.get(); }
  ~AboutFormTest() override { ui::AboutForm = nullptr; }

  void TearDown() override {
    EXPECT_EQ(EscapedFailures(), std::vector<std::string>());
    EscapedFailures().clear();
  }

  Bounds Scaled(const Bounds& design) { return ui::Scaled(design, about->LayoutScale()); }
  void ChooseHelp() { SendMessageW(main->Handle(), WM_COMMAND, GetMenuItemID(GetSubMenu(main->MainMenu1, 1), 0), 0); }

  // The picture keeps its scaled place and draws the main icon in its top
  // left corner at the icon's own 32 by 32 pixels, on the dialog's background.
  void ExpectTheIconAtItsOwnSizeInThePicturesCorner() {
    const Bounds place = Scaled({72, 136, 33, 33});
    ASSERT_EQ(BoundsInParent(about->Image2), place);
    const auto icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KELBRIN), IMAGE_ICON, 32, 32, LR_SHARED));
    ASSERT_TRUE(icon);
    const auto shown = Drawn(place.width, place.height, [&](HDC dc) {
      SendMessageW(about->Image2, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
    const auto expected = Drawn(place.width, place.height, [&](HDC dc) {
      const RECT whole{0, 0, place.width, place.height};
      FillRect(dc, &whole, GetSysColorBrush(COLOR_BTNFACE));
      DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    });
    EXPECT_TRUE(shown == expected) << "the picture, " << place.width << " by " << place.height
                                   << " pixels, does not show the icon at 32 by 32 in its top left corner";
  }

  PlatformRecorder platform;
  std::unique_ptr<ui::TMainForm> main = std::make_unique<ui::TMainForm>();
  std::unique_ptr<TAboutForm> about = std::make_unique<TAboutForm>(main->Handle());
};

TEST_F(AboutFormTest, EveryLabelShowsItsTextInItsFontWhereTheTablePutsIt) {
  for (const ExpectedLabel& expected : kExpectedLabels) {
    SCOPED_TRACE(expected.name);
    const HWND label = about.get()->*expected.label;
    EXPECT_EQ(GetParent(label), about->Handle());
    EXPECT_EQ(ui::WindowText(label), Wide(expected.text));
    const SIZE text = TextSize(label);
    const Bounds place = Scaled({expected.left, expected.top, 0, 0});
    EXPECT_EQ(BoundsInParent(label), (Bounds{place.left, place.top, text.cx, text.cy}));
    const LOGFONTW font = FontOf(label);
    EXPECT_STREQ(font.lfFaceName, expected.font->face);
    EXPECT_EQ(font.lfHeight, -about->LayoutScale().Apply(expected.font->height));
    EXPECT_EQ(font.lfWeight, expected.font->bold ? FW_BOLD : FW_NORMAL);
    EXPECT_EQ(font.lfItalic != 0, expected.font->italic);
    EXPECT_EQ(font.lfCharSet, expected.font->charset);
  }
}

TEST_F(AboutFormTest, TheDialogIsFixedHiddenOwnedByTheMainWindowAndHasNoButtons) {
  const HWND window = about->Handle();
  EXPECT_EQ(ui::WindowText(window), L"「Kelbrin」について");
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(GetWindow(window, GW_OWNER), main->Handle());
  ExpectFixedWindow(window, 116, 254, Scaled({0, 0, 473, 186}));
  int children = 0;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++children) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    EXPECT_STREQ(name, L"Static");
  }
  EXPECT_EQ(children, 16);
}

TEST_F(AboutFormTest, ThePictureShowsTheMainIconAtItsOwnSize) { ExpectTheIconAtItsOwnSizeInThePicturesCorner(); }

TEST_F(AboutFormTest, TheCreditWordEndsBeforeTheAuthorsNameWithinItsPlace) {
  const Bounds word = BoundsInParent(about->Label8);
  EXPECT_LE(word.width, Scaled({176, 128, 68, 16}).width);
  EXPECT_LT(word.left + word.width, BoundsInParent(about->Label9).left);
}

TEST_F(AboutFormTest, OnlyTheTwoLinksShowTheHandPointer) {
  const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  for (const ExpectedLabel& expected : kExpectedLabels) {
    SCOPED_TRACE(expected.name);
    const HWND label = about.get()->*expected.label;
    SetCursor(nullptr);
    SendMessageW(about->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    const bool isLink = label == about->Label12 || label == about->Label13;
    EXPECT_EQ(GetCursor() == hand, isLink);
  }
}

TEST_F(AboutFormTest, LabelsAreBlackOnTheDialogsBackgroundButOneInTheWindowTextColour) {
  const HDC dc = CreateCompatibleDC(nullptr);
  for (const ExpectedLabel& expected : kExpectedLabels) {
    SCOPED_TRACE(expected.name);
    const HWND label = about.get()->*expected.label;
    const auto brush =
        SendMessageW(about->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetTextColor(dc), label == about->Label15 ? GetSysColor(COLOR_WINDOWTEXT) : RGB(0, 0, 0));
  }
  DeleteDC(dc);
}

TEST_F(AboutFormTest, EachLinkOpensItsAddressThroughTheShellOnce) {
  Click(about->Label12);
  Click(about->Label13);
  for (const ExpectedLabel& expected : kExpectedLabels)
    if (about.get()->*expected.label != about->Label12 && about.get()->*expected.label != about->Label13)
      Click(about.get()->*expected.label);
  ASSERT_EQ(platform.shellOpens.size(), 2u);
  for (const auto& open : platform.shellOpens) {
    EXPECT_EQ(open.owner, about->Handle());
    EXPECT_EQ(open.verb, "OPEN");
    EXPECT_EQ(open.parameters, "");
    EXPECT_EQ(open.directory, "");
    EXPECT_EQ(open.show, SW_SHOW);
  }
  EXPECT_EQ(platform.shellOpens[0].file, "http://www.example.com/kelbrin/");
  EXPECT_EQ(platform.shellOpens[1].file, "mailto:kelbrin@example.com");
  EXPECT_TRUE(platform.boxes.empty());
}

// Shown twice: keys and clicks on the way, then the close button.
TEST_F(AboutFormTest, ShownModallyItIgnoresEscapeAndEnterAndComesBackAsItWas) {
  struct Seen {
    bool shown = false;
    bool mainEnabled = true;
    RECT frame{};
    std::wstring caption;
  };
  for (int time = 0; time < 2; ++time) {
    SCOPED_TRACE(time);
    QueuedSteps steps;
    Seen seen;
    PostKey(about->Handle(), VK_ESCAPE);
    PostKey(about->Handle(), VK_RETURN);
    steps.Post([&] { Click(about->Label12); });
    steps.Post([&] {
      seen.shown = IsWindowVisible(about->Handle()) != FALSE;
      seen.mainEnabled = IsWindowEnabled(main->Handle()) != FALSE;
      GetWindowRect(about->Handle(), &seen.frame);
      seen.caption = ui::WindowText(about->Label1);
    });
    steps.Post([&] { PostMessageW(about->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    SendMessageW(main->Handle(), WM_COMMAND, GetMenuItemID(GetSubMenu(main->MainMenu1, 1), 1), 0);

    EXPECT_TRUE(seen.shown);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_EQ(seen.frame.left, 116);
    EXPECT_EQ(seen.frame.top, 254);
    EXPECT_EQ(seen.caption, L"Kelbrin");
    EXPECT_FALSE(IsWindowVisible(about->Handle()));
    EXPECT_TRUE(IsWindow(about->Handle()));
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_EQ(platform.shellOpens.size(), static_cast<std::size_t>(time + 1));
  }
}

TEST_F(AboutFormTest, ALargerFontScalesTheDialogAndItsLabelsFonts) {
  RECT suggested;
  GetWindowRect(about->Handle(), &suggested);
  SendMessageW(about->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(about->LayoutScale(), (ui::Scale{DigitZeroHeight(about->WindowFont()), 12}));
  EXPECT_GE(about->LayoutScale().numerator, 24);
  for (const ExpectedLabel& expected : kExpectedLabels) {
    SCOPED_TRACE(expected.name);
    const HWND label = about.get()->*expected.label;
    EXPECT_EQ(FontOf(label).lfHeight, -about->LayoutScale().Apply(expected.font->height));
    const Bounds place = Scaled({expected.left, expected.top, 0, 0});
    const SIZE text = TextSize(label);
    EXPECT_EQ(BoundsInParent(label), (Bounds{place.left, place.top, text.cx, text.cy}));
  }
  ExpectTheIconAtItsOwnSizeInThePicturesCorner();
}

// ---- Help

TEST_F(AboutFormTest, HelpOpensTheReadMeBesideTheProgramWhereverTheCurrentDirectoryIs) {
  TempDir elsewhere;
  WriteBytes(elsewhere / "ReadMe.txt", "not this one");
  const std::string before = CurrentDirectory();
  ChangeDirectory(elsewhere.Path());
  ChooseHelp();
  ChangeDirectory(before);

  ASSERT_EQ(platform.shellOpens.size(), 1u);
  const auto& open = platform.shellOpens[0];
  EXPECT_EQ(open.owner, main->Handle());
  EXPECT_EQ(open.verb, "OPEN");
  EXPECT_EQ(open.file, ProgramFolder() + "ReadMe.txt");
  EXPECT_EQ(open.parameters, "");
  EXPECT_EQ(open.directory, "");
  EXPECT_EQ(open.show, SW_SHOW);
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(AboutFormTest, WithAReadMeBesideTheProgramHelpNamesThatFile) {
  const std::string readMe = ProgramFolder() + "ReadMe.txt";
  WriteBytes(readMe, "help");
  ChooseHelp();
  DeleteFileA(readMe.c_str());
  ASSERT_EQ(platform.shellOpens.size(), 1u);
  EXPECT_EQ(platform.shellOpens[0].file, readMe);
}

// The real shell, which finds nothing to open: the program adds no word.
TEST_F(AboutFormTest, WithoutAReadMeHelpSaysNothingOfItsOwnAndChangesNothing) {
  ASSERT_EQ(GetFileAttributesA((ProgramFolder() + "ReadMe.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  ui::Platform().shellExecute = ::ShellExecuteA;
  main->SelectTarget("C:\\a.pas");
  const std::string before = CurrentDirectory();
  ChooseHelp();
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(main->TargetFileName, "a.pas");
  EXPECT_EQ(CurrentDirectory(), before);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
}

}  // namespace
}  // namespace kelbrin::test
