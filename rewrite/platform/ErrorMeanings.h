#pragma once

#include <cstddef>
#include <cstdint>

#include "../Failure.h"

namespace kelbrin {

// What an operating system's error code means to the program.
template <class Code>
struct ErrorMeaning {
  Code error;
  FailureReason reason;
};

// The status for `error`: its meaning from the table, Other where it has none.
template <class Code, std::size_t N>
IoStatus StatusOf(Code error, const ErrorMeaning<Code> (&meanings)[N]) {
  FailureReason reason = FailureReason::Other;
  for (const ErrorMeaning<Code>& meaning : meanings)
    if (meaning.error == error) reason = meaning.reason;
  return {reason, static_cast<std::uint32_t>(error)};
}

}  // namespace kelbrin
