#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ErrorMeanings.h"
#include "FileSystem.h"

namespace kelbrin {
namespace {

constexpr ErrorMeaning<int> kErrnoMeanings[] = {
    {ENOENT, FailureReason::NotFound},      {ENOTDIR, FailureReason::NotFound},
    {EISDIR, FailureReason::IsDirectory},   {EACCES, FailureReason::AccessDenied},
    {EPERM, FailureReason::AccessDenied},   {EBUSY, FailureReason::InUse},
    {ETXTBSY, FailureReason::InUse},        {ENOSPC, FailureReason::DiskFull},
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

// Where the file system cannot rename without replacing, a hard link claims
// the new name just as exclusively.
IoStatus LinkThenUnlink(const std::string& from, const std::string& to) {
  if (link(from.c_str(), to.c_str()) != 0) return LastError();
  if (unlink(from.c_str()) != 0) {
    const IoStatus failure = LastError();
    unlink(to.c_str());
    return failure;
  }
  return {};
}

class PosixFileSystem final : public FileSystem {
 public:
  IoStatus Inspect(const std::string& path) override {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return LastError();
    return KindOf(info);
  }

  IoStatus FollowLink(const std::string& path, std::string& filePath) override {
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

  IoStatus RenameNoReplace(const std::string& from, const std::string& to) override {
#if defined(__APPLE__)
    if (renamex_np(from.c_str(), to.c_str(), RENAME_EXCL) == 0) return {};
    if (errno != ENOTSUP && errno != EINVAL) return LastError();
#else
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return LastError();
#endif
    return LinkThenUnlink(from, to);
  }

  IoStatus OpenForReading(const std::string& path, FileHandle& handle) override {
    // O_NONBLOCK keeps a FIFO that took the file's place from blocking the open.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return LastError();
    struct stat info {};
    IoStatus status = fstat(fd, &info) == 0 ? KindOf(info) : LastError();
    if (status && fcntl(fd, F_SETFL, 0) != 0) status = LastError();
    if (!status) {
      close(fd);
      return status;
    }
    handle = fd;
    return {};
  }

  IoStatus CreateForWriting(const std::string& path, FileHandle& handle) override {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return LastError();
    handle = fd;
    return {};
  }

  IoStatus Size(FileHandle handle, std::int64_t& size) override {
    struct stat info {};
    if (fstat(static_cast<int>(handle), &info) != 0) return LastError();
    size = info.st_size;
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

  IoStatus Remove(const std::string& path) override { return unlink(path.c_str()) == 0 ? IoStatus{} : LastError(); }

  FileHandle StandardInput() override { return STDIN_FILENO; }
  FileHandle StandardOutput() override { return STDOUT_FILENO; }
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static PosixFileSystem fileSystem;
  return fileSystem;
}

}  // namespace kelbrin
