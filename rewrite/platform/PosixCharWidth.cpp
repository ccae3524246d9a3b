#include <clocale>
#include <cwchar>

#include <locale.h>
#include <wchar.h>

#include "../CharWidth.h"

namespace kelbrin {

int SystemCharWidth(char32_t character) {
  // The widths of UTF-8's character set, whatever locale the program runs in.
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  if (utf8 == static_cast<locale_t>(nullptr)) return -1;
  const locale_t before = uselocale(utf8);
  const int width = wcwidth(static_cast<wchar_t>(character));
  uselocale(before);
  return width;
}

}  // namespace kelbrin
