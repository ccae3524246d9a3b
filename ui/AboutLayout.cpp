// The about dialog as it is laid out, top first. Positions are in pixels for
// a window font whose digit zero is 12 pixels high; every label sizes itself
// to its text.
#include "AboutUnit.h"

namespace kelbrin::ui {
namespace {

using A = TAboutForm;
using K = ControlKind;
constexpr TextColour kBlack = TextColour::Black;
constexpr Pointer kArrow = Pointer::Arrow;
constexpr Pointer kHand = Pointer::Hand;

const AboutControl kControls[] = {
    // name       kind         position, size        font  colour                  pointer text
    {&A::Label1,  K::Label,   {8, 8, 266, 37},      &kF1, kBlack,                 kArrow, "Kelbrin", nullptr},
    {&A::Label15, K::Label,   {288, 8, 154, 13},    &kF4, TextColour::WindowText, kArrow, "Vantorソフトウェア第２弾", nullptr},
    {&A::Label2,  K::Label,   {288, 26, 56, 17},    &kF2, kBlack,                 kArrow, "Ver 1.10", nullptr},
    {&A::Label3,  K::Label,   {32, 56, 156, 13},    &kF3, kBlack,                 kArrow, "せっかくだから、俺はこの", nullptr},
    {&A::Label4,  K::Label,   {192, 56, 26, 13},    &kF3, kBlack,                 kArrow, "赤の", nullptr},
    {&A::Label5,  K::Label,   {224, 56, 118, 13},   &kF3, kBlack,                 kArrow, "コメントを消すぜ!!", nullptr},
    {&A::Label7,  K::Label,   {32, 68, 394, 13},    &kF3, kBlack,                 kArrow,
     "Delphiのエディタ、そんなに半角スペースばっか使うんじゃねぇ!!", nullptr},
    {&A::Label14, K::Label,   {376, 80, 91, 13},    &kF3, kBlack,                 kArrow, "的ソフトウェア", nullptr},
    {&A::Label6,  K::Label,   {32, 104, 352, 13},   &kF3, kBlack,                 kArrow,
     "なお、このソフトウェアは、「最高ですよ!!」ウェアです。", nullptr},
    {&A::Label8,  K::Label,   {176, 128, 68, 16},   &kF5, kBlack,                 kArrow, kCreditWord, nullptr},
    {&A::Label9,  K::Label,   {256, 131, 112, 13},  &kF4, kBlack,                 kArrow, kAuthorName, nullptr},
    {&A::Image2,  K::Picture, {72, 136, 33, 33},    nullptr, kBlack,              kArrow, "", nullptr},
    {&A::Label10, K::Label,   {179, 144, 58, 16},   &kF5, kBlack,                 kArrow, "WebPage", nullptr},
    {&A::Label12, K::Label,   {256, 147, 184, 13},  &kF4, kBlack,                 kHand,  kWebPageTitle, &A::Label12Click},
    {&A::Label11, K::Label,   {189, 160, 40, 16},   &kF5, kBlack,                 kArrow, "E-Mail", nullptr},
    {&A::Label13, K::Label,   {256, 163, 208, 13},  &kF4, kBlack,                 kHand,  kMailAddressShown, &A::Label13Click},
};

}  // namespace

//                  face              height  bold   italic  character set
const FontDesign kF1{"ＤＦ行書体",     37,     true,  false,  SHIFTJIS_CHARSET};
const FontDesign kF2{"Arial",          15,     true,  true,   ANSI_CHARSET};
const FontDesign kF3{"ＭＳ ゴシック",  13,     false, false,  SHIFTJIS_CHARSET};
const FontDesign kF4{"ＭＳ ゴシック",  13,     true,  false,  SHIFTJIS_CHARSET};
const FontDesign kF5{"Arial",          13,     true,  true,   ANSI_CHARSET};

// A single fixed frame with the main window's title-bar buttons, and no buttons inside.
const FormDesign kAboutFormDesign{L"TAboutForm", "「Kelbrin」について", 116, 254, 473, 186,
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX};

std::span<const AboutControl> AboutControls() { return kControls; }

}  // namespace kelbrin::ui
