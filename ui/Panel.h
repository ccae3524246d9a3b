#pragma once

#include <windows.h>

namespace kelbrin::ui {

// The window class of panels: a plain area in the button-face colour, with
// or without a raised outer and a lowered inner bevel of one pixel each.
// Clicks inside a panel go on to the form.
extern const wchar_t* const kPanelClass;

// Pass as the creation parameter to get the bevels.
inline constexpr LPARAM kBevelled = 1;

// The frame that the bevels take on every side.
inline constexpr int kBevelFrame = 2;

void RegisterPanelClass();

}  // namespace kelbrin::ui
