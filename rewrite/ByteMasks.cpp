#include "ByteMasks.h"

#include <vector>

#if defined(__SSE2__) && defined(__GLIBC__) && __has_include(<sys/platform/x86.h>)
#include <sys/platform/x86.h>
#define KELBRIN_ASK_THE_C_LIBRARY 1
#endif

namespace kelbrin {
namespace {

#if defined(__SSE2__)
// The AVX2 kernels also count bits with BMI, which every such processor has
// but is asked all the same.
bool CanRunAvx2() {
#if defined(KELBRIN_ASK_THE_C_LIBRARY)
  // The C library asked the processor at start-up. Asking it again is a trip
  // to the hypervisor for every question in a virtual machine, several
  // microseconds each, and the compiler's own check asks a dozen at every
  // start: a tenth of a small file's run.
  return CPU_FEATURE_ACTIVE(AVX2) && CPU_FEATURE_ACTIVE(BMI1) && CPU_FEATURE_ACTIVE(BMI2);
#else
  __builtin_cpu_init();  // start-up code may not have run it yet
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
#endif
}
#endif

std::vector<Width> FindWidths() {
  std::vector<Width> widths = {Width::Scalar};
#if defined(__SSE2__)
  widths.push_back(Width::Sse2);
  if (CanRunAvx2()) widths.push_back(Width::Avx2);
#endif
  return widths;
}

}  // namespace

std::span<const Width> Widths() {
  static const std::vector<Width> widths = FindWidths();
  return widths;
}

}  // namespace kelbrin
