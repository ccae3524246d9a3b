#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__linux__)
#include <acl/libacl.h>
#include <sys/xattr.h>
#include <attr/libattr.h>
#endif

#include "ErrorMeanings.h"
#include "FileSystem.h"

namespace kelbrin {
namespace {

constexpr ErrorMeaning<int> kErrnoMeanings[] = {
    {ENOENT, FailureReason::NotFound},      {ENOTDIR, FailureReason::NotFound},
    {EISDIR, FailureReason::IsDirectory},   {EACCES, FailureReason::AccessDenied},
    {EPERM, FailureReason::AccessDenied},   {EBUSY, FailureReason::InUse},
    {ETXTBSY, FailureReason::InUse},        {EWOULDBLOCK, FailureReason::InUse},
    {ENOSPC, FailureReason::DiskFull},
    {EDQUOT, FailureReason::DiskFull},      {EEXIST, FailureReason::NameTaken},
    {ENAMETOOLONG, FailureReason::NameTooLong},
};

IoStatus FromErrno(int error) { return StatusOf(error, kErrnoMeanings); }

IoStatus LastError() { return FromErrno(errno); }

IoStatus KindOf(const struct stat& info) {
  if (S_ISREG(info.st_mode)) return {};
  if (S_ISDIR(info.st_mode)) return {FailureReason::IsDirectory, EISDIR};
  return {FailureReason::NotRegularFile, 0};
}

std::int64_t Nanoseconds(const struct timespec& time) { return time.tv_sec * 1'000'000'000LL + time.tv_nsec; }

FileIdentity IdentityOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino), info.st_size,
#if defined(__APPLE__)
          Nanoseconds(info.st_mtimespec), Nanoseconds(info.st_ctimespec),
#else
          Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim),
#endif
          S_ISREG(info.st_mode)};
}

// What file systems without hard links say to link(), and what a rule such
// as Linux's protected hard links says for another user's file.
bool MeansNoLinks(int error) {
  return error == EPERM || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS || error == EXDEV ||
         error == EINVAL;
}

// What a file system says to a rename that it cannot make at all.
bool MeansNoRename(int error) { return error == EOPNOTSUPP || error == ENOSYS || error == EINVAL; }

IoStatus LinkFile(const std::string& existing, const std::string& newName) {
  if (link(existing.c_str(), newName.c_str()) == 0) return {};
  if (MeansNoLinks(errno)) return {FailureReason::NoLinks, static_cast<std::uint32_t>(errno)};
  return LastError();
}

// Where the file system cannot rename without replacing, a hard link claims
// the new name just as exclusively; where it has no hard links either, the
// name is checked free immediately before a plain rename.
IoStatus RenameWithoutNoReplace(const std::string& from, const std::string& to) {
  IoStatus status = LinkFile(from, to);
  if (status) {
    if (unlink(from.c_str()) == 0) return {};
    status = LastError();
    unlink(to.c_str());
    return status;
  }
  if (status.reason != FailureReason::NoLinks) return status;
  struct stat info {};
  if (lstat(to.c_str(), &info) == 0) return {FailureReason::NameTaken, EEXIST};
  if (errno != ENOENT) return LastError();
  if (rename(from.c_str(), to.c_str()) == 0) return {};
  if (MeansNoRename(errno)) return {FailureReason::NotSupported, static_cast<std::uint32_t>(errno)};
  return LastError();
}

// Owner and group where the process may set them; otherwise the group alone,
// or what the new file has. Before the permissions, which a change of owner
// may clear.
void CopyOwner(const struct stat& info, int to) {
  if (fchown(to, info.st_uid, info.st_gid) == 0) return;
  [[maybe_unused]] const int groupOnly = fchown(to, static_cast<uid_t>(-1), info.st_gid);
}

// What a file system that keeps no permissions or attributes of its own, such
// as FAT, says when asked to set them: every file on it has the same.
bool MeansNotKept(int error) { return error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP; }

IoStatus CopyAccess(const std::string& fromPath, int from, const std::string& toPath, int to) {
#if defined(__linux__)
  // The access control list, or the permissions where there is none; then
  // the extended attributes that are not permissions.
  // Without an access control list of its own, the mode alone says it all,
  // and is set below. An access control list is an extended attribute too:
  // a file that lists none, as most do, has neither.
  if (flistxattr(from, nullptr, 0) == 0) return {};
  if (acl_extended_fd(from) == 1 && perm_copy_fd(fromPath.c_str(), from, toPath.c_str(), to, nullptr) != 0 &&
      !MeansNotKept(errno))
    return LastError();
  if (attr_copy_fd(fromPath.c_str(), from, toPath.c_str(), to, nullptr, nullptr) != 0 && !MeansNotKept(errno))
    return LastError();
#else
  (void)fromPath, (void)from, (void)toPath, (void)to;
#endif
  return {};
}

// Two runs of the program on one file would each find the other's second
// name for it a change to the file; the second to come is refused instead.
// File systems without such locks are read unlocked.
IoStatus HoldAgainstOtherRuns(int fd) {
  if (flock(fd, LOCK_EX | LOCK_NB) == 0 || errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS) return {};
  return LastError();
}

class PosixFileSystem final : public FileSystem {
 public:
  IoStatus Inspect(const std::string& path) override {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return LastError();
    return KindOf(info);
  }

  IoStatus ResolveFile(const std::string& path, std::string& filePath) override {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return LastError();
    if (!S_ISLNK(info.st_mode)) {
      filePath = path;
      return {};
    }
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
    if (!resolved) return LastError();
    filePath = resolved.get();
    return {};
  }

  IoStatus Identify(FileHandle handle, FileIdentity& identity) override {
    struct stat info {};
    if (fstat(static_cast<int>(handle), &info) != 0) return LastError();
    identity = IdentityOf(info);
    return {};
  }

  IoStatus IdentifyPath(const std::string& path, FileIdentity& identity) override {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return LastError();
    identity = IdentityOf(info);
    return {};
  }

  IoStatus OpenForReading(const std::string& path, FileHandle& handle) override {
    // O_NONBLOCK keeps a FIFO that took the file's place from blocking the open.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return LastError();
    struct stat info {};
    IoStatus status = fstat(fd, &info) == 0 ? KindOf(info) : LastError();
    if (status && fcntl(fd, F_SETFL, 0) != 0) status = LastError();
    if (status) status = HoldAgainstOtherRuns(fd);
    if (!status) {
      close(fd);
      return status;
    }
    handle = fd;
    return {};
  }

  // mkostemps makes the file with permissions for its owner only. The name
  // this thread made last is tried first: once its file is removed, the
  // folder still knows the name to be free, where a new name has to be
  // looked for among all the folder's names while the folder is locked.
  // O_EXCL makes the name just as much the program's own as a new one.
  IoStatus CreateWorkFile(const std::string& folder, FileHandle& handle, std::string& path) override {
    thread_local std::string lastName;
    int fd = -1;
    if (lastName.size() == folder.size() + sizeof kWorkFilePattern - 1 && lastName.starts_with(folder))
      fd = open(lastName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      std::string name = folder + kWorkFilePattern;
      fd = mkostemps(name.data(), kWorkFileSuffixLength, O_CLOEXEC);
      if (fd < 0) return LastError();
      lastName = std::move(name);
    }
    handle = fd;
    path = lastName;
    return {};
  }

  IoStatus CopyMetadata(FileHandle from, const std::string& fromPath, FileHandle to,
                        const std::string& toPath) override {
    struct stat info {};
    if (fstat(static_cast<int>(from), &info) != 0) return LastError();
    CopyOwner(info, static_cast<int>(to));
    if (IoStatus status = CopyAccess(fromPath, static_cast<int>(from), toPath, static_cast<int>(to)); !status)
      return status;
    // Set-user-ID, set-group-ID and sticky bits too, which access control
    // lists do not carry.
    if (fchmod(static_cast<int>(to), info.st_mode & 07777) != 0 && !MeansNotKept(errno)) return LastError();
    return {};
  }

  IoStatus Read(FileHandle handle, std::uint8_t* buffer, std::size_t capacity, std::size_t& got) override {
    ssize_t n;
    do n = read(static_cast<int>(handle), buffer, capacity);
    while (n < 0 && errno == EINTR);
    if (n < 0) return LastError();
    got = static_cast<std::size_t>(n);
    return {};
  }

  IoStatus Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count, std::size_t& put) override {
    ssize_t n;
    do n = write(static_cast<int>(handle), bytes, count);
    while (n < 0 && errno == EINTR);
    if (n < 0) return LastError();
    put = static_cast<std::size_t>(n);
    return {};
  }

  IoStatus Close(FileHandle handle) override {
    return close(static_cast<int>(handle)) == 0 || errno == EINTR ? IoStatus{} : LastError();
  }

  IoStatus Link(const std::string& existing, const std::string& newName) override {
    return LinkFile(existing, newName);
  }

  IoStatus RenameNoReplace(const std::string& from, const std::string& to) override {
#if defined(__APPLE__)
    if (renamex_np(from.c_str(), to.c_str(), RENAME_EXCL) == 0) return {};
    if (errno != ENOTSUP && errno != EINVAL) return LastError();
#else
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return LastError();
#endif
    return RenameWithoutNoReplace(from, to);
  }

  IoStatus Replace(const std::string& from, const std::string& to, const std::string&) override {
#if defined(__linux__)
    // Exchanged, the two names change places in one step just as a rename
    // over `to` would have it; ext4 would also write the new file out to
    // the disk at once on such a rename, which costs more than the rest of a
    // pass. What `to` named is then the work file's name to remove; should
    // that fail, it is left over as a work file.
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) {
      unlink(from.c_str());
      return {};
    }
    // A `to` that is missing (its file moved to the backup name) takes the
    // plain rename, as do file systems without exchanges.
    if (errno != ENOENT && errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return LastError();
#endif
    if (rename(from.c_str(), to.c_str()) == 0) return {};
    if (MeansNoRename(errno)) return {FailureReason::NotSupported, static_cast<std::uint32_t>(errno)};
    return LastError();
  }

  IoStatus Remove(const std::string& path, const std::string&) override {
    return unlink(path.c_str()) == 0 ? IoStatus{} : LastError();
  }

  FileHandle StandardInput() override { return STDIN_FILENO; }
  FileHandle StandardOutput() override { return STDOUT_FILENO; }

 private:
  static constexpr char kWorkFilePattern[] = ".kelbrin-XXXXXX.tmp";
  static constexpr int kWorkFileSuffixLength = 4;
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static PosixFileSystem fileSystem;
  return fileSystem;
}

}  // namespace kelbrin
