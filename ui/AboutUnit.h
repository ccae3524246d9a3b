#pragma once

#include <windows.h>

#include <span>
#include <string_view>

#include "Form.h"

namespace kelbrin::ui {

// The about dialog: the product's name and version, a few taglines, the
// credit line and two links. It is made once, hidden, and afterwards only
// shown modally and hidden again, so it comes back as it was.
class TAboutForm final : public Form {
 public:
  explicit TAboutForm(HWND owner);

  // Components, in their order of declaration.
  HWND Label1 = nullptr;
  HWND Label2 = nullptr;
  HWND Label3 = nullptr;
  HWND Label4 = nullptr;
  HWND Label5 = nullptr;
  HWND Label7 = nullptr;
  HWND Label8 = nullptr;
  HWND Label9 = nullptr;
  HWND Label10 = nullptr;
  HWND Label11 = nullptr;
  HWND Label12 = nullptr;
  HWND Label13 = nullptr;
  HWND Label14 = nullptr;
  HWND Label6 = nullptr;
  HWND Label15 = nullptr;
  HWND Image2 = nullptr;

  // Shows the dialog over `owner`, which takes no input meanwhile, and
  // returns when the dialog is closed.
  void ShowModal(HWND owner);

  void Label12Click();
  void Label13Click();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT LabelColours(HDC dc, HWND label) const;
  bool ShowHandOver(HWND control) const;
  void DrawPicture(const DRAWITEMSTRUCT& item) const;

  HICON icon_ = nullptr;
  bool modal_ = false;
};

// The about dialog, once it is made.
extern TAboutForm* AboutForm;

// The credit line's texts and the author's addresses.
inline constexpr std::string_view kCreditWord = "Made by";
inline constexpr std::string_view kAuthorName = "Vantorソフトウェア";
inline constexpr std::string_view kWebPageTitle = "Vantorソフトウェアのページ";
inline constexpr std::string_view kWebPageAddress = "http://www.example.com/kelbrin/";
inline constexpr std::string_view kMailAddressShown = "kelbrin@example.com";
inline constexpr std::string_view kMailLink = "mailto:kelbrin@example.com";

enum class TextColour { Black, WindowText };
enum class Pointer { Arrow, Hand };

// A row of the about dialog's table: a label, or the picture.
struct AboutControl {
  HWND TAboutForm::*name;
  ControlKind kind;
  Bounds bounds;  // a label's size is its text's in its font
  const FontDesign* font;
  TextColour colour;
  Pointer pointer;
  std::string_view text;  // UTF-8
  void (TAboutForm::*onClick)();
};

extern const FormDesign kAboutFormDesign;
std::span<const AboutControl> AboutControls();

// The fonts of the labels.
extern const FontDesign kF1, kF2, kF3, kF4, kF5;

}  // namespace kelbrin::ui
