#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Lexer.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// Whether bytes are UTF-8, fed a block at a time: no byte out of place, no
// overlong form, no surrogate, nothing past U+10FFFF.
class Utf8Check {
 public:
  void Feed(std::span<const std::uint8_t> bytes);
  // Whether what was fed is UTF-8 so far; `ended`: and no character is cut off.
  bool Holds(bool ended) const { return valid_ && (!ended || awaiting_ == 0); }

 private:
  bool valid_ = true;
  std::uint8_t awaiting_ = 0;  // continuation bytes the character still needs
  std::uint8_t low_ = 0x80;    // the range the next continuation byte must be in
  std::uint8_t high_ = 0xBF;
};

// The encoding `auto` chooses: UTF-8 for text that is valid UTF-8 (plain
// ASCII included: the two read it alike), code page 932 for any other.
Encoding EncodingOf(std::span<const std::uint8_t> bytes, bool whole);

// The same for a file, read through to its end.
IoStatus EncodingOfFile(FileSystem& fileSystem, const std::string& path, Encoding& encoding);

// The language `--syntax=auto` takes for a file, by its name's extension.
std::optional<Language> LanguageForPath(std::string_view path);

}  // namespace kelbrin
