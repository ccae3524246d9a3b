# Compiles one source file to object code, for the object-code checks:
# `compile FILE OUTDIR` in FILE's own folder, so that no path differs between
# two trees; C and C++ with GCC (-c -g0), Java with javac (-g:none), Pascal
# with Free Pascal (-g- -Xs, no linking). A name with "cp932" in it is code
# page 932 and told so to the compiler. Extra flags for a tree come from
# CFLAGS_EXTRA, JAVAC_EXTRA and FPC_EXTRA. Returns the compiler's status.
compile() {
  local file=$1 out=$2 name dir
  name=$(basename "$file")
  dir=$(dirname "$file")
  mkdir -p "$out"
  local charset=() encoding=UTF-8
  case $name in
    *cp932* | *Cp932*) charset=(-finput-charset=CP932 -fexec-charset=CP932) encoding=MS932 ;;
  esac
  case $name in
    *.c) (cd "$dir" && gcc -c -g0 -w "${charset[@]}" ${CFLAGS_EXTRA:-} "$name" -o "$out/${name%.*}.o") ;;
    *.cpp | *.cc) (cd "$dir" && g++ -std=c++20 -c -g0 -w "${charset[@]}" ${CFLAGS_EXTRA:-} "$name" -o "$out/${name%.*}.o") ;;
    *.java) (cd "$dir" && javac -g:none -nowarn -encoding "$encoding" ${JAVAC_EXTRA:-} -d "$out" "$name") ;;
    *.pas | *.pp) (cd "$dir" && fpc -g- -Xs -Cn -v0 ${FPC_EXTRA:-} -FE"$out" -FU"$out" "$name" >/dev/null) ;;
    *) return 2 ;;
  esac
}

# The object files a compile left, one per line, relative to OUTDIR.
objects() { (cd "$1" && find . -type f \( -name '*.o' -o -name '*.class' \) | LC_ALL=C sort); }

# Whether two output folders hold the same object files, byte for byte.
same_objects() {
  [ "$(objects "$1")" = "$(objects "$2")" ] || return 1
  local object
  while read -r object; do cmp -s "$1/$object" "$2/$object" || return 1; done < <(objects "$1")
}
