/* Code page 932 in C: 表 and ソ end on a backslash byte. */
#include <stdio.h>

static const char *table = "表";     // 表
static const char *sou = "ソ//ソ";   // ソ
static const char *both = "表ソ\\"; /* 表 */
static const char letter = 'ソ';  // a multi-character constant
// a comment that ends in 表
static const char *after = "after";

int main(void) {
    printf("%s %s %s %s %d\n", table, sou, both, after, letter);    // print
    return 0;
}
