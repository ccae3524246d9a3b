#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelbrin::test {

// A fresh folder for one test, removed with everything in it afterwards.
// Paths are byte strings, as the program's own (the ANSI code page on Windows).
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder's path with a trailing separator, ready to take a name.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

  // The names in the folder, sorted.
  std::vector<std::string> Names() const;

 private:
  std::string path_;
};

// The names in a folder (given with its trailing separator), sorted.
std::vector<std::string> NamesIn(const std::string& dir);

void WriteBytes(const std::string& path, const std::string& bytes);
std::optional<std::string> ReadBytes(const std::string& path);  // nullopt if it cannot be read
// Writes `bytes` at `offset`, making the file that long if it is shorter; the
// gap before them is a hole where the file system has them.
void WriteBytesAt(const std::string& path, std::int64_t offset, const std::string& bytes);
std::string ReadBytesAt(const std::string& path, std::int64_t offset, std::size_t count);
std::int64_t FileSize(const std::string& path);
// Bytes free on the file system that holds `dir`.
std::int64_t FreeSpace(const std::string& dir);
void MakeDirectory(const std::string& path);
std::string CurrentDirectory();
void ChangeDirectory(const std::string& path);

// The platform's separator, for building paths in tests.
extern const char kSeparator;

}  // namespace kelbrin::test
