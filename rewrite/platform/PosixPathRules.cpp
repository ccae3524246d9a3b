#include "../SplitTarget.h"

namespace kelbrin {

const PathRules& PlatformPathRules() {
  static const PathRules rules{"/", {}};
  return rules;
}

}  // namespace kelbrin
