#include "Encoding.h"

#include <array>
#include <cstring>
#include <vector>

#include "PageBuffer.h"

namespace kelbrin {

void Utf8Check::Feed(std::span<const std::uint8_t> bytes) {
  std::size_t i = 0;
  while (valid_ && i < bytes.size()) {
    // Plain ASCII eight bytes at a time: most source text is.
    if (awaiting_ == 0 && bytes.size() - i >= 8) {
      std::uint64_t eight;
      std::memcpy(&eight, bytes.data() + i, 8);
      if ((eight & 0x8080808080808080ull) == 0) {
        i += 8;
        continue;
      }
    }
    const std::uint8_t byte = bytes[i++];
    if (awaiting_ > 0) {
      valid_ = byte >= low_ && byte <= high_;
      --awaiting_;
      low_ = 0x80;
      high_ = 0xBF;
      continue;
    }
    if (byte < 0x80) continue;
    if (byte >= 0xC2 && byte <= 0xDF) {
      awaiting_ = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      awaiting_ = 2;
      if (byte == 0xE0) low_ = 0xA0;   // no overlong form
      if (byte == 0xED) high_ = 0x9F;  // no surrogate
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      awaiting_ = 3;
      if (byte == 0xF0) low_ = 0x90;
      if (byte == 0xF4) high_ = 0x8F;  // nothing past U+10FFFF
    } else {
      valid_ = false;
    }
  }
}

Encoding EncodingOf(std::span<const std::uint8_t> bytes, bool whole) {
  Utf8Check check;
  check.Feed(bytes);
  return check.Holds(whole) ? Encoding::Utf8 : Encoding::Cp932;
}

IoStatus EncodingOfFile(FileSystem& fileSystem, const std::string& path, Encoding& encoding) {
  FileHandle file = 0;
  if (IoStatus status = fileSystem.OpenForReading(path, file); !status) return status;
  PageBuffer block(1024 * 1024);
  Utf8Check check;
  IoStatus status;
  for (std::size_t got = 1; status && got > 0 && check.Holds(false);) {
    status = fileSystem.Read(file, block.data(), block.size(), got);
    if (status) check.Feed({block.data(), got});
  }
  const IoStatus closed = fileSystem.Close(file);
  encoding = check.Holds(true) ? Encoding::Utf8 : Encoding::Cp932;
  return status ? closed : status;
}

std::optional<Language> LanguageForPath(std::string_view path) {
  static constexpr std::pair<std::string_view, Language> kExtensions[] = {
      {".c", Language::C},        {".h", Language::C},        {".cpp", Language::Cpp},   {".cc", Language::Cpp},
      {".cxx", Language::Cpp},    {".c++", Language::Cpp},    {".hpp", Language::Cpp},   {".hh", Language::Cpp},
      {".hxx", Language::Cpp},    {".h++", Language::Cpp},    {".inl", Language::Cpp},   {".java", Language::Java},
      {".pas", Language::Pascal}, {".pp", Language::Pascal},  {".dpr", Language::Pascal}, {".dpk", Language::Pascal},
      {".lpr", Language::Pascal}, {".inc", Language::Pascal},
  };
  const std::size_t dot = path.find_last_of("./\\:");
  if (dot == std::string_view::npos || path[dot] != '.') return std::nullopt;
  std::string extension(path.substr(dot));
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  for (const auto& [name, language] : kExtensions) {
    if (extension == name) return language;
  }
  return std::nullopt;
}

}  // namespace kelbrin
