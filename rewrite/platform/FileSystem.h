#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "../Failure.h"

namespace kelbrin {

using FileHandle = std::intptr_t;

// Every file-system call of the core goes through here, so that tests can
// count the calls and make any of them fail. Paths are byte strings in the
// platform's own encoding (the ANSI code page on Windows).
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Succeeds for an existing regular file; says what else the path names.
  virtual IoStatus Inspect(const std::string& path) = 0;
  // The path of the file itself: where the path's last part is a symbolic
  // link, the file the link leads to; otherwise the path as given.
  virtual IoStatus FollowLink(const std::string& path, std::string& filePath) = 0;
  // Never replaces a file: fails with NameTaken when `to` exists.
  virtual IoStatus RenameNoReplace(const std::string& from, const std::string& to) = 0;
  // An existing regular file, for reading, held without sharing where the
  // platform can.
  virtual IoStatus OpenForReading(const std::string& path, FileHandle& handle) = 0;
  // A new file, for writing, held without sharing where the platform can;
  // fails with NameTaken when the name exists.
  virtual IoStatus CreateForWriting(const std::string& path, FileHandle& handle) = 0;
  virtual IoStatus Size(FileHandle handle, std::int64_t& size) = 0;
  // Delivers up to `capacity` bytes; 0 bytes means the end of the input.
  virtual IoStatus Read(FileHandle handle, std::uint8_t* buffer, std::size_t capacity, std::size_t& got) = 0;
  // May store fewer than `count` bytes; the caller writes the rest again.
  virtual IoStatus Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count, std::size_t& put) = 0;
  virtual IoStatus Close(FileHandle handle) = 0;
  virtual IoStatus Remove(const std::string& path) = 0;

  virtual FileHandle StandardInput() = 0;
  virtual FileHandle StandardOutput() = 0;
};

// The operating system's file system.
FileSystem& PlatformFileSystem();

}  // namespace kelbrin
