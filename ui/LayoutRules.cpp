#include "LayoutRules.h"

#include <algorithm>
#include <cstdint>

namespace kelbrin::ui {

int MulDivRounded(int value, int numerator, int denominator) {
  const std::int64_t product = std::int64_t{value} * numerator;
  const std::int64_t half = denominator / 2;
  const std::int64_t rounded = (product >= 0) == (denominator > 0) ? product + half : product - half;
  return static_cast<int>(rounded / denominator);
}

int Scale::Apply(int value) const { return MulDivRounded(value, numerator, denominator); }

int FontHeightForDpi(int designHeight, int dpi) {
  if (dpi == kDesignDpi || dpi <= 0) return designHeight;
  return MulDivRounded(designHeight, dpi, kDesignDpi);
}

Scale ScaleForDigitHeight(int measuredHeight) {
  if (measuredHeight <= 0) return {};
  return {measuredHeight, kDesignDigitHeight};
}

Bounds Scaled(const Bounds& design, const Scale& scale) {
  const int left = scale.Apply(design.left);
  const int top = scale.Apply(design.top);
  return {left, top, scale.Apply(design.Right()) - left, scale.Apply(design.Bottom()) - top};
}

std::vector<Bounds> AlignWithin(const Bounds& area, std::span<const AlignedChild> children) {
  std::vector<Bounds> placed;
  for (const AlignedChild& child : children) placed.push_back(child.bounds);
  Bounds free = area;
  auto place = [&](Align align, auto take) {
    for (std::size_t i = 0; i < children.size(); ++i)
      if (children[i].align == align) placed[i] = take(children[i].bounds);
  };
  place(Align::Top, [&](const Bounds& b) {
    const Bounds strip{free.left, free.top, free.width, b.height};
    free.top += b.height;
    free.height = std::max(0, free.height - b.height);
    return strip;
  });
  place(Align::Left, [&](const Bounds& b) {
    const Bounds strip{free.left, free.top, b.width, free.height};
    free.left += b.width;
    free.width = std::max(0, free.width - b.width);
    return strip;
  });
  place(Align::Client, [&](const Bounds&) { return free; });
  return placed;
}

Point DialogOrigin(int screenWidth, int screenHeight, int dialogWidth, int dialogHeight) {
  return {(screenWidth - dialogWidth) / 2, (screenHeight - dialogHeight) / 3};
}

}  // namespace kelbrin::ui
