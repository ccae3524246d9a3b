#include "Filter.h"

#include "ParallelStream.h"

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

StreamResult RunFilter(const ByteRule& rule, FileSystem& fileSystem, std::span<const std::uint8_t> start) {
  if (OutputIsInput(fileSystem)) return {{FailureReason::InputIsOutput, 0}, true};
  return RewriteStreamInParallel(fileSystem, fileSystem.StandardInput(), fileSystem.StandardOutput(), rule, start);
}

IoStatus ReadStart(FileSystem& fileSystem, std::size_t most, std::vector<std::uint8_t>& start) {
  start.resize(most);
  std::size_t have = 0;
  IoStatus status;
  for (std::size_t got = 1; status && got > 0 && have < most; have += got) {
    status = fileSystem.Read(fileSystem.StandardInput(), start.data() + have, most - have, got);
    if (!status) got = 0;
  }
  start.resize(have);
  return status;
}

}  // namespace kelbrin
