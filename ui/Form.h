#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>
#include <vector>

#include "LayoutRules.h"

namespace kelbrin::ui {

enum class ControlKind { Panel, BevelledPanel, Edit, Button, CheckBox, ProgressBar, Label, Picture };

// A font as a layout names it: the height is that of the characters, in
// pixels, at the design size.
struct FontDesign {
  std::string_view face;  // UTF-8
  int height;
  bool bold = false;
  bool italic = false;
  BYTE charset = SHIFTJIS_CHARSET;
};

// Every form's font; the layouts are designed for its digit zero.
extern const FontDesign kWindowFont;

// A form's own window, before its controls.
struct FormDesign {
  const wchar_t* className;
  std::string_view caption;  // UTF-8
  int left;                  // on the screen, never scaled
  int top;
  int clientWidth;  // at the design size
  int clientHeight;
  DWORD style;
};

// One control as a layout places it.
struct ControlDesign {
  ControlKind kind;
  HWND parent;
  Bounds bounds;  // labels take only their position from here and size themselves to their text
  Align align;
  std::string_view text;  // UTF-8
  int tabOrder;
  const FontDesign* ownFont = nullptr;
  bool clickable = false;
};

// A top-level window laid out from a table, and the rules every such window
// follows: the scaling rule (the window font is sized for the screen's
// resolution, then positions, sizes and the controls' own fonts follow the
// height of its digit zero), aligned panels that follow the window's size,
// the tab order within each parent, and the focus that comes back to the
// control that last had it.
class Form {
 public:
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  HWND Handle() const { return handle_; }
  const Scale& LayoutScale() const { return scale_; }
  HFONT WindowFont() const { return windowFont_.get(); }
  // The design-size bounds scaled: where a control is while nothing stretches it.
  Bounds ScaledBounds(HWND control) const;

  // Runs once the window is gone; the program's main window ends the message loop here.
  std::function<void()> OnDestroy;

 protected:
  Form(const FormDesign& design, HWND owner, HMENU menu);

  // Controls are numbered from here in the order they are added; that number is their command id.
  static constexpr int kFirstControlId = 100;

  HWND AddControl(const ControlDesign& design);
  // The control a click came from, by the order in which it was added.
  std::optional<std::size_t> ClickedControl(WPARAM wParam, LPARAM lParam) const;
  // Scales and places everything, sizes the window and puts the controls in tab order.
  void FinishLayout();
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
  };
  using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

  struct Control {
    HWND window;
    ControlDesign design;
    Bounds placed;  // scaled, before alignment
    FontHandle ownFont;
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void LayOut(UINT dpi);
  void PlaceControl(Control& control);
  void SetClientSize();
  void Realign();
  void AlignChildrenOf(HWND parent, int frame);
  void ArrangeTabOrder();
  void OnActivate(WPARAM wParam);

  FormDesign design_;
  HWND handle_ = nullptr;
  Scale scale_;
  FontHandle windowFont_;
  std::vector<Control> controls_;
  HWND focus_ = nullptr;
};

}  // namespace kelbrin::ui
