// The chained filter, end to end through the streaming frame: whatever the
// sizes in which reads deliver and writes take the bytes, its output is what
// the selected rules give when applied one after the other.
#include "CommentRule.h"
#include "Filter.h"
#include "FuzzInput.h"
#include "TabRule.h"

using namespace kelbrin;
using namespace kelbrin::fuzz;

namespace {

// Standard input and output in memory. Every read delivers, and every write
// takes, no more than the next of the fuzzer's lengths (at least one byte, as
// nothing at all would mean the end of the input or a full disk).
class MemoryStreams final : public FileSystem {
 public:
  MemoryStreams(std::string_view input, const std::vector<std::size_t>& lengths) : input_(input), lengths_(lengths) {}

  const std::string& Output() const { return output_; }

  IoStatus Read(FileHandle handle, std::uint8_t* buffer, std::size_t capacity, std::size_t& got) override {
    if (handle != kInput) return Unexpected();
    got = std::min({NextLength(), capacity, input_.size()});
    std::copy_n(input_.begin(), got, buffer);
    input_.remove_prefix(got);
    return {};
  }

  IoStatus Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count, std::size_t& put) override {
    if (handle != kOutput) return Unexpected();
    put = std::min(NextLength(), count);
    output_.append(reinterpret_cast<const char*>(bytes), put);
    return {};
  }

  FileHandle StandardInput() override { return kInput; }
  FileHandle StandardOutput() override { return kOutput; }

  // The filter opens, names and closes nothing.
  IoStatus Inspect(const std::string&) override { return Unexpected(); }
  IoStatus FollowLink(const std::string&, std::string&) override { return Unexpected(); }
  IoStatus RenameNoReplace(const std::string&, const std::string&) override { return Unexpected(); }
  IoStatus OpenForReading(const std::string&, FileHandle&) override { return Unexpected(); }
  IoStatus CreateForWriting(const std::string&, FileHandle&) override { return Unexpected(); }
  IoStatus Size(FileHandle, std::int64_t&) override { return Unexpected(); }
  IoStatus Close(FileHandle) override { return Unexpected(); }
  IoStatus Remove(const std::string&) override { return Unexpected(); }

 private:
  static constexpr FileHandle kInput = 0;
  static constexpr FileHandle kOutput = 1;

  static IoStatus Unexpected() {
    Require(false, "the filter uses standard input and output only");
    return {FailureReason::Other, 0};
  }

  std::size_t NextLength() {
    if (lengths_.empty()) return SIZE_MAX;
    return lengths_[next_++ % lengths_.size()] + 1;
  }

  std::string_view input_;
  const std::vector<std::size_t>& lengths_;
  std::size_t next_ = 0;
  std::string output_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const FuzzInput input = ParseFuzzInput(data, size);
  PassSelection selection{input.Switch(0), input.Switch(1), input.Switch(2)};
  if (!selection.Any()) selection.commentDelete = true;

  std::string expected(input.text);
  if (selection.commentDelete) expected = FeedByteByByte(CommentRule(), expected);
  if (selection.spaceToTab) expected = FeedByteByByte(TabRule(selection.space3), expected);

  MemoryStreams streams(input.text, input.blockLengths);
  Require(static_cast<bool>(RunFilter(selection, streams)), "the filter succeeds when reads and writes do");
  Require(streams.Output() == expected, "the chained filter gives what the rules give one after the other");
  Require(BytesComeFrom(streams.Output(), input.text, "\t"), "writes no byte that is not in its input or a tab");
  Require(streams.Output().size() <= input.text.size(), "never makes its input longer");
  return 0;
}
