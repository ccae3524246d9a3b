// Code page 932 in Java: 表 and ソ in strings, characters and comments.
public class Cp932 {
    static final String TABLE = "表";    // 表
    static final char SOU = 'ソ';    // ソ
    static final String BLOCK = """
        表 // ソ
        """;  /* 表 */

    public static void main(String[] args) {
        System.out.println(TABLE + SOU + BLOCK);    // print
    }
}
