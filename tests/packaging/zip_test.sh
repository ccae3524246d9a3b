#!/usr/bin/env bash
# Packs the Windows zip as `make dist` does and looks inside: the two programs,
# stripped and importing only DLLs that Windows keeps known, the help file and
# the licence. Usage: zip_test.sh CPACK CMAKE OBJDUMP BUILD_DIR LICENSE
set -u
cpack=$1
cmake=$2
objdump=$3
build=$4
licence=$5
source "$(dirname "$0")/checks.sh"

"$cpack" --config "$build/CPackConfig.cmake" -B "$work/dist" >"$work/cpack.log" 2>&1 || fail "cpack: $(cat "$work/cpack.log")"
zip=$(echo "$work"/dist/kelbrin-*-win64.zip)
[ -f "$zip" ] || { echo "FAIL: no zip in $(ls "$work/dist")"; exit 1; }
folder=$(basename "$zip" .zip)
listed=$(cd "$work" && "$cmake" -E tar tf "$zip" | grep -v '/$' | LC_ALL=C sort)
expected=$(printf '%s\n' LICENSE ReadMe.txt kelbrin-cli.exe kelbrin.exe | sed "s|^|$folder/|" | LC_ALL=C sort)
[ "$listed" = "$expected" ] || fail "the zip holds: $listed"
(cd "$work" && "$cmake" -E tar xf "$zip") || fail "the zip does not unpack"
cmp -s "$work/$folder/ReadMe.txt" "$build/ReadMe.txt" || fail "ReadMe.txt is not the one beside kelbrin.exe"
cmp -s "$work/$folder/LICENSE" "$licence" || fail "LICENSE is not the licence"

# The DLLs that Windows always loads from its own folder, whatever lies beside
# the program: the KnownDLLs of Windows 10 and 11, and ntdll, which every
# process has. Anything else would be searched for beside the program first.
known=" advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt "
known+=" normaliz nsi ntdll ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32 "
for exe in kelbrin.exe kelbrin-cli.exe; do
  headers=$("$objdump" -p -h "$work/$folder/$exe") || { fail "$exe: objdump fails"; continue; }
  grep -q ' \.debug' <<<"$headers" && fail "$exe is not stripped"
  imports=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]')
  grep -q kernel32 <<<"$imports" || fail "$exe: no import table found"
  for dll in $imports; do
    [[ $known == *" ${dll%.dll} "* ]] || fail "$exe imports $dll, which Windows does not keep known"
  done
done

finish
