#include "Form.h"

#include <commctrl.h>

#include <algorithm>

#include "HandlerGuard.h"
#include "Panel.h"
#include "Text.h"
#include "resource.h"

namespace kelbrin::ui {
namespace {

struct KindLook {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

// Indexed by ControlKind.
const KindLook kKindLooks[] = {
    {kPanelClass, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT},
    {kPanelClass, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT},
    {WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0},
    {WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {PROGRESS_CLASSW, 0, 0},
    {WC_STATICW, SS_LEFT | SS_NOPREFIX, 0},
    {WC_STATICW, SS_OWNERDRAW, 0},  // the form draws the picture, at the size it chooses
};

const KindLook& LookOf(ControlKind kind) { return kKindLooks[static_cast<std::size_t>(kind)]; }

bool IsPanel(ControlKind kind) { return kind == ControlKind::Panel || kind == ControlKind::BevelledPanel; }

// Both calls do nothing when the classes are there already.
void RegisterControlClasses() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  RegisterPanelClass();
}

void RegisterFormClass(const wchar_t* className, WNDPROC procedure) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW formClass{};
  formClass.cbSize = sizeof formClass;
  if (GetClassInfoExW(instance, className, &formClass)) return;
  formClass.lpfnWndProc = procedure;
  formClass.hInstance = instance;
  formClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KELBRIN));
  formClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  formClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  formClass.lpszClassName = className;
  RegisterClassExW(&formClass);
}

HFONT MakeFont(const FontDesign& design, int height) {
  return CreateFontW(-height, 0, 0, 0, design.bold ? FW_BOLD : FW_NORMAL, design.italic, FALSE, FALSE, design.charset,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     FromUtf8(design.face).c_str());
}

SIZE TextExtent(HFONT font, const std::wstring& text) {
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  return size;
}

}  // namespace

const FontDesign kWindowFont{"ＭＳ Ｐゴシック", 12};

Form::Form(const FormDesign& design, HWND owner, HMENU menu) : design_(design) {
  RegisterControlClasses();
  RegisterFormClass(design.className, WindowProc);
  CreateWindowExW(0, design.className, FromUtf8(design.caption).c_str(), design.style, design.left, design.top,
                  design.clientWidth, design.clientHeight, owner, menu, GetModuleHandleW(nullptr), this);
}

Form::~Form() {
  OnDestroy = nullptr;
  if (handle_) DestroyWindow(handle_);
}

HWND Form::AddControl(const ControlDesign& design) {
  const KindLook& look = LookOf(design.kind);
  const DWORD notify = design.clickable && design.kind == ControlKind::Label ? SS_NOTIFY : 0;
  const int id = kFirstControlId + static_cast<int>(controls_.size());
  const HWND window = CreateWindowExW(
      look.exStyle, look.className, FromUtf8(design.text).c_str(), WS_CHILD | WS_VISIBLE | look.style | notify,
      design.bounds.left, design.bounds.top, design.bounds.width, design.bounds.height, design.parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
      design.kind == ControlKind::BevelledPanel ? reinterpret_cast<void*>(kBevelled) : nullptr);
  controls_.push_back({window, design, design.bounds, nullptr});
  return window;
}

// Buttons say BN_CLICKED and labels STN_CLICKED, which are the same code.
std::optional<std::size_t> Form::ClickedControl(WPARAM wParam, LPARAM lParam) const {
  const int index = LOWORD(wParam) - kFirstControlId;
  if (lParam == 0 || HIWORD(wParam) != BN_CLICKED || index < 0 || static_cast<std::size_t>(index) >= controls_.size())
    return std::nullopt;
  return static_cast<std::size_t>(index);
}

void Form::FinishLayout() {
  ArrangeTabOrder();
  LayOut(GetDpiForWindow(handle_));
  focus_ = GetNextDlgTabItem(handle_, nullptr, FALSE);
}

Bounds Form::ScaledBounds(HWND control) const {
  for (const Control& c : controls_)
    if (c.window == control) return c.placed;
  return {};
}

void Form::LayOut(UINT dpi) {
  windowFont_.reset(MakeFont(kWindowFont, FontHeightForDpi(kWindowFont.height, static_cast<int>(dpi))));
  scale_ = ScaleForDigitHeight(TextExtent(windowFont_.get(), L"0").cy);
  for (Control& control : controls_) PlaceControl(control);
  SetClientSize();
  Realign();
}

void Form::PlaceControl(Control& control) {
  const FontDesign* own = control.design.ownFont;
  control.ownFont.reset(own ? MakeFont(*own, scale_.Apply(own->height)) : nullptr);
  const HFONT font = own ? control.ownFont.get() : windowFont_.get();
  SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  control.placed = Scaled(control.design.bounds, scale_);
  if (control.design.kind == ControlKind::Label) {
    const SIZE text = TextExtent(font, FromUtf8(control.design.text));
    control.placed.width = text.cx;
    control.placed.height = text.cy;
  }
}

// The frame is measured rather than computed: not every system scales the
// menu bar with the resolution, and a narrower window may wrap it. A second
// round catches such a wrap.
void Form::SetClientSize() {
  if (IsZoomed(handle_) || IsIconic(handle_)) return;
  const Bounds wanted = Scaled({0, 0, design_.clientWidth, design_.clientHeight}, scale_);
  for (int round = 0; round < 2; ++round) {
    RECT frame, client;
    GetWindowRect(handle_, &frame);
    GetClientRect(handle_, &client);
    if (client.right == wanted.width && client.bottom == wanted.height) return;
    const int width = static_cast<int>(frame.right - frame.left - client.right) + wanted.width;
    const int height = static_cast<int>(frame.bottom - frame.top - client.bottom) + wanted.height;
    SetWindowPos(handle_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// Parents come before their children in every layout, so each panel is
// sized before its own children are aligned in it.
void Form::Realign() {
  AlignChildrenOf(handle_, 0);
  for (const Control& control : controls_)
    if (IsPanel(control.design.kind))
      AlignChildrenOf(control.window, control.design.kind == ControlKind::BevelledPanel ? kBevelFrame : 0);
}

void Form::AlignChildrenOf(HWND parent, int frame) {
  RECT client;
  GetClientRect(parent, &client);
  const int width = static_cast<int>(client.right) - 2 * frame;
  const int height = static_cast<int>(client.bottom) - 2 * frame;
  const Bounds area{frame, frame, std::max(0, width), std::max(0, height)};
  std::vector<Control*> children;
  std::vector<AlignedChild> aligned;
  for (Control& control : controls_) {
    if (control.design.parent != parent) continue;
    children.push_back(&control);
    aligned.push_back({control.design.align, control.placed});
  }
  const std::vector<Bounds> placed = AlignWithin(area, aligned);
  for (std::size_t i = 0; i < children.size(); ++i)
    MoveWindow(children[i]->window, placed[i].left, placed[i].top, placed[i].width, placed[i].height, TRUE);
}

// The dialog manager moves the focus along the order of the windows within
// each parent, so each parent's children are put in their tab order.
void Form::ArrangeTabOrder() {
  std::vector<const Control*> ordered;
  for (const Control& control : controls_) ordered.push_back(&control);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const Control* a, const Control* b) { return a->design.tabOrder < b->design.tabOrder; });
  for (const Control* control : ordered)
    SetWindowPos(control->window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus && IsChild(handle_, focus)) focus_ = focus;
  } else if (!HIWORD(wParam)) {
    SetFocus(focus_ ? focus_ : handle_);
  }
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) Realign();
      return 0;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(handle_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut(HIWORD(wParam));
      return 0;
    }
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case WM_DESTROY:
      if (OnDestroy) OnDestroy();
      return 0;
    default:
      return DefWindowProcW(handle_, message, wParam, lParam);
  }
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    form->handle_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  RunGuarded([&] { result = form->HandleMessage(message, wParam, lParam); });
  return result;
}

}  // namespace kelbrin::ui
