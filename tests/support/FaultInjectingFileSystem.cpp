#include "FaultInjectingFileSystem.h"

#include <algorithm>

namespace kelbrin::test {

const FaultInjectingFileSystem::Fault* FaultInjectingFileSystem::Next(const std::string& operation) {
  calls_.push_back(operation);
  const int ofThisKind = static_cast<int>(std::count(calls_.begin(), calls_.end(), operation));
  const int ofAnyKind = static_cast<int>(calls_.size());
  for (const Fault& fault : faults_) {
    const bool kindMatches = fault.operation.empty() || fault.operation == operation;
    const int count = fault.operation.empty() ? ofAnyKind : ofThisKind;
    if (kindMatches && (fault.occurrence == kEveryCall || fault.occurrence == count)) return &fault;
  }
  return nullptr;
}

template <class Call>
IoStatus FaultInjectingFileSystem::Unless(const std::string& operation, Call call) {
  const Fault* fault = Next(operation);
  return fault && fault->effect == Effect::Fail ? fault->failure : call();
}

IoStatus FaultInjectingFileSystem::Inspect(const std::string& path) {
  return Unless("Inspect", [&] { return real_.Inspect(path); });
}

IoStatus FaultInjectingFileSystem::FollowLink(const std::string& path, std::string& filePath) {
  return Unless("FollowLink", [&] { return real_.FollowLink(path, filePath); });
}

IoStatus FaultInjectingFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  return Unless("RenameNoReplace", [&] { return real_.RenameNoReplace(from, to); });
}

IoStatus FaultInjectingFileSystem::OpenForReading(const std::string& path, FileHandle& handle) {
  return Unless("OpenForReading", [&] { return real_.OpenForReading(path, handle); });
}

IoStatus FaultInjectingFileSystem::CreateForWriting(const std::string& path, FileHandle& handle) {
  return Unless("CreateForWriting", [&] { return real_.CreateForWriting(path, handle); });
}

IoStatus FaultInjectingFileSystem::Size(FileHandle handle, std::int64_t& size) {
  return Unless("Size", [&] { return real_.Size(handle, size); });
}

IoStatus FaultInjectingFileSystem::Read(FileHandle handle, std::uint8_t* buffer, std::size_t capacity,
                                        std::size_t& got) {
  const Fault* fault = Next("Read");
  if (!fault) return real_.Read(handle, buffer, capacity, got);
  switch (fault->effect) {
    case Effect::Fail: return fault->failure;
    case Effect::Short: return real_.Read(handle, buffer, std::max<std::size_t>(1, capacity / 2), got);
    case Effect::Nothing: break;
  }
  got = 0;
  return {};
}

IoStatus FaultInjectingFileSystem::Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count,
                                         std::size_t& put) {
  const Fault* fault = Next("Write");
  if (!fault) return real_.Write(handle, bytes, count, put);
  switch (fault->effect) {
    case Effect::Fail: return fault->failure;
    case Effect::Short: return real_.Write(handle, bytes, std::max<std::size_t>(1, count / 2), put);
    case Effect::Nothing: break;
  }
  put = 0;
  return {};
}

// A close that fails has still released the handle, as on both platforms.
IoStatus FaultInjectingFileSystem::Close(FileHandle handle) {
  const Fault* fault = Next("Close");
  const IoStatus status = real_.Close(handle);
  return fault && fault->effect == Effect::Fail ? fault->failure : status;
}

IoStatus FaultInjectingFileSystem::Remove(const std::string& path) {
  return Unless("Remove", [&] { return real_.Remove(path); });
}

}  // namespace kelbrin::test
