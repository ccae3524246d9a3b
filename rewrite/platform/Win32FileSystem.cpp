#include <windows.h>

#include <string>

#include "ErrorMeanings.h"
#include "FileSystem.h"

namespace kelbrin {
namespace {

constexpr ErrorMeaning<DWORD> kWin32Meanings[] = {
    {ERROR_FILE_NOT_FOUND, FailureReason::NotFound},     {ERROR_PATH_NOT_FOUND, FailureReason::NotFound},
    {ERROR_INVALID_DRIVE, FailureReason::NotFound},      {ERROR_BAD_NETPATH, FailureReason::NotFound},
    {ERROR_ACCESS_DENIED, FailureReason::AccessDenied},  {ERROR_WRITE_PROTECT, FailureReason::AccessDenied},
    {ERROR_SHARING_VIOLATION, FailureReason::InUse},     {ERROR_LOCK_VIOLATION, FailureReason::InUse},
    {ERROR_DISK_FULL, FailureReason::DiskFull},          {ERROR_HANDLE_DISK_FULL, FailureReason::DiskFull},
    {ERROR_ALREADY_EXISTS, FailureReason::NameTaken},    {ERROR_FILE_EXISTS, FailureReason::NameTaken},
    {ERROR_FILENAME_EXCED_RANGE, FailureReason::NameTooLong},
};

IoStatus FromWin32(DWORD error) { return StatusOf(error, kWin32Meanings); }

IoStatus LastError() { return FromWin32(GetLastError()); }

HANDLE AsHandle(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }
FileHandle AsFileHandle(HANDLE handle) { return reinterpret_cast<FileHandle>(handle); }

std::wstring Widened(const std::string& path) {
  const int size = static_cast<int>(path.size());
  std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

// The file systems of Windows take names of up to 255 characters.
constexpr std::size_t kMaxNameLength = 255;

// The ANSI calls take paths of fewer than MAX_PATH characters, except the new
// name of MoveFileA, which may be longer: a file moved there could neither be
// opened nor moved back. A name too long for the file system is refused here
// too, so that it is reported as what it is.
bool FitsAsNewName(const std::string& path) {
  const std::wstring wide = Widened(path);
  const std::size_t nameStart = wide.find_last_of(L"\\/:") + 1;  // 0 when there is no separator
  return wide.size() < MAX_PATH && wide.size() - nameStart <= kMaxNameLength;
}

// Whole files may be larger than one call can move.
DWORD ChunkOf(std::size_t count) { return count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count); }

class Win32FileSystem final : public FileSystem {
 public:
  IoStatus Inspect(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {FailureReason::IsDirectory, 0};
    if (attributes & FILE_ATTRIBUTE_DEVICE) return {FailureReason::NotRegularFile, 0};
    return {};
  }

  // A link is moved and rewritten like any file, as MoveFileA does.
  IoStatus FollowLink(const std::string& path, std::string& filePath) override {
    filePath = path;
    return {};
  }

  // MoveFileA never replaces an existing file.
  IoStatus RenameNoReplace(const std::string& from, const std::string& to) override {
    if (!FitsAsNewName(to)) return {FailureReason::NameTooLong, ERROR_FILENAME_EXCED_RANGE};
    return MoveFileA(from.c_str(), to.c_str()) ? IoStatus{} : LastError();
  }

  IoStatus OpenForReading(const std::string& path, FileHandle& handle) override {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError();
    if (GetFileType(file) != FILE_TYPE_DISK) {
      CloseHandle(file);
      return {FailureReason::NotRegularFile, 0};
    }
    handle = AsFileHandle(file);
    return {};
  }

  IoStatus CreateForWriting(const std::string& path, FileHandle& handle) override {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError();
    handle = AsFileHandle(file);
    return {};
  }

  IoStatus Size(FileHandle handle, std::int64_t& size) override {
    LARGE_INTEGER value{};
    if (!GetFileSizeEx(AsHandle(handle), &value)) return LastError();
    size = value.QuadPart;
    return {};
  }

  IoStatus Read(FileHandle handle, std::uint8_t* buffer, std::size_t capacity, std::size_t& got) override {
    DWORD n = 0;
    if (!ReadFile(AsHandle(handle), buffer, ChunkOf(capacity), &n, nullptr)) {
      // A pipe whose writer has closed is the end of the input, not a failure.
      if (GetLastError() != ERROR_BROKEN_PIPE) return LastError();
      n = 0;
    }
    got = n;
    return {};
  }

  IoStatus Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count, std::size_t& put) override {
    DWORD n = 0;
    if (!WriteFile(AsHandle(handle), bytes, ChunkOf(count), &n, nullptr)) return LastError();
    put = n;
    return {};
  }

  IoStatus Close(FileHandle handle) override { return CloseHandle(AsHandle(handle)) ? IoStatus{} : LastError(); }

  IoStatus Remove(const std::string& path) override { return DeleteFileA(path.c_str()) ? IoStatus{} : LastError(); }

  FileHandle StandardInput() override { return AsFileHandle(GetStdHandle(STD_INPUT_HANDLE)); }
  FileHandle StandardOutput() override { return AsFileHandle(GetStdHandle(STD_OUTPUT_HANDLE)); }
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}

}  // namespace kelbrin
