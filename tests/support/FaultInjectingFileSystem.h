#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace kelbrin::test {

// The real file system with counted calls, any of which can be made to fail
// or, for reads and writes, to move fewer bytes than asked.
class FaultInjectingFileSystem final : public FileSystem {
 public:
  enum class Effect { Fail, Short, Nothing };
  static constexpr int kEveryCall = 0;

  struct Fault {
    std::string operation;  // "Write", "OpenForReading", ...; empty: any call
    int occurrence;         // 1 for the first such call, or kEveryCall
    Effect effect = Effect::Fail;
    IoStatus failure{FailureReason::Other, 5};
  };

  explicit FaultInjectingFileSystem(FileSystem& real = PlatformFileSystem()) : real_(real) {}

  void Inject(Fault fault) { faults_.push_back(std::move(fault)); }

  // Every call made so far, by operation name.
  const std::vector<std::string>& Calls() const { return calls_; }

  IoStatus Inspect(const std::string& path) override;
  IoStatus ResolveFile(const std::string& path, std::string& filePath) override;
  IoStatus Identify(FileHandle handle, FileIdentity& identity) override;
  IoStatus IdentifyPath(const std::string& path, FileIdentity& identity) override;
  IoStatus OpenForReading(const std::string& path, FileHandle& handle) override;
  IoStatus CreateWorkFile(const std::string& folder, FileHandle& handle, std::string& path) override;
  IoStatus CopyMetadata(FileHandle from, const std::string& fromPath, FileHandle to,
                        const std::string& toPath) override;
  IoStatus Read(FileHandle handle, std::uint8_t* buffer, std::size_t capacity, std::size_t& got) override;
  IoStatus Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count, std::size_t& put) override;
  IoStatus Close(FileHandle handle) override;
  IoStatus Link(const std::string& existing, const std::string& newName) override;
  IoStatus RenameNoReplace(const std::string& from, const std::string& to) override;
  IoStatus Replace(const std::string& from, const std::string& to, const std::string& alsoNamed) override;
  IoStatus Remove(const std::string& path, const std::string& alsoNamed) override;
  FileHandle StandardInput() override { return real_.StandardInput(); }
  FileHandle StandardOutput() override { return real_.StandardOutput(); }

 private:
  // Counts the call and returns the fault planned for it, if any.
  const Fault* Next(const std::string& operation);
  // Runs `call` unless the fault planned for this call makes it fail.
  template <class Call>
  IoStatus Unless(const std::string& operation, Call call);

  FileSystem& real_;
  std::vector<Fault> faults_;
  std::vector<std::string> calls_;
};

}  // namespace kelbrin::test
