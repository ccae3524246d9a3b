#pragma once

#include "ByteMasks.h"
#include "ByteRule.h"

namespace kelbrin {

// Turns every four blanks in a row into a tab; with `threeBlanks`, also three
// blanks left over at the end of a run.
// Its block path looks at bytes `width` at a time, as the comment rule's does.
const ByteRule& TabRule(bool threeBlanks, Width width = Widest());

}  // namespace kelbrin
