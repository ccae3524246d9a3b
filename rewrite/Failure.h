#pragma once

#include <cstdint>
#include <string>

namespace kelbrin {

// Why a file operation or a pass failed, in terms every front end can word.
enum class FailureReason : std::uint8_t {
  None,
  NoFileName,        // nothing chosen, or the path ends in a separator
  NotFound,
  IsDirectory,
  NotRegularFile,    // a device, a pipe, a socket
  AccessDenied,
  InUse,             // another program holds the file
  DiskFull,
  NameTaken,         // the new name of a rename exists already
  NameTooLong,       // the path, or the backup's, is longer than the system takes
  NoFreeBackupName,  // every backup name we would try is taken
  InputChanged,      // another program changed the file while it was tidied
  NoLinks,           // the file system allows no second name for the file
  NotSupported,      // the file system can neither link nor rename the file
  Interrupted,       // the user stopped the run
  InputIsOutput,     // standard output is the file standard input reads
  Other,             // see the operating system's code
};

// The outcome of one platform call: the reason and the operating system's own
// code (errno or GetLastError), 0 where the program itself decided.
struct IoStatus {
  FailureReason reason = FailureReason::None;
  std::uint32_t osError = 0;

  explicit operator bool() const { return reason == FailureReason::None; }
};

enum class PassKind : std::uint8_t { CommentDelete, SpaceToTab };

// What a front end needs to tell the user about a pass that did not complete.
struct PassFailure {
  PassKind pass;
  std::string path;        // the target, as chosen
  FailureReason reason;
  std::uint32_t osError;   // 0 when the reason is the program's own
  bool unchanged;          // the target holds what it held before this pass
  std::string backupPath;  // where the content lies when it is not unchanged
};

}  // namespace kelbrin
