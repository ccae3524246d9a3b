#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "../Failure.h"

namespace kelbrin {

using FileHandle = std::intptr_t;

// What tells one file from another, and a file from itself after another
// program wrote to it.
struct FileIdentity {
  std::uint64_t device = 0;  // the volume
  std::uint64_t file = 0;    // the file on that volume
  std::int64_t size = 0;
  std::int64_t modified = 0;  // the platform's own units
  std::int64_t changed = 0;   // changes of the content or of the metadata
  bool regular = false;       // a plain file, not a pipe, a device or a folder

  bool SameFile(const FileIdentity& other) const { return device == other.device && file == other.file; }
  bool operator==(const FileIdentity&) const = default;
};

// Every file-system call of the core goes through here, so that tests can
// count the calls and make any of them fail. Paths are byte strings in the
// platform's own encoding (the ANSI code page on Windows).
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Succeeds for an existing regular file; says what else the path names.
  virtual IoStatus Inspect(const std::string& path) = 0;
  // The path of the file itself, as the backups are to be named after it:
  // where the path's last part is a symbolic link, the file the link leads
  // to; on Windows, the long name spelled as it is on disk.
  virtual IoStatus ResolveFile(const std::string& path, std::string& filePath) = 0;
  virtual IoStatus Identify(FileHandle handle, FileIdentity& identity) = 0;
  // The file the path names now, not following a link in its last part.
  virtual IoStatus IdentifyPath(const std::string& path, FileIdentity& identity) = 0;

  // An existing regular file, for reading. On Windows no other program may
  // write to it while it is open.
  virtual IoStatus OpenForReading(const std::string& path, FileHandle& handle) = 0;
  // A new, empty file in `folder` (a path that ends in a separator, or empty
  // for the current directory), for writing, under a hidden name of the
  // program's own that no other file has, open to its owner only.
  virtual IoStatus CreateWorkFile(const std::string& folder, FileHandle& handle, std::string& path) = 0;
  // Gives the file being written as `to` what its users know `from` by:
  // owner and group where the process may set them, permissions, access
  // control lists and extended attributes; on Windows its attributes
  // (read-only, hidden, system, archive) and its access control list.
  virtual IoStatus CopyMetadata(FileHandle from, const std::string& fromPath, FileHandle to,
                                const std::string& toPath) = 0;

  // Delivers up to `capacity` bytes; 0 bytes means the end of the input.
  virtual IoStatus Read(FileHandle handle, std::uint8_t* buffer, std::size_t capacity, std::size_t& got) = 0;
  // May store fewer than `count` bytes; the caller writes the rest again.
  virtual IoStatus Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count, std::size_t& put) = 0;
  virtual IoStatus Close(FileHandle handle) = 0;

  // A second name for an existing file. Fails with NameTaken when the name
  // exists, and with NoLinks where the file system or its rules allow no
  // second name for this file.
  virtual IoStatus Link(const std::string& existing, const std::string& newName) = 0;
  // Never replaces a file: fails with NameTaken when `to` exists.
  virtual IoStatus RenameNoReplace(const std::string& from, const std::string& to) = 0;
  // Puts `from` in the place of `to` in one step: at no moment does `to`
  // name neither file.
  virtual IoStatus Replace(const std::string& from, const std::string& to, const std::string& alsoNamed) = 0;
  virtual IoStatus Remove(const std::string& path, const std::string& alsoNamed) = 0;
  // For both: Windows neither replaces nor removes a read-only file, so its
  // read-only attribute is taken off first; `alsoNamed`, another name of the
  // same file or empty, keeps it.

  virtual FileHandle StandardInput() = 0;
  virtual FileHandle StandardOutput() = 0;
};

// The operating system's file system.
FileSystem& PlatformFileSystem();

}  // namespace kelbrin
