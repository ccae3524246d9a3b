#include <windows.h>

#include <aclapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "ErrorMeanings.h"
#include "FileSystem.h"
#include "../SplitTarget.h"

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

std::int64_t Ticks(const LARGE_INTEGER& time) { return time.QuadPart; }

// What file systems without hard links, or with too many, say to a new one.
bool MeansNoLinks(DWORD error) {
  return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED || error == ERROR_NOT_SAME_DEVICE ||
         error == ERROR_TOO_MANY_LINKS || error == ERROR_INVALID_PARAMETER;
}

// The attributes a file keeps when it is rewritten.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// Sets a file's attributes through a handle.
bool SetAttributes(HANDLE file, DWORD attributes) {
  FILE_BASIC_INFO basic{};  // times of 0 stay as they are
  basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
  return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != 0;
}

// Runs `change` on `path`, which Windows refuses for a read-only file, with
// the read-only attribute taken off the file first. The attribute is put
// back under `alsoNamed`, the file's other name, or on `path` where the
// change failed. No handle may stay open on the file meanwhile: Windows
// replaces no file that is open.
template <class Change>
IoStatus EvenIfReadOnly(const std::string& path, const std::string& alsoNamed, Change change) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
                        SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  const bool done = change();
  const DWORD error = GetLastError();
  const std::string& keeper = done ? alsoNamed : path;
  if (readOnly && !keeper.empty()) SetFileAttributesA(keeper.c_str(), attributes);
  return done ? IoStatus{} : FromWin32(error);
}

// A security descriptor whose access control list lets only the process's
// user in, for a work file that holds a private file's content.
class OwnerOnly {
 public:
  OwnerOnly() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    user_.resize(size);
    const bool known = GetTokenInformation(token, TokenUser, user_.data(), size, &size) != 0;
    CloseHandle(token);
    if (!known) return;
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
    acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
    const auto acl = reinterpret_cast<PACL>(acl_.data());
    ready_ = InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) &&
             AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) &&
             InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
             SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
  }

  // Null where the descriptor could not be made: the folder's then applies.
  SECURITY_ATTRIBUTES* Attributes() {
    attributes_ = {sizeof attributes_, &descriptor_, FALSE};
    return ready_ ? &attributes_ : nullptr;
  }

 private:
  std::vector<std::uint8_t> user_;
  std::vector<std::uint8_t> acl_;
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  bool ready_ = false;
};

// The original's access control list, protected from the folder's or taking
// it in as the original does; file systems without them have nothing to copy.
IoStatus CopyAccessList(HANDLE from, HANDLE to) {
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  DWORD error = GetSecurityInfo(from, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list, nullptr,
                                &descriptor);
  if (error == ERROR_SUCCESS) {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION | (control & SE_DACL_PROTECTED
                                                                       ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                       : UNPROTECTED_DACL_SECURITY_INFORMATION);
    error = SetSecurityInfo(to, SE_FILE_OBJECT, what, nullptr, nullptr, list, nullptr);
    LocalFree(descriptor);
  }
  if (error == ERROR_SUCCESS || error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) return {};
  return FromWin32(error);
}

// Two runs of the program on one file would each find the other's second
// name for it a change to the file; the second to come is refused instead.
// The lock lies far past the end of any file, so that it keeps no other
// program from reading; file systems without locks are read unlocked.
IoStatus HoldAgainstOtherRuns(HANDLE file) {
  OVERLAPPED farAway{};
  farAway.Offset = 0xFFFFFFFF;
  farAway.OffsetHigh = 0x7FFFFFFF;
  if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &farAway)) return {};
  const DWORD error = GetLastError();
  if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) return {};
  return FromWin32(error);
}

// The volume and the file on it. Windows before 8 knows no file IDs, and
// handles that Wine makes for a program's standard streams answer nothing
// else.
bool IdentifyVolumeAndFile(HANDLE file, FileIdentity& identity) {
  FILE_ID_INFO id{};
  if (GetFileInformationByHandleEx(file, FileIdInfo, &id, sizeof id)) {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    std::memcpy(&low, id.FileId.Identifier, sizeof low);
    std::memcpy(&high, id.FileId.Identifier + sizeof low, sizeof high);
    identity.device = id.VolumeSerialNumber;
    identity.file = low ^ high;
    return true;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return false;
  identity.device = info.dwVolumeSerialNumber;
  identity.file = static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
  return true;
}

class Win32FileSystem final : public FileSystem {
 public:
  IoStatus Inspect(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {FailureReason::IsDirectory, 0};
    if (attributes & FILE_ATTRIBUTE_DEVICE) return {FailureReason::NotRegularFile, 0};
    return {};
  }

  // A link is moved and rewritten like any file, as MoveFileA does. A short
  // name or another spelling of the name is taken back to the name on disk,
  // so that the backups and the rewritten file keep the real name. A name the
  // ANSI code page cannot spell is left as the user gave it.
  IoStatus ResolveFile(const std::string& path, std::string& filePath) override {
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return LastError();
    FindClose(search);
    const std::string name = found.cFileName;
    filePath = name.find('?') == std::string::npos ? SplitTarget(path, PlatformPathRules()).TargetDir + name : path;
    return {};
  }

  IoStatus Identify(FileHandle handle, FileIdentity& identity) override {
    const HANDLE file = AsHandle(handle);
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
    if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) ||
        !GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) ||
        !IdentifyVolumeAndFile(file, identity))
      return LastError();
    identity.size = standard.EndOfFile.QuadPart;
    identity.modified = Ticks(basic.LastWriteTime);
    identity.changed = Ticks(basic.ChangeTime);
    identity.regular = !standard.Directory && GetFileType(file) == FILE_TYPE_DISK;
    return {};
  }

  IoStatus IdentifyPath(const std::string& path, FileIdentity& identity) override {
    const HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError();
    const IoStatus status = Identify(AsFileHandle(file), identity);
    CloseHandle(file);
    return status;
  }

  // Others may read the file meanwhile but not write to it; sharing its
  // deletion lets the result take its name while it is open.
  IoStatus OpenForReading(const std::string& path, FileHandle& handle) override {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError();
    if (GetFileType(file) != FILE_TYPE_DISK) {
      CloseHandle(file);
      return {FailureReason::NotRegularFile, 0};
    }
    if (IoStatus status = HoldAgainstOtherRuns(file); !status) {
      CloseHandle(file);
      return status;
    }
    handle = AsFileHandle(file);
    return {};
  }

  IoStatus CreateWorkFile(const std::string& folder, FileHandle& handle, std::string& path) override {
    OwnerOnly ownerOnly;
    for (int attempt = 0; attempt < kWorkFileAttempts; ++attempt) {
      std::string name = folder + ".kelbrin-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(nextWorkFile_++) + ".tmp";
      const HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE | WRITE_DAC, 0,
                                      ownerOnly.Attributes(), CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        handle = AsFileHandle(file);
        path = std::move(name);
        return {};
      }
      if (GetLastError() != ERROR_FILE_EXISTS) return LastError();
    }
    return {FailureReason::NameTaken, ERROR_FILE_EXISTS};
  }

  IoStatus CopyMetadata(FileHandle from, const std::string&, FileHandle to, const std::string&) override {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(AsHandle(from), &info)) return LastError();
    if (IoStatus status = CopyAccessList(AsHandle(from), AsHandle(to)); !status) return status;
    return SetAttributes(AsHandle(to), info.dwFileAttributes & kKeptAttributes) ? IoStatus{} : LastError();
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

  IoStatus Link(const std::string& existing, const std::string& newName) override {
    if (!FitsAsNewName(newName)) return {FailureReason::NameTooLong, ERROR_FILENAME_EXCED_RANGE};
    if (CreateHardLinkA(newName.c_str(), existing.c_str(), nullptr)) return {};
    const DWORD error = GetLastError();
    if (MeansNoLinks(error)) return {FailureReason::NoLinks, error};
    return FromWin32(error);
  }

  // MoveFileA never replaces an existing file.
  IoStatus RenameNoReplace(const std::string& from, const std::string& to) override {
    if (!FitsAsNewName(to)) return {FailureReason::NameTooLong, ERROR_FILENAME_EXCED_RANGE};
    return MoveFileA(from.c_str(), to.c_str()) ? IoStatus{} : LastError();
  }

  IoStatus Replace(const std::string& from, const std::string& to, const std::string& alsoNamed) override {
    if (!FitsAsNewName(to)) return {FailureReason::NameTooLong, ERROR_FILENAME_EXCED_RANGE};
    return EvenIfReadOnly(to, alsoNamed,
                          [&] { return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0; });
  }

  IoStatus Remove(const std::string& path, const std::string& alsoNamed) override {
    return EvenIfReadOnly(path, alsoNamed, [&] { return DeleteFileA(path.c_str()) != 0; });
  }

  FileHandle StandardInput() override { return AsFileHandle(GetStdHandle(STD_INPUT_HANDLE)); }
  FileHandle StandardOutput() override { return AsFileHandle(GetStdHandle(STD_OUTPUT_HANDLE)); }

 private:
  static constexpr int kWorkFileAttempts = 100;
  unsigned nextWorkFile_ = GetTickCount();
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}

}  // namespace kelbrin
