#pragma once

#include <windows.h>
#include <shellapi.h>

#include <span>
#include <string>

#include "Form.h"
#include "OpenDialog.h"
#include "RunJunbi.h"

namespace kelbrin::ui {

// The main window: the target's name, the browse and run buttons, the
// progress bar and the three passes to choose from.
class TMainForm final : public Form {
 public:
  TMainForm();

  // Components, in the order of the layout.
  HMENU MainMenu1 = nullptr;
  HWND Panel1 = nullptr;
  HWND Panel2 = nullptr;
  HWND Panel3 = nullptr;
  HWND CommentCheckBox = nullptr;
  TOpenDialog OpenDialog1;
  HWND SpaceToTabCheckBox = nullptr;
  HWND Space3CheckBox = nullptr;
  HWND Panel4 = nullptr;
  HWND Button3 = nullptr;
  HWND Button4 = nullptr;
  HWND ProgressBar = nullptr;
  HWND TargetFileEdit = nullptr;

  // The target, split once when it is chosen; the run reads nothing else.
  std::string TargetFileName;
  std::string TargetDir;

  void FormCreate();
  void Button1Click();
  void N1Click();
  void Button2Click();
  void Exit1Click();
  void Help2Click();
  void About1Click();
  void WMDropFiles(HDROP drop);

  void SelectTarget(const std::string& path);
  void FileAction();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void BuildMenu();
  void BuildControls();
  void OnCommand(WPARAM wParam, LPARAM lParam);
  LRESULT DefaultButton() const;
  PassSelection Selection() const;
};

// The program's main window, once it is made.
extern TMainForm* MainForm;

using ClickHandler = void (TMainForm::*)();

// A row of the main window's control table.
struct MainControl {
  HWND TMainForm::*name;
  ControlKind kind;
  HWND TMainForm::*parent;  // nullptr: the window itself
  Bounds bounds;
  Align align;
  std::string_view text;  // UTF-8
  int tabOrder;
  ClickHandler onClick;
};

// A row of the menu bar: a menu, or an item of the menu above it.
struct MainMenuItem {
  std::string_view name;
  bool isMenu;
  std::string_view text;  // UTF-8
  ClickHandler onClick;
};

extern const FormDesign kMainFormDesign;
std::span<const MainControl> MainControls();
std::span<const MainMenuItem> MainMenuItems();

}  // namespace kelbrin::ui
