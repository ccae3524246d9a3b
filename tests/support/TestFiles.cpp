#include "TestFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#ifdef _WIN32
#include <direct.h>
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace kelbrin::test {
namespace {

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error("test set-up failed: " + what);
}

#ifdef _WIN32
std::vector<std::string> ListNames(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((dir + "*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return names;
}

void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    return;
  }
  for (const std::string& name : ListNames(path + "\\")) RemoveTree(path + "\\" + name);
  RemoveDirectoryA(path.c_str());
}

std::string MakeTempDir() {
  char base[MAX_PATH + 1];
  Check(GetTempPathA(sizeof base, base) != 0, "GetTempPathA");
  for (unsigned n = GetTickCount();; ++n) {
    const std::string path = std::string(base) + "kelbrin-test-" + std::to_string(n);
    if (CreateDirectoryA(path.c_str(), nullptr)) return path + "\\";
    Check(GetLastError() == ERROR_ALREADY_EXISTS, "CreateDirectoryA " + path);
  }
}
#else
std::vector<std::string> ListNames(const std::string& dir) {
  std::vector<std::string> names;
  DIR* stream = opendir(dir.c_str());
  if (!stream) return names;
  while (const dirent* entry = readdir(stream)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(stream);
  return names;
}

void RemoveTree(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return;
  if (S_ISDIR(info.st_mode)) {
    chmod(path.c_str(), 0700);
    for (const std::string& name : ListNames(path)) RemoveTree(path + "/" + name);
    rmdir(path.c_str());
  } else {
    unlink(path.c_str());
  }
}

std::string MakeTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/kelbrin-test-XXXXXX";
  Check(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
  return pattern + "/";
}
#endif

}  // namespace

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

TempDir::TempDir() : path_(MakeTempDir()) {}

TempDir::~TempDir() { RemoveTree(path_.substr(0, path_.size() - 1)); }

std::vector<std::string> TempDir::Names() const { return NamesIn(path_); }

std::vector<std::string> NamesIn(const std::string& dir) {
  std::vector<std::string> names = ListNames(dir);
  std::sort(names.begin(), names.end());
  return names;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Check(file != nullptr, "open " + path);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  Check(std::fclose(file) == 0 && written, "write " + path);
}

std::optional<std::string> ReadBytes(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::string bytes;
  char block[65536];
  for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) bytes.append(block, n);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

namespace {

void Seek(std::FILE* file, std::int64_t offset, int whence) {
#ifdef _WIN32
  Check(_fseeki64(file, offset, whence) == 0, "seek");
#else
  Check(fseeko(file, static_cast<off_t>(offset), whence) == 0, "seek");
#endif
}

}  // namespace

void WriteBytesAt(const std::string& path, std::int64_t offset, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file) file = std::fopen(path.c_str(), "w+b");
  Check(file != nullptr, "open " + path);
  Seek(file, offset, SEEK_SET);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  Check(std::fclose(file) == 0 && written, "write " + path);
}

std::string ReadBytesAt(const std::string& path, std::int64_t offset, std::size_t count) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  Check(file != nullptr, "open " + path);
  Seek(file, offset, SEEK_SET);
  std::string bytes(count, '\0');
  bytes.resize(std::fread(bytes.data(), 1, count, file));
  std::fclose(file);
  return bytes;
}

std::int64_t FileSize(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  Check(file != nullptr, "open " + path);
  Seek(file, 0, SEEK_END);
#ifdef _WIN32
  const std::int64_t size = _ftelli64(file);
#else
  const std::int64_t size = ftello(file);
#endif
  std::fclose(file);
  return size;
}

std::int64_t FreeSpace(const std::string& dir) {
#ifdef _WIN32
  ULARGE_INTEGER available{};
  Check(GetDiskFreeSpaceExA(dir.c_str(), &available, nullptr, nullptr) != 0, "free space of " + dir);
  return static_cast<std::int64_t>(available.QuadPart);
#else
  struct statvfs info {};
  Check(statvfs(dir.c_str(), &info) == 0, "free space of " + dir);
  return static_cast<std::int64_t>(info.f_bavail) * static_cast<std::int64_t>(info.f_frsize);
#endif
}

void MakeDirectory(const std::string& path) {
#ifdef _WIN32
  Check(CreateDirectoryA(path.c_str(), nullptr) != 0, "mkdir " + path);
#else
  Check(mkdir(path.c_str(), 0777) == 0, "mkdir " + path);
#endif
}

std::string CurrentDirectory() {
  char buffer[4096];
#ifdef _WIN32
  Check(_getcwd(buffer, sizeof buffer) != nullptr, "getcwd");
#else
  Check(getcwd(buffer, sizeof buffer) != nullptr, "getcwd");
#endif
  return buffer;
}

void ChangeDirectory(const std::string& path) {
#ifdef _WIN32
  Check(_chdir(path.c_str()) == 0, "chdir " + path);
#else
  Check(chdir(path.c_str()) == 0, "chdir " + path);
#endif
}

}  // namespace kelbrin::test
