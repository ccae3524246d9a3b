#include "Panel.h"

namespace kelbrin::ui {
namespace {

void DrawFrameLine(HDC dc, const RECT& line, int colour) { FillRect(dc, &line, GetSysColorBrush(colour)); }

// One pixel, `topLeft` above and to the left, `bottomRight` below and to the right.
void DrawBevel(HDC dc, const RECT& r, int topLeft, int bottomRight) {
  DrawFrameLine(dc, {r.left, r.top, r.right, r.top + 1}, topLeft);
  DrawFrameLine(dc, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
  DrawFrameLine(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  DrawFrameLine(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

void PaintBevels(HWND panel) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(panel, &paint);
  RECT r;
  GetClientRect(panel, &r);
  DrawBevel(dc, r, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
  InflateRect(&r, -1, -1);
  DrawBevel(dc, r, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  EndPaint(panel, &paint);
}

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams != nullptr);
      break;
    case WM_PAINT:
      if (GetWindowLongPtrW(panel, GWLP_USERDATA) == kBevelled) {
        PaintBevels(panel);
        return 0;
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
      return SendMessageW(GetParent(panel), message, wParam, lParam);
    default:
      break;
  }
  return DefWindowProcW(panel, message, wParam, lParam);
}

}  // namespace

const wchar_t* const kPanelClass = L"KelbrinPanel";

void RegisterPanelClass() {
  WNDCLASSEXW panelClass{};
  panelClass.cbSize = sizeof panelClass;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kPanelClass, &panelClass)) return;
  panelClass.style = CS_HREDRAW | CS_VREDRAW;
  panelClass.lpfnWndProc = PanelProc;
  panelClass.hInstance = GetModuleHandleW(nullptr);
  panelClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  panelClass.lpszClassName = kPanelClass;
  RegisterClassExW(&panelClass);
}

}  // namespace kelbrin::ui
