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

IoStatus FaultInjectingFileSystem::ResolveFile(const std::string& path, std::string& filePath) {
  return Unless("ResolveFile", [&] { return real_.ResolveFile(path, filePath); });
}

IoStatus FaultInjectingFileSystem::Identify(FileHandle handle, FileIdentity& identity) {
  return Unless("Identify", [&] { return real_.Identify(handle, identity); });
}

IoStatus FaultInjectingFileSystem::IdentifyPath(const std::string& path, FileIdentity& identity) {
  return Unless("IdentifyPath", [&] { return real_.IdentifyPath(path, identity); });
}

IoStatus FaultInjectingFileSystem::OpenForReading(const std::string& path, FileHandle& handle) {
  return Unless("OpenForReading", [&] { return real_.OpenForReading(path, handle); });
}

IoStatus FaultInjectingFileSystem::CreateWorkFile(const std::string& folder, FileHandle& handle, std::string& path) {
  return Unless("CreateWorkFile", [&] { return real_.CreateWorkFile(folder, handle, path); });
}

IoStatus FaultInjectingFileSystem::CopyMetadata(FileHandle from, const std::string& fromPath, FileHandle to,
                                                const std::string& toPath) {
  return Unless("CopyMetadata", [&] { return real_.CopyMetadata(from, fromPath, to, toPath); });
}

IoStatus FaultInjectingFileSystem::Link(const std::string& existing, const std::string& newName) {
  return Unless("Link", [&] { return real_.Link(existing, newName); });
}

IoStatus FaultInjectingFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  return Unless("RenameNoReplace", [&] { return real_.RenameNoReplace(from, to); });
}

IoStatus FaultInjectingFileSystem::Replace(const std::string& from, const std::string& to,
                                           const std::string& alsoNamed) {
  return Unless("Replace", [&] { return real_.Replace(from, to, alsoNamed); });
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

IoStatus FaultInjectingFileSystem::Remove(const std::string& path, const std::string& alsoNamed) {
  return Unless("Remove", [&] { return real_.Remove(path, alsoNamed); });
}

}  // namespace kelbrin::test
