#pragma once

#include <string>

namespace kelbrin {

// The file a run works on, split once when it is chosen. The passes join the
// two parts again with nothing put between them.
struct TargetFile {
  std::string TargetDir;       // up to and including the last separator; may be empty
  std::string TargetFileName;  // the bare name; empty while nothing is chosen

  std::string Path() const { return TargetDir + TargetFileName; }
};

}  // namespace kelbrin
