#pragma once

#include "ByteMasks.h"
#include "ByteRule.h"

namespace kelbrin {

// The comment rule's output fed to the tab rule, as one rule. Its block path
// takes the two rules' own in turn over small pieces, which costs less than
// one path doing both: each of the two has fewer turns to guess.
const ByteRule& CommentThenTabRule(bool threeBlanks, Width width = Widest());

}  // namespace kelbrin
