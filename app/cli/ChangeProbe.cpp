#include "ChangeProbe.h"

namespace kelbrin::cli {

FileResult StreamFile(FileSystem& fileSystem, const std::string& file,
                      const std::function<StreamResult(FileHandle input)>& stream) {
  const bool standardInput = file == "-";
  FileHandle input = fileSystem.StandardInput();
  if (!standardInput) {
    if (IoStatus status = fileSystem.OpenForReading(file, input); !status) return {Outcome::Failed, status};
  }
  const StreamResult result = stream(input);
  // Closing a file that was only read loses nothing.
  if (!standardInput) fileSystem.Close(input);
  if (!result.status) return {result.outputFailed ? Outcome::OutputFailed : Outcome::Failed, result.status};
  return {result.unchanged ? Outcome::Done : Outcome::WouldChange, {}};
}

FileResult ChangeProbe::Probe(const std::string& file, const ByteRule& rule, std::span<const std::uint8_t> start) {
  // Standard input is read to its end all the same: a program writing into
  // it would otherwise fail for a broken pipe.
  const ReadUntil until = file == "-" ? ReadUntil::End : ReadUntil::FirstChange;
  return StreamFile(fs_, file, [&](FileHandle input) {
    return StreamThroughRule(fs_, input, {block_.data(), block_.size()}, rule, discard_,
                             [](std::span<const std::uint8_t>) {}, start, until);
  });
}

}  // namespace kelbrin::cli
