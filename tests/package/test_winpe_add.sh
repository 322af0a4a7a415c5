#!/usr/bin/env bash
# scripts/winpe-add against real WIM files made here with wimlib: it puts
# kelvory.exe, kelvory.ini and winpeshl.ini into \Windows\System32 of the chosen
# image and changes nothing else; it refuses to replace a winpeshl.ini without
# --force; and every bad input gets one line on stderr, a non-zero exit and a
# WIM unchanged byte for byte.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
add=$root/scripts/winpe-add

# Two small WinPE-like images: the second already has a shell of its own,
# spelt in another letter case, as Windows paths may be.
make_tree() { # make_tree <folder> <seed>
  mkdir -p "$1/Windows/System32/drivers" "$1/Program Files/Tool"
  head -c 5000 /dev/urandom >"$1/Windows/System32/cmd.exe"
  head -c 3000 /dev/urandom >"$1/Windows/System32/drivers/disk.sys"
  printf 'wpeinit\r\n' >"$1/Windows/System32/startnet.cmd"
  echo "$2" >"$1/Program Files/Tool/readme.txt"
}
make_tree "$work/image1" first
make_tree "$work/image2" second
printf '[LaunchApps]\r\n%%SYSTEMROOT%%\\System32\\own-shell.exe\r\n' >"$work/image2/Windows/System32/Winpeshl.ini"
mkdir -p "$work/no-system32/Windows"; echo x >"$work/no-system32/Windows/win.ini"

pristine=$work/pristine.wim
wimlib-imagex capture "$work/image1" "$pristine" "WinPE 1" >/dev/null
wimlib-imagex append "$work/image2" "$pristine" "WinPE 2" >/dev/null
wimlib-imagex append "$work/no-system32" "$pristine" "Not WinPE" >/dev/null

# extract <wim> <index> <folder>: the whole image, as files.
extract() { rm -rf "$3"; wimlib-imagex apply "$1" "$2" "$3" >/dev/null; }
# same_tree <a> <b>: the same files with the same bytes.
same_tree() { diff -r "$1" "$2" >/dev/null; }

wim=$work/boot.wim
cp "$pristine" "$wim"
check "adds to image 1 by default" "$add" "$wim"
extract "$wim" 1 "$work/after1"
expected=$work/expected1
cp -r "$work/image1" "$expected"
cp "$build/bin/kelvory.exe" "$build/package/kelvory.ini" "$build/package/winpeshl.ini" "$expected/Windows/System32/"
check "image 1 holds the three files byte for byte, and every other file unchanged" same_tree "$work/after1" "$expected"
extract "$wim" 2 "$work/after2"
check "image 2 is untouched" same_tree "$work/after2" "$work/image2"

before=$(sha256sum <"$wim")
"$add" "$wim" >/dev/null 2>"$work/again.err" && fail "a second run without --force refuses" ||
  check "a second run without --force refuses and shows the winpeshl.ini found" \
    grep -q 'System32\\kelvory.exe' "$work/again.err"
check "and leaves the WIM as it was" [ "$(sha256sum <"$wim")" = "$before" ]

own_ini=$work/own.ini
printf '[prog1]\r\nexe=X:\\Tools\\mine.exe\r\n' >"$own_ini"
"$add" "$wim" --index 2 --ini "$own_ini" >/dev/null 2>"$work/image2.err" && fail "an image with its own Winpeshl.ini is refused" ||
  check "an image with its own Winpeshl.ini is refused, whatever its letter case" grep -q own-shell "$work/image2.err"
check "--force replaces it, with --index and --ini" "$add" "$wim" --index 2 --ini "$own_ini" --force
extract "$wim" 2 "$work/forced2"
# wimlib matches the old name without regard to case and gives the file the new one.
system32=$work/forced2/Windows/System32
check "image 2 now holds that kelvory.ini and one winpeshl.ini, Kelvory's" \
  bash -c "cmp -s '$system32/kelvory.ini' '$own_ini' && cmp -s '$system32/winpeshl.ini' '$build/package/winpeshl.ini' &&
           [ \"\$(ls '$system32' | grep -ic '^winpeshl\.ini\$')\" -eq 1 ]"
rm "$system32/"{kelvory.exe,kelvory.ini,winpeshl.ini} "$work/image2/Windows/System32/Winpeshl.ini"
check "and every other file of image 2 unchanged" same_tree "$work/forced2" "$work/image2"

# Bad input: each case starts from the pristine WIM, which the same run
# without the fault would change.
printf 'not a WIM\n' >"$work/text.wim"
cp "$pristine" "$work/readonly.wim"; chmod 444 "$work/readonly.wim"
mkdir -p "$work/ini-folder"
# A checkout without a built kelvory.exe: the script and a configured, empty build tree.
bare=$work/bare
mkdir -p "$bare/scripts" "$bare/build/mingw/package"
cp "$add" "$bare/scripts/"
cp "$build/package/"{kelvory.ini,winpeshl.ini} "$bare/build/mingw/package/"

refused() { [ "$status" -ne 0 ] && [ "$(wc -l <"$work/case.err")" -eq 1 ] && grep -q -- "$message" "$work/case.err"; }
while IFS='|' read -r what script target args message; do
  [ -n "$what" ] || continue
  case $target in
    pristine) target=$work/case.wim; cp "$pristine" "$target" ;;
    *) target=$work/$target ;;
  esac
  [ -e "$target" ] && before=$(sha256sum <"$target") || before=absent
  status=0
  # shellcheck disable=SC2086 # the table's arguments are split on purpose
  "$script" "$target" $args >/dev/null 2>"$work/case.err" || status=$?
  [ -e "$target" ] && after=$(sha256sum <"$target") || after=absent
  check "$what: refused with one line that names the fault" refused
  refused || { echo "  exit $status, stderr:"; cat "$work/case.err"; }
  check "$what: the WIM is unchanged" [ "$after" = "$before" ]
done <<EOF2
missing WIM|$add|none.wim||no such file
not a WIM|$add|text.wim||not a WIM file
image that does not exist|$add|pristine|--index 4|has no image 4
image index that is no number|$add|pristine|--index one|has no image one
image without \Windows\System32|$add|pristine|--index 3|no \\\\Windows\\\\System32
read-only WIM|$add|readonly.wim||read-only
missing --ini|$add|pristine|--ini $work/none.ini|no such file
--ini that is a folder|$add|pristine|--ini $work/ini-folder|not a readable file
--ini that is no text|$add|pristine|--ini $build/bin/kelvory.exe|not a plain text file
no built kelvory.exe|$bare/scripts/winpe-add|pristine||no built kelvory.exe
EOF2

finish
