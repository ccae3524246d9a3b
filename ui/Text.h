#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kelbrin::ui {

// The window's own texts are UTF-8 in the source and go to the screen wide;
// paths are bytes in the ANSI code page and are widened only to be shown.
std::wstring Widen(std::string_view text, UINT codePage);
std::string Narrow(std::wstring_view text, UINT codePage);

inline std::wstring FromUtf8(std::string_view text) { return Widen(text, CP_UTF8); }
inline std::wstring FromAnsi(std::string_view text) { return Widen(text, CP_ACP); }

// A message of unknown origin: UTF-8 where it is valid UTF-8, else ANSI.
std::wstring FromMessage(std::string_view text);

// A window's text, wide.
std::wstring WindowText(HWND window);

}  // namespace kelbrin::ui
