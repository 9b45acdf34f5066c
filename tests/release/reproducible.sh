#!/usr/bin/env bash
# Builds the Windows distribution a second time, from a copy of the sources in another folder and
# later than the first build, and compares the two byte by byte: menu.exe, skincheck.exe, the zip,
# the disc image, and every file of the distribution folder with its date and permissions. It also reads back
# the header and the imports of the menu.exe that goes onto discs, which need not run here.
# Usage: reproducible.sh WORK_FOLDER
# Ends with "reproducible: N passed, N failed", one count a compared file or a check.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$1
first=$root/build/windows
version=$(sed -n 's/^project(menu VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
zip=package/menu-$version-win32.zip
iso=package/menu-$version.iso

(cmake --preset windows && cmake --build --preset windows --target package iso skincheck) >/dev/null || exit 1

# The sources as they stand (committed or not), without the build folders or anything ignored;
# the second build is given the first one's date, which it would otherwise take from git.
mkdir -p "$work/src"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 cp --parents -t "$work/src") || exit 1
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(cat "$first/source_date_epoch")
second=$work/src/build/windows
(cd "$work/src" && cmake --preset windows >/dev/null &&
  cmake --build --preset windows --target menu skincheck demo_installer dist package iso >/dev/null) ||
  exit 1

passed=0
failed=0
# What one build folder holds for a file: its hash, and in the distribution its date and mode.
describe() {
  (cd "$1" && sha256sum "$2" | cut -d' ' -f1 && case $2 in dist/*) stat -c '%Y %a' "$2" ;; esac)
}
compare() {
  local a b
  a=$(describe "$first" "$1")
  b=$(describe "$second" "$1")
  if [ -n "$a" ] && [ "$a" = "$b" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "differs: $1"
    echo "  first:  $(echo $a)"
    echo "  second: $(echo $b)"
  fi
}
compare startup/menu.exe
compare tools/skincheck/skincheck.exe
compare "$zip"
compare "$iso"
files=$(cd "$first" && find dist -mindepth 1 | LC_ALL=C sort)
if [ "$files" != "$(cd "$second" && find dist -mindepth 1 | LC_ALL=C sort)" ]; then
  echo "the two distribution folders hold different files"
  failed=$((failed + 1))
fi
for file in $files; do
  if [ -f "$first/$file" ]; then
    compare "$file"
  elif [ "$(stat -c %Y "$first/$file")" != "$(stat -c %Y "$second/$file")" ]; then
    echo "folder $file is dated differently"
    failed=$((failed + 1))
  fi
done
# The program for discs, read back without running it.
for check in "python3 $root/tools/release/pe.py --check --machine i386 --max-bytes 262144 \
    $first/dist/menu.exe" "cmake -DOBJDUMP=i686-w64-mingw32-objdump -DEXE=$first/dist/menu.exe \
    -P $root/tests/win/check_imports.cmake"; do
  if $check; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
done
echo "$zip, $iso and dist/ dated $(date -u -d "@$SOURCE_DATE_EPOCH" '+%F %T') UTC"
echo "reproducible: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
