#include "DialogPlacement.h"

#include <commctrl.h>

#include <string_view>

#include "LayoutRules.h"

namespace kelbrin::ui {
namespace {

constexpr std::wstring_view kDialogClass = L"#32770";
constexpr UINT_PTR kPlacementId = 1;

// One dialog at a time: the user-interface thread is the only one.
HHOOK hook = nullptr;

bool IsDialogBox(HWND window) {
  wchar_t name[16] = {};
  const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return std::wstring_view(name, static_cast<std::size_t>(length)) == kDialogClass;
}

void MoveToDialogPlace(HWND dialog) {
  RECT r;
  GetWindowRect(dialog, &r);
  const Point origin =
      DialogOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), r.right - r.left, r.bottom - r.top);
  SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Unhook() {
  if (hook) UnhookWindowsHookEx(hook);
  hook = nullptr;
}

}  // namespace

DialogPlacement::DialogPlacement() { hook = SetWindowsHookExW(WH_CBT, OnCbtEvent, nullptr, GetCurrentThreadId()); }

DialogPlacement::~DialogPlacement() { Unhook(); }

LRESULT CALLBACK DialogPlacement::OnCbtEvent(int code, WPARAM wParam, LPARAM lParam) {
  const HHOOK self = hook;
  const auto window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && IsDialogBox(window)) {
    MoveToDialogPlace(window);
    SetWindowSubclass(window, KeepInPlace, kPlacementId, 0);
    Unhook();
  }
  return CallNextHookEx(self, code, wParam, lParam);
}

LRESULT CALLBACK DialogPlacement::KeepInPlace(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR) {
  const LRESULT result = DefSubclassProc(dialog, message, wParam, lParam);
  switch (message) {
    case WM_WINDOWPOSCHANGED:
      if (!(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOSIZE) && !IsZoomed(dialog) && !IsIconic(dialog))
        MoveToDialogPlace(dialog);
      break;
    case WM_ENTERSIZEMOVE:
    case WM_NCDESTROY:
      RemoveWindowSubclass(dialog, KeepInPlace, id);
      break;
    default:
      break;
  }
  return result;
}

}  // namespace kelbrin::ui
