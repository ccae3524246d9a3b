#pragma once

namespace kelbrin {

// The columns a character takes on screen by its East Asian width: 2 for
// wide and full-width characters, 0 for combining marks, -1 where the system
// knows none. From the system's own tables (the C library's wcwidth).
int SystemCharWidth(char32_t character);

// A function of that kind, for tests to give their own.
using CharWidth = int (*)(char32_t character);

}  // namespace kelbrin
