#pragma once

#include "ByteMasks.h"
#include "ByteRule.h"

namespace kelbrin {

#if defined(__SSE2__)
// A kernel's instance for AVX2 (and BMI, whose bit counts need no test for
// zero): compiled for them as a whole, with everything it calls inlined, so
// that such code stays in functions that run only where the processor has it.
template <class Kernel>
[[gnu::target("avx2,bmi,bmi2"), gnu::flatten]] std::uint8_t* RunAvx2(const ByteRule& rule, RulePart* state,
                                                            const std::uint8_t* bytes, std::size_t count,
                                                            std::uint8_t* out) {
  return Kernel::template Run<Avx2Chunk>(rule, state, bytes, count, out);
}
#endif

// The block path of `Kernel` (a class with a static `Run<Chunk>` of the
// BlockPath kind) for chunks of `width`.
template <class Kernel>
BlockPath BlockPathFor(Width width) {
  switch (width) {
#if defined(__SSE2__)
    case Width::Avx2: return RunAvx2<Kernel>;
    case Width::Sse2: return Kernel::template Run<Sse2Chunk>;
#endif
    default: return Kernel::template Run<ScalarChunk>;
  }
}

template <Width kWidth, class Make>
const ByteRule& MadeOnce(Make make) {
  static const ByteRule rule = make(kWidth);
  return rule;
}

// The rule `make` makes for `width`, made the first time it is asked for: a
// program needs only the widest. Each `Make` type keeps rules of its own.
template <class Make>
const ByteRule& ForWidth(Width width, Make make) {
  switch (width) {
    case Width::Scalar: return MadeOnce<Width::Scalar>(make);
    case Width::Sse2: return MadeOnce<Width::Sse2>(make);
    case Width::Avx2: return MadeOnce<Width::Avx2>(make);
  }
  return MadeOnce<Width::Scalar>(make);
}

}  // namespace kelbrin
