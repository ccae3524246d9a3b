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

// Whether tidying a file with `rule` would change it: what the rule writes
// is only compared, and a file is read until the first change, as cmp reads
// it. Each thread needs its own.
class ChangeProbe {
 public:
  explicit ChangeProbe(FileSystem& fileSystem) : fs_(fileSystem), block_(kStreamBlockSize) {}

  // `start`: what was read of standard input before.
  FileResult Probe(const std::string& file, const ByteRule& rule, std::span<const std::uint8_t> start = {});

 private:
  FileSystem& fs_;
  PageBuffer block_;
  Discard discard_;
};

}  // namespace kelbrin::cli
