#include "ByteMasks.h"

#include <vector>

namespace kelbrin {
namespace {

std::vector<Width> FindWidths() {
  std::vector<Width> widths = {Width::Scalar};
#if defined(__SSE2__)
  widths.push_back(Width::Sse2);
  __builtin_cpu_init();  // start-up code may not have run it yet
  // The AVX2 kernels also count bits with BMI, which every such processor has
  // but is asked all the same.
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2")) {
    widths.push_back(Width::Avx2);
  }
#endif
  return widths;
}

}  // namespace

std::span<const Width> Widths() {
  static const std::vector<Width> widths = FindWidths();
  return widths;
}

}  // namespace kelbrin
