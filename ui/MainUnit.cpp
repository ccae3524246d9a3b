#include "MainUnit.h"

#include <commctrl.h>

#include "AboutUnit.h"
#include "CommandLine.h"
#include "HandlerGuard.h"
#include "HelpFile.h"
#include "MessageBoxDisplay.h"
#include "PlatformCalls.h"
#include "ProgressBarProgress.h"
#include "SplitTarget.h"
#include "Text.h"

namespace kelbrin::ui {
namespace {

// Menu items are numbered from here in the order of the menu table.
constexpr int kFirstMenuId = 300;

// Room for a dropped path, the terminating NUL included.
constexpr UINT kDropRoom = 255;

bool IsTicked(HWND checkBox) { return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

ClickHandler MenuHandler(WPARAM wParam) {
  const int index = LOWORD(wParam) - kFirstMenuId;
  const std::span<const MainMenuItem> items = MainMenuItems();
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return nullptr;
  return items[static_cast<std::size_t>(index)].onClick;
}

}  // namespace

TMainForm* MainForm = nullptr;

TMainForm::TMainForm() : Form(kMainFormDesign, nullptr, nullptr) {
  BuildMenu();
  BuildControls();
  FinishLayout();
  RunGuarded([this] { FormCreate(); });
}

void TMainForm::BuildMenu() {
  MainMenu1 = CreateMenu();
  HMENU menu = nullptr;
  const std::span<const MainMenuItem> items = MainMenuItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::wstring text = FromUtf8(items[i].text);
    if (items[i].isMenu) {
      menu = CreatePopupMenu();
      AppendMenuW(MainMenu1, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), text.c_str());
    } else {
      AppendMenuW(menu, MF_STRING, kFirstMenuId + i, text.c_str());
    }
  }
  SetMenu(Handle(), MainMenu1);
}

void TMainForm::BuildControls() {
  for (const MainControl& row : MainControls()) {
    const HWND parent = row.parent ? this->*row.parent : Handle();
    this->*row.name = AddControl({row.kind, parent, row.bounds, row.align, row.text, row.tabOrder});
  }
  SendMessageW(ProgressBar, PBM_SETRANGE32, 0, 100);
  SendMessageW(ProgressBar, PBM_SETPOS, 0, 0);
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_DROPFILES:
      WMDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case DM_GETDEFID:
      return DefaultButton();
    default:
      return Form::HandleMessage(message, wParam, lParam);
  }
}

// Menu commands come without a control; the dialog manager's IDOK and
// IDCANCEL for Enter and Escape match neither table and do nothing.
void TMainForm::OnCommand(WPARAM wParam, LPARAM lParam) {
  ClickHandler handler = nullptr;
  if (lParam == 0 && HIWORD(wParam) == 0)
    handler = MenuHandler(wParam);
  else if (const auto index = ClickedControl(wParam, lParam))
    handler = MainControls()[*index].onClick;
  if (handler) (this->*handler)();
}

// Enter presses a button only while that button has the focus: the dialog
// manager asks the window for its default button, and there is none else.
LRESULT TMainForm::DefaultButton() const {
  const HWND focus = GetFocus();
  for (const MainControl& row : MainControls())
    if (row.kind == ControlKind::Button && this->*row.name == focus)
      return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
  return 0;
}

void TMainForm::FormCreate() {
  DragAcceptFiles(Handle(), TRUE);
  if (const auto argument = FirstArgument(Platform().getCommandLine())) SelectTarget(*argument);
}

void TMainForm::Button1Click() { FileAction(); }

void TMainForm::N1Click() { FileAction(); }

void TMainForm::Button2Click() {
  ProgressBarProgress progress(ProgressBar);
  MessageBoxDisplay display(Handle());
  RunJunbi({TargetDir, TargetFileName}, Selection(), progress, display);
}

// Posted, so that the window is not destroyed under the menu that asked.
void TMainForm::Exit1Click() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

// The help file beside the program, wherever the current directory has gone.
void TMainForm::Help2Click() {
  Platform().shellExecute(Handle(), "OPEN", HelpFilePath().c_str(), "", "", SW_SHOW);
}

void TMainForm::About1Click() { AboutForm->ShowModal(Handle()); }

void TMainForm::WMDropFiles(HDROP drop) {
  struct Finish {
    HDROP drop;
    ~Finish() { Platform().dragFinish(drop); }
  } finish{drop};
  char path[kDropRoom] = {};
  if (Platform().dragQueryFile(drop, 0, path, kDropRoom) == 0) return;
  SelectTarget(path);
}

void TMainForm::SelectTarget(const std::string& path) {
  TargetFile target = SplitTarget(path, PlatformPathRules());
  TargetDir = std::move(target.TargetDir);
  TargetFileName = std::move(target.TargetFileName);
  SetWindowTextW(TargetFileEdit, FromAnsi(TargetFileName).c_str());
}

void TMainForm::FileAction() {
  if (const auto path = OpenDialog1.Execute(Handle())) SelectTarget(*path);
}

PassSelection TMainForm::Selection() const {
  return {IsTicked(CommentCheckBox), IsTicked(SpaceToTabCheckBox), IsTicked(Space3CheckBox)};
}

}  // namespace kelbrin::ui
