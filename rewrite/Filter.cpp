#include "Filter.h"

#include "ParallelStream.h"
#include "SelectedRule.h"

namespace kelbrin {
namespace {

// Writing into the file being read would read the output again, without end
// where the output is appended.
bool OutputIsInput(FileSystem& fileSystem) {
  FileIdentity input;
  FileIdentity output;
  return fileSystem.Identify(fileSystem.StandardInput(), input) &&
         fileSystem.Identify(fileSystem.StandardOutput(), output) && input.regular && input.SameFile(output);
}

}  // namespace

StreamResult RunFilter(const PassSelection& selection, FileSystem& fileSystem) {
  if (OutputIsInput(fileSystem)) return {{FailureReason::InputIsOutput, 0}, true};
  return RewriteStreamInParallel(fileSystem, fileSystem.StandardInput(), fileSystem.StandardOutput(),
                                 SelectedRule(selection));
}

}  // namespace kelbrin
