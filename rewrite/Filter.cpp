#include "Filter.h"

#include "ParallelStream.h"
#include "SelectedRule.h"

namespace kelbrin {

StreamResult RunFilter(const PassSelection& selection, FileSystem& fileSystem) {
  return RewriteStreamInParallel(fileSystem, fileSystem.StandardInput(), fileSystem.StandardOutput(),
                                 SelectedRule(selection));
}

}  // namespace kelbrin
