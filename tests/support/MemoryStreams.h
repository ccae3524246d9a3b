#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace kelbrin::test {

// How MemoryStreams deliver and take bytes, and which of their calls fails.
struct StreamPlan {
  static constexpr int kNever = 0;
  std::vector<std::size_t> readLengths{};
  std::vector<std::size_t> writeLengths{};
  int failingRead = kNever;   // 1 for the first read
  int failingWrite = kNever;  // 1 for the first write
  IoStatus failure{FailureReason::Other, 5};
};

// Standard input and output in memory. Reads deliver, and writes take, no
// more than the next of their own lengths in turn (none: as much as asked),
// and a read or a write can be made to fail. Reads touch only the input side
// and writes only the output side, so one thread may read while another
// writes. Everything but the two standard streams is refused.
class MemoryStreams final : public FileSystem {
 public:
  static constexpr int kNever = StreamPlan::kNever;

  using Plan = StreamPlan;
  explicit MemoryStreams(std::string_view input, Plan plan = {}) : input_(input), plan_(std::move(plan)) {}

  const std::string& Output() const { return output_; }
  int Reads() const { return reads_; }
  int Writes() const { return writes_; }
  // Calls to anything but reading standard input and writing standard output.
  int StrayCalls() const { return stray_; }

  IoStatus Read(FileHandle handle, std::uint8_t* buffer, std::size_t capacity, std::size_t& got) override {
    got = 0;
    if (handle != kInput) return Stray();
    const int call = ++reads_;
    if (call == plan_.failingRead) return plan_.failure;
    got = std::min({Length(plan_.readLengths, call), capacity, input_.size()});
    std::copy_n(input_.begin(), got, buffer);
    input_.remove_prefix(got);
    return {};
  }

  IoStatus Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count, std::size_t& put) override {
    put = 0;
    if (handle != kOutput) return Stray();
    const int call = ++writes_;
    if (call == plan_.failingWrite) return plan_.failure;
    put = std::min(Length(plan_.writeLengths, call), count);
    output_.append(reinterpret_cast<const char*>(bytes), put);
    return {};
  }

  FileHandle StandardInput() override { return kInput; }
  FileHandle StandardOutput() override { return kOutput; }

  // The filter asks which files the streams are; these are no files.
  IoStatus Identify(FileHandle, FileIdentity&) override { return {FailureReason::NotRegularFile, 0}; }

  IoStatus Inspect(const std::string&) override { return Stray(); }
  IoStatus ResolveFile(const std::string&, std::string&) override { return Stray(); }
  IoStatus IdentifyPath(const std::string&, FileIdentity&) override { return Stray(); }
  IoStatus OpenForReading(const std::string&, FileHandle&) override { return Stray(); }
  IoStatus CreateWorkFile(const std::string&, FileHandle&, std::string&) override { return Stray(); }
  IoStatus CopyMetadata(FileHandle, const std::string&, FileHandle, const std::string&) override { return Stray(); }
  IoStatus Close(FileHandle) override { return Stray(); }
  IoStatus Link(const std::string&, const std::string&) override { return Stray(); }
  IoStatus RenameNoReplace(const std::string&, const std::string&) override { return Stray(); }
  IoStatus Replace(const std::string&, const std::string&, const std::string&) override { return Stray(); }
  IoStatus Remove(const std::string&, const std::string&) override { return Stray(); }

 private:
  static constexpr FileHandle kInput = 0;
  static constexpr FileHandle kOutput = 1;

  static std::size_t Length(const std::vector<std::size_t>& lengths, int call) {
    return lengths.empty() ? SIZE_MAX : lengths[static_cast<std::size_t>(call - 1) % lengths.size()];
  }
  IoStatus Stray() {
    ++stray_;
    return {FailureReason::Other, 0};
  }

  std::string_view input_;
  Plan plan_;
  std::string output_;
  std::atomic<int> reads_ = 0;
  std::atomic<int> writes_ = 0;
  std::atomic<int> stray_ = 0;
};

}  // namespace kelbrin::test
