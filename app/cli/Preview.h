#pragma once

#include <string>

#include "ByteRule.h"
#include "ChangeProbe.h"
#include "CliOptions.h"
#include "ExitStatus.h"
#include "OutputBuffer.h"
#include "PageBuffer.h"
#include "RewriteStream.h"
#include "platform/FileSystem.h"

namespace kelbrin::cli {

// What an in-place run would make of each FILE, shown on standard output
// without touching the FILE: its name when it would change (--check), a
// unified diff of the changes (--diff), or its tidied bytes (--stdout).
class Preview {
 public:
  Preview(const CliRequest& request, FileSystem& fileSystem);

  // One FILE, "-" for standard input, tidied with `rule`; `start`: what was
  // read of standard input before.
  FileResult Show(const std::string& file, const ByteRule& rule, std::span<const std::uint8_t> start = {}) {
    return Record(file, NamesOnly() ? probe_.Probe(file, rule, start) : Stream(file, rule, start));
  }
  // Shows a FILE that a ChangeProbe of another thread has checked.
  FileResult Record(const std::string& file, const FileResult& checked);

  // Writes out what is still held for standard output; false when it cannot.
  bool Flush() { return out_.Flush(); }
  const IoStatus& OutputStatus() const { return out_.Status(); }

 private:
  bool NamesOnly() const { return request_.check && !request_.diff; }
  FileResult Stream(const std::string& file, const ByteRule& rule, std::span<const std::uint8_t> start);
  StreamResult StreamDiff(FileHandle input, const std::string& name, const ByteRule& rule,
                          std::span<const std::uint8_t> start);

  const CliRequest& request_;
  FileSystem& fs_;
  ChangeProbe probe_;
  PageBuffer block_;
  OutputBuffer out_;
};

}  // namespace kelbrin::cli
