#!/usr/bin/env bash
# scripts/winpe-add against real WIM files made here with wimlib (LZX, with and
# without a boot index): it changes the WIM's boot image unless told otherwise
# and says which and why; it puts kelvory.exe, kelvory.ini and winpeshl.ini into
# \Windows\System32 and changes nothing else; a second run updates Kelvory in
# place, a foreign winpeshl.ini needs --force, and --ini-only replaces only
# kelvory.ini; it tells for every configured program whether the image has it;
# kelvory.ini lands in a form the profile reader reads alike in every code page;
# and every refusal gets one line in the technician's words (wimlib's own text
# at most as a second), a non-zero exit and a WIM unchanged byte for byte.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
add=$root/scripts/winpe-add

# Two small x64 WinPE-like images: the second already has a shell of its own,
# spelt in another letter case, as Windows paths may be.
make_tree() { # make_tree <folder> <seed>
  mkdir -p "$1/Windows/System32/drivers" "$1/Program Files/Tool"
  head -c 5000 /dev/urandom >"$1/Windows/System32/cmd.exe"
  # wimlib reads the image's architecture from kernel32.dll's machine type.
  cp "$build/bin/kelvory.exe" "$1/Windows/System32/kernel32.dll"
  head -c 3000 /dev/urandom >"$1/Windows/System32/drivers/disk.sys"
  head -c 2000 /dev/urandom >"$1/Windows/System32/Notepad.exe"
  printf 'wpeinit\r\n' >"$1/Windows/System32/startnet.cmd"
  echo "$2" >"$1/Program Files/Tool/readme.txt"
  head -c 1000 /dev/urandom >"$1/Program Files/Tool/viewer.exe"
}
make_tree "$work/image1" first
make_tree "$work/image2" second
printf '[LaunchApps]\r\n%%SYSTEMROOT%%\\System32\\own-shell.exe\r\n' >"$work/image2/Windows/System32/Winpeshl.ini"
mkdir -p "$work/no-system32/Windows"; echo x >"$work/no-system32/Windows/win.ini"

capture() { wimlib-imagex capture "$@" --compress=LZX >/dev/null; }
append() { wimlib-imagex append "$@" >/dev/null; }
pristine=$work/pristine.wim
capture "$work/image1" "$pristine" "WinPE 1"
append "$work/image2" "$pristine" "WinPE 2"
append "$work/no-system32" "$pristine" "Not WinPE"

# extract <wim> <index> <folder>: the whole image, as files.
extract() { rm -rf "$3"; wimlib-imagex apply "$1" "$2" "$3" >/dev/null; }
# same_tree <a> <b>: the same files with the same bytes.
same_tree() { diff -r "$1" "$2" >/dev/null; }
crlf() { sed 's/\r*$/\r/' "$1"; }
crlf "$root/package/winpeshl.ini" >"$work/winpeshl.ini"
crlf "$root/package/kelvory.ini" >"$work/sample.ini"

wim=$work/boot.wim
cp "$pristine" "$wim"
check "adds to image 1 by default when the WIM names no boot image" "$add" "$wim"
extract "$wim" 1 "$work/after1"
expected=$work/expected1
cp -r "$work/image1" "$expected"
cp "$build/bin/kelvory.exe" "$expected/Windows/System32/"
cp "$work/winpeshl.ini" "$expected/Windows/System32/winpeshl.ini"
cp "$work/sample.ini" "$expected/Windows/System32/kelvory.ini"
check "image 1 holds the three files byte for byte, the sample from the source tree, and every other file unchanged" \
  same_tree "$work/after1" "$expected"
extract "$wim" 2 "$work/after2"
check "image 2 is untouched" same_tree "$work/after2" "$work/image2"

# --- The boot image -------------------------------------------------------
# A WIM from installation media holds WinPE as image 1 and Setup, the image
# that boots, as image 2.
capture "$work/image1" "$work/setup.wim" "WinPE"
append "$work/image1" "$work/setup.wim" "Setup" --boot
capture "$work/image1" "$work/single.wim" "WinPE" --boot
capture "$work/image1" "$work/unmarked.wim" "WinPE"
append "$work/image1" "$work/unmarked.wim" "Other"
has_kelvory() { wimlib-imagex dir "$1" "$2" --path=/Windows/System32/kelvory.exe >/dev/null 2>&1; }
changed() { [ "$status" -eq 0 ] && has_kelvory "$work/case.wim" "$target"; }
left_alone() { ! has_kelvory "$work/case.wim" "$other"; }
while IFS='|' read -r what source args target other message; do
  [ -n "$what" ] || continue
  cp "$work/$source" "$work/case.wim"
  status=0
  # shellcheck disable=SC2086 # the table's arguments are split on purpose
  "$add" $args "$work/case.wim" >"$work/case.out" 2>&1 || status=$?
  check "$what: changes image $target" changed
  [ -z "$other" ] || check "$what: leaves image $other alone" left_alone
  check "$what: says '$message'" grep -qF -- "$message" "$work/case.out"
  grep -qF -- "$message" "$work/case.out" || cat "$work/case.out"
done <<EOF
two images, boot index 2|setup.wim||2|1|image 2 of $work/case.wim (the WIM's boot image)
one image, boot index 1|single.wim||1||image 1 of $work/case.wim (the WIM's boot image)
two images, no boot index|unmarked.wim||1|2|(the WIM names no boot image, so image 1)
--index 1 where image 2 boots|setup.wim|--index 1|1|2|warning: image 1 is not the WIM's boot image (image 2)
EOF

# --- Updates in place ------------------------------------------------------
# A second run on Kelvory's own winpeshl.ini updates without --force.
own_ini=$work/own.ini
printf '[prog1]\r\nexe=X:\\Tools\\mine.exe\r\n' >"$own_ini"
before_exe=$(wimlib-imagex extract "$wim" 1 /Windows/System32/kelvory.exe --to-stdout | sha256sum)
check "a second run on Kelvory's own winpeshl.ini updates without --force" "$add" "$wim" --ini "$own_ini"
extract "$wim" 1 "$work/again1"
cp "$own_ini" "$expected/Windows/System32/kelvory.ini"
check "and changes only kelvory.ini there, to the new one" same_tree "$work/again1" "$expected"
check "kelvory.exe stays the build's" [ "$(sha256sum <"$work/again1/Windows/System32/kelvory.exe")" = "$before_exe" ]

# --ini-only, run from a checkout whose kelvory.exe is another program, proves
# that it takes nothing but kelvory.ini.
other=$work/other-checkout
mkdir -p "$other/scripts" "$other/package" "$other/build/mingw/bin"
cp -r "$add" "$root/scripts/lib" "$other/scripts/"
cp "$root/package/kelvory.ini" "$root/package/winpeshl.ini" "$other/package/"
cp "$build/bin/config_probe.exe" "$other/build/mingw/bin/kelvory.exe"
cp "$build/bin/config_entries.exe" "$other/build/mingw/bin/"
printf '[prog2]\r\nexe=X:\\Tools\\other.exe\r\n' >"$work/ini-only.ini"
check "--ini-only replaces kelvory.ini" "$other/scripts/winpe-add" --ini-only --ini "$work/ini-only.ini" "$wim"
extract "$wim" 1 "$work/ini-only1"
cp "$work/ini-only.ini" "$expected/Windows/System32/kelvory.ini"
check "and touches nothing else in the image, kelvory.exe included" same_tree "$work/ini-only1" "$expected"

# A foreign winpeshl.ini is refused without --force.
"$add" "$wim" --index 2 --ini "$own_ini" >/dev/null 2>"$work/image2.err" && fail "an image with its own Winpeshl.ini is refused" ||
  check "an image with its own Winpeshl.ini is refused, whatever its letter case, in one line that shows it" \
    bash -c "grep -q own-shell '$work/image2.err' && [ \$(wc -l <'$work/image2.err') -eq 1 ]"
check "--force replaces it, with --index and --ini" "$add" "$wim" --index 2 --ini "$own_ini" --force
extract "$wim" 2 "$work/forced2"
# wimlib matches the old name without regard to case and gives the file the new one.
system32=$work/forced2/Windows/System32
check "image 2 now holds that kelvory.ini and one winpeshl.ini, Kelvory's" \
  bash -c "cmp -s '$system32/kelvory.ini' '$own_ini' && cmp -s '$system32/winpeshl.ini' '$work/winpeshl.ini' &&
           [ \"\$(ls '$system32' | grep -ic '^winpeshl\.ini\$')\" -eq 1 ]"
rm "$system32/"{kelvory.exe,kelvory.ini,winpeshl.ini} "$work/image2/Windows/System32/Winpeshl.ini"
check "and every other file of image 2 unchanged" same_tree "$work/forced2" "$work/image2"

# A WIM whose name begins with a dash, after --.
cp "$pristine" "$work/-dash.wim"
check "a WIM named -dash.wim is taken after --" bash -c "cd '$work' && '$add' -- -dash.wim >/dev/null"

# --- The ini checked against the image --------------------------------------
cat >"$work/check.ini" <<'INI'
[prog1]
exe=X:\Windows\System32\notepad.exe
[prog2]
exe=%ProgramFiles%\Tool\viewer.exe
[prog3]
exe=X:\Tools\gone.exe
[prog4]
exe=D:\Tools\disk.exe
[prog5]
exe=%SYSTEMDRIVE%\Windows
[prog6]
exe=%ſyſtemroot%\System32\notepad.exe
INI
cp "$pristine" "$work/check.wim"
"$add" --ini "$work/check.ini" "$work/check.wim" >"$work/check.out" 2>&1 || fail "a missing program only warns"
while IFS='|' read -r entry line; do
  check "prog$entry: '$line'" grep -qF -- "prog$entry: $line" "$work/check.out"
done <<'EOF'
1|X:\Windows\System32\notepad.exe: in the image
2|%ProgramFiles%\Tool\viewer.exe (X:\Program Files\Tool\viewer.exe): in the image, but a button is not sure to show: Kelvory reads the icon from the path as written, and Windows does not document that it expands a placeholder there (Wine does not); write X:\Program Files\Tool\viewer.exe for a button that shows
3|X:\Tools\gone.exe: not in the image: no button will show
4|D:\Tools\disk.exe: not on X:, so checked only when Kelvory starts
5|%SYSTEMDRIVE%\Windows (X:\Windows): a folder in the image, not a program: no button will show
6|%ſyſtemroot%\System32\notepad.exe: not on X:, so checked only when Kelvory starts
EOF
# prog6 is what Kelvory's own expansion, upper-casing with CharUpperBuffW, does
# with a long s: it is no placeholder. bash's ${text^^} makes it "S" and found
# %SYSTEMROOT% there, so an ini check in bash said "in the image".
grep -q 'prog[1-6]' "$work/check.out" || cat "$work/check.out"
check "the sample's commented examples give no entry" grep -qF "no entries: only the four fixed buttons will show" <("$add" "$work/-dash.wim" 2>&1 || true)

# --- Encodings: what lands in the image -------------------------------------
landed() { wimlib-imagex extract "$1" 1 /Windows/System32/kelvory.ini --to-stdout; }
utf16() { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; }
text=$'[prog1]\nexe=X:\\Werkzeuge\\Größe.exe\n'
printf '%s' "$text" >"$work/utf8.ini"
printf '\xef\xbb\xbf%s' "$text" >"$work/utf8-bom.ini"
utf16 <<<"${text%$'\n'}" >"$work/utf16.ini"
printf '[prog1]\nexe=X:\\Tools\\a.exe' >"$work/ascii.ini"
printf '\xef\xbb\xbf[prog1]\nexe=X:\\Tools\\a.exe\n' >"$work/ascii-bom.ini"
sed 's/$/\r/' <<<"${text%$'\n'}" | utf16 >"$work/expected-unicode.ini"
printf '[prog1]\r\nexe=X:\\Tools\\a.exe\r\n' >"$work/expected-ascii.ini"
while IFS='|' read -r what file expected; do
  cp "$pristine" "$work/encoding.wim"
  "$add" --ini "$work/$file" "$work/encoding.wim" >/dev/null 2>&1 || fail "$what is taken"
  check "$what lands as $expected" cmp -s <(landed "$work/encoding.wim") "$work/$expected"
done <<'EOF'
ASCII with LF line ends and no last one|ascii.ini|expected-ascii.ini
ASCII behind a UTF-8 byte order mark, dropped|ascii-bom.ini|expected-ascii.ini
UTF-8 without a byte order mark|utf8.ini|expected-unicode.ini
UTF-8 with a byte order mark|utf8-bom.ini|expected-unicode.ini
UTF-16LE with a byte order mark and LF line ends|utf16.ini|expected-unicode.ini
EOF

# Kelvory's own configuration reading, under Wine, reads the landed file.
probe=$work/probe
mkdir -p "$probe"
cp "$build/bin/config_probe.exe" "$probe/"
landed "$work/encoding.wim" >"$probe/kelvory.ini"
(cd "$probe" && "$root/scripts/lib/wine-run" config_probe.exe report.txt) 2>"$probe/wine.log" || cat "$probe/wine.log"
report=$(iconv -f UTF-16LE -t UTF-8 "$probe/report.txt" | tail -n +3)
check "Kelvory reads the landed non-ASCII entry as X:\\Werkzeuge\\Größe.exe" [ "$report" = '1=X:\Werkzeuge\Größe.exe' ]

# --- A file system that misbehaves under wimupdate --------------------------
# A native shim around wimupdate's writes to the WIM, built here with the
# host's compiler; KELVORY_WRITES chooses what the file system does:
# "first" stops wimupdate before its first write, holding wimlib's lock on the
# WIM; "header" stops it just before it writes its final header, in the middle
# of the write; "full" fails every write that would make the WIM grow with
# ENOSPC, as a full file system does. A stopping wimupdate first makes the
# file that KELVORY_WRITES_MARK names, if any.
shim=$work/shim
mkdir -p "$shim"
cat >"$shim/writes.c" <<'C'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int IsWim(int fd)
{
    char link[64], path[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    return length > 4 && memcmp(path + length - 4, ".wim", 4) == 0;
}

/* 0 to write, or the errno to fail with. */
static int Intercept(int fd, off_t offset, size_t size)
{
    static int seen;
    const char* mode = getenv("KELVORY_WRITES");
    struct stat status;
    if (mode == NULL || !IsWim(fd) || fstat(fd, &status) != 0) {
        return 0;
    }
    if ((strcmp(mode, "first") == 0 && !seen++) || (strcmp(mode, "header") == 0 && offset == 0)) {
        const char* mark = getenv("KELVORY_WRITES_MARK");
        if (mark != NULL) {
            fclose(fopen(mark, "w"));
        }
        raise(SIGSTOP);
    }
    if (strcmp(mode, "full") == 0 && offset + (off_t)size > status.st_size) {
        return ENOSPC;
    }
    return 0;
}

ssize_t pwrite64(int fd, const void* buffer, size_t size, off_t offset)
{
    ssize_t (*real)(int, const void*, size_t, off_t) = dlsym(RTLD_NEXT, "pwrite64");
    const int error = Intercept(fd, offset, size);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return real(fd, buffer, size, offset);
}

ssize_t write(int fd, const void* buffer, size_t size)
{
    ssize_t (*real)(int, const void*, size_t) = dlsym(RTLD_NEXT, "write");
    const int error = Intercept(fd, lseek(fd, 0, SEEK_CUR), size);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return real(fd, buffer, size);
}
C
gcc -shared -fPIC -o "$shim/writes.so" "$shim/writes.c" -ldl
# A wimupdate on the shim, first in PATH.
printf '#!/bin/sh\nLD_PRELOAD=%s exec %s "$@"\n' "$shim/writes.so" "$(command -v wimupdate)" >"$shim/wimupdate"
chmod +x "$shim/wimupdate"
# full_disk <args>: winpe-add on a full file system.
printf '#!/bin/sh\nKELVORY_WRITES=full PATH=%s:$PATH exec %s "$@"\n' "$shim" "$add" >"$shim/full-disk"
# locked <WIM> <args>: winpe-add while another wimupdate, stopped before its
# first write, holds the WIM's lock; that one then ends without writing.
cat >"$shim/locked" <<SH
#!/usr/bin/env bash
KELVORY_WRITES=first PATH=$shim:\$PATH wimupdate "\$1" 1 <<<'add $shim/writes.c /holder.c' >/dev/null 2>&1 &
holder=\$!
for _ in \$(seq 100); do [ "\$(ps -o stat= -p \$holder)" = T ] && break; sleep 0.1; done
status=0
"$add" "\$@" || status=\$?
kill -KILL \$holder; wait \$holder 2>/dev/null
exit \$status
SH
chmod +x "$shim/full-disk" "$shim/locked"

# --- Refusals: one line, the WIM unchanged ---------------------------------
# Each case starts from the pristine WIM, which the same run without the fault
# would change.
printf 'not a WIM\n' >"$work/text.wim"
cp "$pristine" "$work/readonly.wim"; chmod 444 "$work/readonly.wim"
mkdir -p "$work/ini-folder"
head -c 3000 /dev/urandom >"$work/binary.ini"
printf '[prog1]\r\nexe=X:\\Tools\\gone.exe\r\n' >"$work/missing-program.ini"
# checkout <folder> [<kelvory.exe>]: the script, the source tree's package files
# and, where given, a built kelvory.exe.
checkout() {
  mkdir -p "$1/scripts" "$1/package" "$1/build/mingw/bin"
  cp -r "$add" "$root/scripts/lib" "$1/scripts/"
  cp "$root/package/kelvory.ini" "$root/package/winpeshl.ini" "$1/package/"
  [ -z "${2:-}" ] || ln -s "$2" "$1/build/mingw/bin/kelvory.exe"
}
checkout "$work/bare"
checkout "$work/text-exe" "$root/README.md"

# --- The image's architecture --------------------------------------------------
# An ARM64 program here is a copy of the x64 build with its PE machine field
# set to 0xAA64 (0x14C for x86): the field is all that winpe-add and wimlib read.
# machine_copy <program> <machine, 4 hex digits> <copy>
machine_copy() {
  local offset
  cp "$1" "$3"
  offset=$(od -An -tu4 -j 60 -N 4 "$3" | tr -d ' ')
  printf "\\x${2:2:2}\\x${2:0:2}" | dd of="$3" bs=1 seek=$((offset + 4)) conv=notrunc status=none
}
machine_copy "$build/bin/kelvory.exe" aa64 "$work/arm64-kelvory.exe"
for arch in arm64:aa64 x86:014c; do
  rm -rf "$work/tree-${arch%%:*}"
  make_tree "$work/tree-${arch%%:*}" "${arch%%:*}"
  machine_copy "$build/bin/kelvory.exe" "${arch#*:}" "$work/tree-${arch%%:*}/Windows/System32/kernel32.dll"
  capture "$work/tree-${arch%%:*}" "$work/${arch%%:*}.wim" "WinPE ${arch%%:*}"
done
check "wimlib reads the ARM64 image as ARM64" grep -qx 'Architecture: *ARM64' <(wimlib-imagex info "$work/arm64.wim" 1)
check "and the x64 one as x86_64" grep -qx 'Architecture: *x86_64' <(wimlib-imagex info "$pristine" 1)
# checkouts whose builds are of the wrong machine, or only x64
checkout "$work/arm64-wrong"
mkdir -p "$work/arm64-wrong/build/mingw-arm64/bin"
cp "$build/bin/kelvory.exe" "$work/arm64-wrong/build/mingw-arm64/bin/"
checkout "$work/x64-wrong" "$work/arm64-kelvory.exe"
checkout "$work/bare-x64" "$build/bin/kelvory.exe"
# An ARM64 build goes into an ARM64 image, and the x64 build of the same
# checkout does not.
checkout "$work/both" "$build/bin/kelvory.exe"
mkdir -p "$work/both/build/mingw-arm64/bin"
cp "$work/arm64-kelvory.exe" "$work/both/build/mingw-arm64/bin/kelvory.exe"
for config in config_entries.exe; do
  for tree in arm64-wrong x64-wrong bare-x64 both; do cp "$build/bin/$config" "$work/$tree/build/mingw/bin/"; done
done
cp "$work/arm64.wim" "$work/arm64-case.wim"
check "an ARM64 image gets the ARM64 build" "$work/both/scripts/winpe-add" "$work/arm64-case.wim"
check "byte for byte" cmp -s <(wimlib-imagex extract "$work/arm64-case.wim" 1 /Windows/System32/kelvory.exe --to-stdout) "$work/arm64-kelvory.exe"
cp "$pristine" "$work/x64-case.wim"
check "and an x64 image, from the same checkout, the x64 build" "$work/both/scripts/winpe-add" "$work/x64-case.wim"
check "byte for byte" cmp -s <(wimlib-imagex extract "$work/x64-case.wim" 1 /Windows/System32/kelvory.exe --to-stdout) "$build/bin/kelvory.exe"
rm -rf "$work/no-arch"; make_tree "$work/no-arch" none; rm "$work/no-arch/Windows/System32/kernel32.dll"
capture "$work/no-arch" "$work/no-arch.wim" "WinPE"
check "an image that names no architecture gets the x64 build, and the report says so" \
  grep -q "^Image 1 of .* names no architecture .*it gets the x64 build" <("$add" "$work/no-arch.wim" 2>/dev/null)

# The first line names the fault; a second may only carry wimlib's own words,
# one message of it without progress text.
refused() {
  [ "$status" -ne 0 ] && grep -q -- "$message" <(head -n 1 "$work/case.err") &&
    [ "$(sed -n '2,$p' "$work/case.err" | grep -vc '^  (wimlib: [^[:cntrl:]]*)$')" -eq 0 ] && [ "$(wc -l <"$work/case.err")" -le 2 ] &&
    ! grep -qE 'done|scanned|Exiting with error code' "$work/case.err"
}
while IFS='|' read -r what script target args message; do
  [ -n "$what" ] || continue
  case $target in
    pristine|arm64|x86) cp "$work/$target.wim" "$work/case.wim"; target=$work/case.wim ;;
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
image index 0|$add|pristine|--index 0|has no image 0
image index too large for the shell|$add|pristine|--index 99999999999999999999|has no image 99999999999999999999
image without \Windows\System32|$add|pristine|--index 3|no \\\\Windows\\\\System32
read-only WIM|$add|readonly.wim||read-only
missing --ini|$add|pristine|--ini $work/none.ini|no such file
--ini that is a folder|$add|pristine|--ini $work/ini-folder|not a readable file
--ini that is no text|$add|pristine|--ini $work/binary.ini|not text
--ini that is a program|$add|pristine|--ini $build/bin/kelvory.exe|not text
a program missing, with --strict|$add|pristine|--strict --ini $work/missing-program.ini|not in image 1 (--strict)
--ini-only where Kelvory is not|$add|pristine|--ini-only --ini $own_ini|add Kelvory first
no built kelvory.exe|$work/bare/scripts/winpe-add|pristine||is x64 WinPE, and there is no built x64 kelvory.exe
a kelvory.exe that is a link to a text file|$work/text-exe/scripts/winpe-add|pristine||kelvory.exe is not a Windows program
an x64 kelvory.exe into an ARM64 image|$work/arm64-wrong/scripts/winpe-add|arm64||is an x64 program, and image 1 of .* is ARM64 WinPE: build it again with cmake --preset mingw-arm64
an ARM64 kelvory.exe into an x64 image|$work/x64-wrong/scripts/winpe-add|pristine||is an ARM64 program, and image 1 of .* is x64 WinPE: build it again with cmake --preset mingw
an ARM64 image without an ARM64 build|$work/bare-x64/scripts/winpe-add|arm64||is ARM64 WinPE, and there is no built ARM64 kelvory.exe in .*/build/mingw-arm64/bin: run cmake --preset mingw-arm64
an x86 image|$add|x86||is for x86: Kelvory is built for x64 and ARM64 WinPE only
a WIM that another wimupdate holds|$shim/locked|pristine||is being written by another program.*the WIM is unchanged
a full file system|$shim/full-disk|pristine||the file system that holds .* is full.*the WIM is unchanged
EOF2

check "the lock's second line is wimlib's cause" grep -qxF "  (wimlib: The WIM is already locked for writing.)" <("$shim/locked" "$work/case.wim" 2>&1 >/dev/null)
cp "$pristine" "$work/case.wim"
check "a full file system's second line is wimlib's cause" grep -q "^  (wimlib: .*No space left on device)$" <("$shim/full-disk" "$work/case.wim" 2>&1 >/dev/null)

# --- Interrupted ---------------------------------------------------------------
# Interrupted at any moment, by Ctrl-C (SIGINT to the process group, as a
# terminal sends it) or by SIGTERM, winpe-add ends with 130, says in one line in
# which state the WIM is, which the WIM then is, and leaves no work files. The
# moments are spread over the time of one whole run.
runs=$work/runs
mkdir -p "$runs/tmp"
cp "$pristine" "$runs/timed.wim"
started=$(date +%s%N)
TMPDIR=$runs/tmp "$add" "$runs/timed.wim" >/dev/null 2>&1 || fail "a whole run for the timing"
run_ms=$((($(date +%s%N) - started) / 1000000))
echo "a whole run takes $run_ms ms"
# as_said: the WIM is in the state that the one line says.
as_said() {
  case $(<"$runs/err") in
    *"interrupted before the WIM was written: $runs/case.wim is unchanged."|*"interrupted before the WIM was written: the WIM is unchanged.")
      cmp -s "$runs/case.wim" "$pristine" ;;
    *"interrupted while wimupdate was writing $runs/case.wim: its images are as they were"*)
      grep -q WRITE_IN_PROGRESS <(wimlib-imagex info "$runs/case.wim" 2>&1) && ! has_kelvory "$runs/case.wim" 1 ;;
    *"interrupted just as wimupdate had finished writing $runs/case.wim: image 1 holds the new files.")
      ! grep -q WRITE_IN_PROGRESS <(wimlib-imagex info "$runs/case.wim" 2>&1) && has_kelvory "$runs/case.wim" 1 ;;
    *) return 1 ;;
  esac
}
# interrupted_well: exit 130, one line, and the WIM in the state it says.
interrupted_well() { [ "$status" -eq 130 ] && [ "$(wc -l <"$runs/err")" -eq 1 ] && as_said; }
# The moments are the middles of eight equal parts of a run. (A signal that
# comes before bash has read the script's first lines ends it without a word;
# that takes a few milliseconds at most.)
for signal in INT TERM; do
  for part in 1 3 5 7 9 11 13 15; do
    cp "$pristine" "$runs/case.wim"
    set -m
    TMPDIR=$runs/tmp "$add" "$runs/case.wim" >/dev/null 2>"$runs/err" &
    runner=$!
    set +m
    sleep "$(printf '%d.%03d' $((run_ms * part / 16 / 1000)) $((run_ms * part / 16 % 1000)))"
    { if [ "$signal" = INT ]; then kill -INT -- -"$runner"; else kill -TERM "$runner"; fi; } 2>/dev/null || true
    status=0
    wait "$runner" || status=$?
    at="SIG$signal at $part/16 of a run"
    if [ "$status" -eq 0 ]; then
      echo "ok: $at: the run had ended"
      continue
    fi
    check "$at: exit 130, one line, and the WIM in the state it says" interrupted_well
    interrupted_well || { echo "  exit $status, stderr:"; cat "$runs/err"; }
    check "$at: no work files are left" [ -z "$(ls -A "$runs/tmp")" ]
  done
done

# A wimupdate stopped before its first write holds the run at the moment the
# WIM would be written; SIGTERM then must say that the WIM is unchanged.
# interrupt_stopped_run <mode>: adds Kelvory to a copy of the pristine WIM
# through the shim's wimupdate in that mode and sends SIGTERM once that has
# stopped itself.
interrupt_stopped_run() {
  local runner
  cp "$pristine" "$work/interrupted.wim"
  rm -f "$work/stopped"
  KELVORY_WRITES=$1 KELVORY_WRITES_MARK=$work/stopped PATH=$shim:$PATH "$add" "$work/interrupted.wim" >/dev/null 2>"$work/interrupted.err" &
  runner=$!
  for _ in $(seq 100); do [ -e "$work/stopped" ] && break; sleep 0.1; done
  sleep 0.1
  kill -TERM "$runner"
  wait "$runner" && status=0 || status=$?
}
interrupt_stopped_run first
check "SIGTERM while the WIM is about to be written: exit 130" [ "$status" -eq 130 ]
check "and it says that the WIM is unchanged" grep -q 'interrupted before the WIM was written.*unchanged' "$work/interrupted.err"
check "as it is" cmp -s "$work/interrupted.wim" "$pristine"

# A wimupdate stopped just before it writes its final header holds the run in
# the middle of the write: the header marked as being written, the new data
# appended. SIGTERM then must say so, and the WIM must be as the message says:
# its images as they were, and whole again after the next run.
interrupt_stopped_run header
check "SIGTERM while the WIM is being written: exit 130" [ "$status" -eq 130 ]
check "and it says that the write was not finished" grep -q 'interrupted while wimupdate was writing' "$work/interrupted.err"
check "the WIM was written to" [ "$(stat -c %s "$work/interrupted.wim")" -gt "$(stat -c %s "$pristine")" ]
check "wimlib warns that a write was not finished" grep -q WRITE_IN_PROGRESS <(wimlib-imagex info "$work/interrupted.wim" 2>&1)
same_images() {
  local n
  for n in 1 2 3; do
    extract "$work/interrupted.wim" $n "$work/interrupted$n"
    extract "$pristine" $n "$work/pristine$n"
    same_tree "$work/interrupted$n" "$work/pristine$n" || return 1
  done
}
check "its images are as they were" same_images
check "the next run adds Kelvory" "$add" "$work/interrupted.wim"
check "and leaves no warning behind" bash -c "! wimlib-imagex info '$work/interrupted.wim' 2>&1 | grep -q WRITE_IN_PROGRESS"

finish
