{ Code page 932 in Pascal: 表 and ソ }
program Cp932;

const
  Table = '表 // ソ';   // 表

begin
  WriteLn(Table);    (* ソ *)
end.
