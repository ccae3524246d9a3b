#pragma once

#include <string>
#include <string_view>

namespace kelbrin::gui {

// An escaped failure's message as the error box shows it: a "." is added when
// the last character sorts after ".", so "!" and "." stay as they are while a
// letter, a digit or a double-byte character gets one. Works on UTF-8 and on
// code-page 932 alike: the last byte of a multi-byte character is above ".".
std::string WithFullStop(std::string_view message);

}  // namespace kelbrin::gui
