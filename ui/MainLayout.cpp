// The main window as it is laid out: every control, where it sits, what it
// says and what a click on it does. Positions and sizes are in pixels for a
// window font whose digit zero is 12 pixels high.
#include "MainUnit.h"

namespace kelbrin::ui {
namespace {

using M = TMainForm;
using K = ControlKind;
using A = Align;

// The gaps in "参　照" and "実　行" are ideographic spaces.
const MainControl kControls[] = {
    // name                  kind               parent      position, size      alignment  text      tab  on click
    {&M::Panel4,             K::Panel,          nullptr,    {0, 0, 443, 57},    A::Top,    "",       1,   nullptr},
    {&M::TargetFileEdit,     K::Edit,           &M::Panel4, {8, 8, 265, 20},    A::None,   "",       0,   nullptr},
    {&M::Button3,            K::Button,         &M::Panel4, {272, 8, 49, 25},   A::None,   "参　照", 1,   &M::Button1Click},
    {&M::Button4,            K::Button,         &M::Panel4, {328, 8, 57, 25},   A::None,   "実　行", 2,   &M::Button2Click},
    {&M::ProgressBar,        K::ProgressBar,    &M::Panel4, {0, 40, 441, 16},   A::None,   "",       3,   nullptr},
    {&M::Panel1,             K::BevelledPanel,  nullptr,    {0, 57, 443, 72},   A::Client, "",       0,   nullptr},
    {&M::Panel2,             K::BevelledPanel,  &M::Panel1, {2, 2, 199, 68},    A::Left,   "",       0,   nullptr},
    {&M::CommentCheckBox,    K::CheckBox,       &M::Panel2, {8, 16, 185, 17},   A::None,   "ソースからコメントをすべて消す",   0, nullptr},
    {&M::Panel3,             K::BevelledPanel,  &M::Panel1, {201, 2, 240, 68},  A::Client, "",       1,   nullptr},
    {&M::SpaceToTabCheckBox, K::CheckBox,       &M::Panel3, {8, 16, 193, 17},   A::None,   "半角スペースをタブに変換する",     0, nullptr},
    {&M::Space3CheckBox,     K::CheckBox,       &M::Panel3, {32, 32, 201, 17},  A::None,   "半角スペース３つもタブに変換する", 1, nullptr},
};

// No item has a shortcut or an accelerator letter.
const MainMenuItem kMenu[] = {
    // name     menu   text              on click
    {"File1",  true,  "ファイル",        nullptr},
    {"N1",     false, "ファイルを開く",  &M::N1Click},
    {"Exit1",  false, "終了",            &M::Exit1Click},
    {"Help1",  true,  "ヘルプ",          nullptr},
    {"Help2",  false, "ヘルプ",          &M::Help2Click},
    {"About1", false, "About",           &M::About1Click},
};

}  // namespace

// A single fixed frame with the system menu and the minimise and maximise buttons.
const FormDesign kMainFormDesign{L"TMainForm", "Kelbrin", 258, 189, 443, 129,
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                                 WS_CLIPCHILDREN};

std::span<const MainControl> MainControls() { return kControls; }
std::span<const MainMenuItem> MainMenuItems() { return kMenu; }

}  // namespace kelbrin::ui
