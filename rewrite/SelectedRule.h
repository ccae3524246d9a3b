#pragma once

#include "ByteRule.h"
#include "RunJunbi.h"

namespace kelbrin {

// The one rule that does the selected passes in a single sweep: with both,
// the comment rule's output feeding the tab rule. Needs a pass selected.
const ByteRule& SelectedRule(const PassSelection& selection);

}  // namespace kelbrin
