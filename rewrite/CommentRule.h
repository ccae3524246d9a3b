#pragma once

#include "ByteRule.h"

namespace kelbrin {

// Removes `//` comments up to the end of their line, keeping the line end.
const ByteRule& CommentRule();

}  // namespace kelbrin
