#pragma once

#include <span>
#include <vector>

namespace kelbrin::ui {

// A control's place within its parent's client area, in pixels.
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const Bounds&) const = default;
};

// How a control follows its parent's size.
enum class Align { None, Top, Left, Client };

// The factor by which a layout designed for a 12-pixel digit zero is drawn.
struct Scale {
  int numerator = 12;
  int denominator = 12;

  int Apply(int value) const;
  bool operator==(const Scale&) const = default;
};

// The layouts are designed for a window font whose digit zero is this high.
inline constexpr int kDesignDigitHeight = 12;
inline constexpr int kDesignDpi = 96;

// value * numerator / denominator, rounded half away from zero.
int MulDivRounded(int value, int numerator, int denominator);

// The font height to ask for on a screen of `dpi` dots per inch.
int FontHeightForDpi(int designHeight, int dpi);

// The layout factor for the digit zero as measured in the window font.
Scale ScaleForDigitHeight(int measuredHeight);

// Scales the edges, not the size, so that neighbours stay flush.
Bounds Scaled(const Bounds& design, const Scale& scale);

struct AlignedChild {
  Align align;
  Bounds bounds;
};

// Places the children of one parent in its free area: top-aligned ones take
// strips off the top, then left-aligned ones strips off the left, then those
// that fill take what is left; the others keep their bounds. Returns the
// bounds in the children's order.
std::vector<Bounds> AlignWithin(const Bounds& area, std::span<const AlignedChild> children);

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// Where a dialog opens: centred across the screen, its top at a third of the
// height the dialog leaves free.
Point DialogOrigin(int screenWidth, int screenHeight, int dialogWidth, int dialogHeight);

}  // namespace kelbrin::ui
