#include "AboutUnit.h"

#include <string>

#include "PlatformCalls.h"
#include "resource.h"

namespace kelbrin::ui {
namespace {

// The shell opens an address as it likes; failures are the shell's to show.
void ShellOpen(HWND owner, std::string_view address) {
  Platform().shellExecute(owner, "OPEN", std::string(address).c_str(), "", "", SW_SHOW);
}

COLORREF ColourOf(TextColour colour) {
  return colour == TextColour::WindowText ? GetSysColor(COLOR_WINDOWTEXT) : RGB(0, 0, 0);
}

}  // namespace

TAboutForm* AboutForm = nullptr;

TAboutForm::TAboutForm(HWND owner) : Form(kAboutFormDesign, owner, nullptr) {
  for (const AboutControl& row : AboutControls())
    this->*row.name = AddControl({row.kind, Handle(), row.bounds, Align::None, row.text, 0, row.font,
                                         row.onClick != nullptr});
  icon_ = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KELBRIN), IMAGE_ICON, 32, 32, LR_SHARED));
  FinishLayout();
}

void TAboutForm::ShowModal(HWND owner) {
  EnableWindow(owner, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetActiveWindow(Handle());
  modal_ = true;
  MSG message{};
  while (modal_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // The owner is enabled first, so that it takes the activation back.
  EnableWindow(owner, TRUE);
  ShowWindow(Handle(), SW_HIDE);
  if (message.message == WM_QUIT) PostQuitMessage(static_cast<int>(message.wParam));
}

void TAboutForm::Label12Click() { ShellOpen(Handle(), kWebPageAddress); }

void TAboutForm::Label13Click() { ShellOpen(Handle(), kMailLink); }

LRESULT TAboutForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:  // the dialog is hidden, never destroyed
      modal_ = false;
      return 0;
    case WM_COMMAND:
      if (const auto index = ClickedControl(wParam, lParam))
        if (const auto handler = AboutControls()[*index].onClick) (this->*handler)();
      return 0;
    case WM_DRAWITEM:
      DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return LabelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && ShowHandOver(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    default:
      break;
  }
  return Form::HandleMessage(message, wParam, lParam);
}

// Labels draw on the dialog's background.
LRESULT TAboutForm::LabelColours(HDC dc, HWND label) const {
  TextColour colour = TextColour::Black;
  for (const AboutControl& row : AboutControls())
    if (this->*row.name == label) colour = row.colour;
  SetTextColor(dc, ColourOf(colour));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// The main icon at its own size in the picture's top left corner, however
// the picture itself is scaled, on the dialog's background.
void TAboutForm::DrawPicture(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, icon_, 0, 0, 0, nullptr, DI_NORMAL);
}

bool TAboutForm::ShowHandOver(HWND control) const {
  for (const AboutControl& row : AboutControls()) {
    if (this->*row.name != control || row.pointer != Pointer::Hand) continue;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
  }
  return false;
}

}  // namespace kelbrin::ui
