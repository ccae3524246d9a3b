// Comments and literals in Java.
public class Literals {
    static final String URL = "http://example.com/a//b";   // a URL
    static final char QUOTE = '"';    // a quote
    static final String ESCAPED = "a \"// not a comment\" b";  // c
    static final String BLOCK = """
        // a text block,    not a comment
        with "quotes" and \""" escaped
        """;  // the end
    static final String EMPTY = "";  // an empty string
    static final String SPACED = "a    b";    /* blanks    in a comment */

    public static void main(String[] args) {
        System.out.println(URL + QUOTE + ESCAPED + BLOCK + EMPTY + SPACED);    // print
    }
}
