// Code page 932 in C++: characters and raw strings.
#include <cstdio>

const char *table = "表";    // 表
const char *raw = R"(ソ//)";  // ソ
const int sou = static_cast<unsigned char>("ソ"[1]); // ソ

int main() {
    std::printf("%s %s %d\n", table, raw, sou);   // 表
}
