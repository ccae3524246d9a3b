#include <windows.h>

#include "../CharWidth.h"

namespace kelbrin {

// Windows has no wcwidth; its own character types tell wide and combining
// characters apart.
int SystemCharWidth(char32_t character) {
  wchar_t units[2];
  int count = 1;
  if (character >= 0x10000) {
    units[0] = static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
    count = 2;
  } else {
    units[0] = static_cast<wchar_t>(character);
  }
  WORD types[2] = {};
  if (!GetStringTypeW(CT_CTYPE3, units, count, types)) return -1;
  if (types[0] & C3_NONSPACING) return 0;
  if (types[0] & (C3_FULLWIDTH | C3_IDEOGRAPH)) return 2;
  return 1;
}

}  // namespace kelbrin
