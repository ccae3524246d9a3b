/* Comments and literals in C: what the plain rules get wrong. */
#include <stdio.h>

static const char *url = "http://example.com/a//b";   // a URL in a string
static const char quote = '"';  // a quote in a character
static const char slash = '/';  // a slash in one
static const char *escaped = "a \"// not a comment\" b\\"; // c
static const char *spliced = "one \
// still the string";
static const char *raw = R"x(a )" // not the end )x";  /* GNU C reads raw strings */
static const char *spaced = "a    b	    c";          // blanks in a string

// A comment continued on the next line: \
static const char *hidden = "this line is a comment too";

int add(int a, int b) {
    return a / b * 2;  /* division // is no comment in here */
}

int main(void) {
    printf("%s %c %c %s %s %s %s\n", url, quote, slash, escaped, spliced, raw, spaced);
    return add(4, 2);    // three blanks before a tab:   	x
}
