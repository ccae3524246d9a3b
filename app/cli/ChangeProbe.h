#pragma once

#include <functional>
#include <string>

#include "ByteRule.h"
#include "ExitStatus.h"
#include "PageBuffer.h"
#include "RewriteStream.h"
#include "RuleSinks.h"
#include "platform/FileSystem.h"

namespace kelbrin::cli {

// Runs `stream` over FILE, "-" standing for standard input, and says what
// became of it: a failure, or whether the rule would change it.
FileResult StreamFile(FileSystem& fileSystem, const std::string& file,
                      const std::function<StreamResult(FileHandle input)>& stream);

// Whether tidying a file would change it: the file is read to its end and
// what the rule writes is only counted. Each thread needs its own.
class ChangeProbe {
 public:
  ChangeProbe(const ByteRule& rule, FileSystem& fileSystem)
      : rule_(rule), fs_(fileSystem), block_(kStreamBlockSize) {}

  FileResult Probe(const std::string& file);

 private:
  const ByteRule& rule_;
  FileSystem& fs_;
  PageBuffer block_;
  Discard discard_;
};

}  // namespace kelbrin::cli
