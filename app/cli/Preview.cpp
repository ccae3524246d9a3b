#include "Preview.h"

#include "LineDiff.h"
#include "RewriteStream.h"

namespace kelbrin::cli {
namespace {

// Collects a block's tidied bytes for the diff; it fails as standard output
// does, so that the stream stops reading when nothing more can be shown.
class Tidied {
 public:
  explicit Tidied(const OutputBuffer& out) : out_(out) {}

  std::uint8_t* Room(std::size_t count) {
    const std::size_t used = bytes_.size();
    bytes_.resize(used + count);
    return Data() + used;
  }
  void Commit(std::uint8_t* end) { bytes_.resize(static_cast<std::size_t>(end - Data())); }
  IoStatus Status() const { return out_.Status(); }

  std::string Take() {
    std::string bytes = std::move(bytes_);
    bytes_.clear();
    return bytes;
  }

 private:
  std::uint8_t* Data() { return reinterpret_cast<std::uint8_t*>(bytes_.data()); }

  const OutputBuffer& out_;
  std::string bytes_;
};

std::string_view AsText(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

Preview::Preview(const CliRequest& request, FileSystem& fileSystem)
    : request_(request), fs_(fileSystem), probe_(fileSystem),
      block_(kStreamBlockSize), out_(fileSystem, fileSystem.StandardOutput(), kStreamOutputCapacity) {}

FileResult Preview::Record(const std::string& file, const FileResult& checked) {
  if (checked.outcome == Outcome::WouldChange && NamesOnly()) out_.Append(file + "\n");
  if (!out_.Status() && checked.outcome != Outcome::OutputFailed) return {Outcome::OutputFailed, out_.Status()};
  return checked;
}

FileResult Preview::Stream(const std::string& file, const ByteRule& rule, std::span<const std::uint8_t> start) {
  return StreamFile(fs_, file, [&](FileHandle input) {
    if (request_.diff) return StreamDiff(input, file, rule, start);
    return StreamThroughRule(fs_, input, {block_.data(), block_.size()}, rule, out_,
                             [](std::span<const std::uint8_t>) {}, start);
  });
}

// Each block as read and as tidied goes to the diff, and what the diff has
// to show so far to standard output.
StreamResult Preview::StreamDiff(FileHandle input, const std::string& name, const ByteRule& rule,
                                 std::span<const std::uint8_t> start) {
  LineDiff diff(name);
  Tidied tidied(out_);
  diff.Old(AsText(start));
  StreamResult result = StreamThroughRule(fs_, input, {block_.data(), block_.size()}, rule, tidied,
                                          [&](std::span<const std::uint8_t> bytes) {
                                            diff.Old(AsText(bytes));
                                            diff.New(tidied.Take());
                                            out_.Append(diff.TakeText());
                                          },
                                          start);
  if (!result.status) return result;
  diff.New(tidied.Take());
  diff.Finish();
  out_.Append(diff.TakeText());
  return result;
}

}  // namespace kelbrin::cli
