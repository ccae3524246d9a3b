#pragma once

#include "ByteMasks.h"
#include "ByteRule.h"

namespace kelbrin {

// Removes `//` comments up to the end of their line, keeping the line end.
// Its block path looks at bytes `width` at a time: the widest the processor
// has, unless a test asks for another.
const ByteRule& CommentRule(Width width = Widest());

}  // namespace kelbrin
