// Comments and literals in C++.
#include <cstdio>

constexpr long million = 1'000'000;   // digit separators, no characters
constexpr unsigned mask = 0xFF'FF'00'00u; // it's hexadecimal
constexpr char32_t wide = U'/';        // a prefixed character
const char *raw = R"(// a raw string)";
const char *delimited = R"end(a )" b )end"; // c
const char8_t *utf8 = u8R"(u8 // raw)";
const wchar_t *wideRaw = LR"x(
    // over lines,    with blanks
)x";
#define GREETING "hello // world"  // a macro's string

int main() {
    std::printf("%ld %u %d %s %s %s %ls %s\n", million, mask, static_cast<int>(wide), raw, delimited,
                reinterpret_cast<const char *>(utf8), wideRaw, GREETING);
    return static_cast<int>(million / 1'000);    // division
}
