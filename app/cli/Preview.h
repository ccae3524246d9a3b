#pragma once

#include <string>

#include "ByteRule.h"
#include "CliOptions.h"
#include "ExitStatus.h"
#include "Failure.h"
#include "OutputBuffer.h"
#include "PageBuffer.h"
#include "RewriteStream.h"
#include "RuleSinks.h"
#include "platform/FileSystem.h"

namespace kelbrin::cli {

// What an in-place run would make of each FILE, shown on standard output
// without touching the FILE: its name when it would change (--check), a
// unified diff of the changes (--diff), or its tidied bytes (--stdout).
class Preview {
 public:
  struct Result {
    Outcome outcome;
    IoStatus why;  // when it failed
  };

  Preview(const CliRequest& request, FileSystem& fileSystem);

  // One FILE, "-" for standard input.
  Result Show(const std::string& file);
  // Writes out what is still held for standard output; false when it cannot.
  bool Flush() { return out_.Flush(); }
  const IoStatus& OutputStatus() const { return out_.Status(); }

 private:
  StreamResult Stream(FileHandle input, const std::string& name);
  StreamResult StreamDiff(FileHandle input, const std::string& name);

  const CliRequest& request_;
  FileSystem& fs_;
  const ByteRule& rule_;
  PageBuffer block_;
  OutputBuffer out_;
  Discard discard_;
};

}  // namespace kelbrin::cli
