#pragma once

#include "ByteRule.h"

namespace kelbrin {

// Turns every four blanks in a row into a tab; with `threeBlanks`, also three
// blanks left over at the end of a run.
const ByteRule& TabRule(bool threeBlanks);

}  // namespace kelbrin
