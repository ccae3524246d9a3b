{ Comments and literals in Pascal. }
program Literals;

const
  Url = 'http://example.com/a//b';   // a URL
  Quoted = 'it''s // not a comment'; // two quotes stand for one
  Backslash = '\';                    // no escapes
  Spaced = 'a    b';                  (* blanks    in a comment *)
  Codes = #13#10;                     // character codes are code

begin
  { a // comment inside braces }
  (* and // one inside parentheses *)
  WriteLn(Url, Quoted, Backslash, Spaced, Codes);    // print
end.
