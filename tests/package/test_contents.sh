#!/usr/bin/env bash
# The package as cpack makes it from this build tree: exactly its five files at
# the root, the program as built, text files with CRLF line ends for Notepad,
# one fixed time on every entry, a SHA256SUMS that verifies it, and a sample
# kelvory.ini that Kelvory's own configuration reading, under Wine, finds and
# reads as no entry at all: its sections are examples in comments.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

make_package "$build" "$work/out"
zip=$work/out/$package_name.zip
unzip -q "$zip" -d "$work/unpacked"
files=$work/unpacked

check "the zip holds exactly kelvory.exe, kelvory.ini, winpeshl.ini, README.txt and LICENSE.txt" \
  [ "$(zipinfo -1 "$zip" | sort | xargs)" = "LICENSE.txt README.txt kelvory.exe kelvory.ini winpeshl.ini" ]
check "kelvory.exe is the program as built" cmp -s "$files/kelvory.exe" "$build/bin/kelvory.exe"
check "LICENSE.txt is the licence" cmp -s <(tr -d '\r' <"$files/LICENSE.txt") "$root/LICENSE"
version=${package_name#kelvory-}
machine=${version##*-}
version=${version%-*}
check "README.txt names version $version" grep -q "^Kelvory $version " <(tr -d '\r' <"$files/README.txt")
case $machine in arm64) title=ARM64 ;; *) title=x64 ;; esac
check "README.txt is the guide for $title WinPE" grep -q "^Kelvory $version .*($title)$" <(tr -d '\r' <"$files/README.txt")

# Every line ends in CR LF, the last one included.
crlf_only() { [ "$(grep -c $'\r$' "$1")" -eq "$(wc -l <"$1")" ] && [ "$(tail -c 2 "$1" | od -An -tx1 | xargs)" = "0d 0a" ]; }
for text in LICENSE.txt README.txt kelvory.ini winpeshl.ini; do
  check "$text has CRLF line ends" crlf_only "$files/$text"
done

check "every entry carries the time SOURCE_DATE_EPOCH gave" \
  [ "$(zipinfo -T "$zip" | awk '$1 ~ /^[-d]/ { print $7 }' | sort -u)" = "$entry_time" ]
check "SHA256SUMS beside the zip verifies it" bash -c "cd '$work/out' && sha256sum --quiet -c SHA256SUMS"

# winpeshl.ini starts wpeinit first, for drivers and the network, then Kelvory
# from where the guide and scripts/winpe-add put it.
check "winpeshl.ini runs wpeinit, then kelvory.exe from System32" \
  [ "$(tr -d '\r' <"$files/winpeshl.ini" | grep -i '\.exe' | paste -sd ' ')" = '%SYSTEMROOT%\System32\wpeinit.exe %SYSTEMROOT%\System32\kelvory.exe' ]

# The probe reports what Kelvory finds beside itself: path, presence, entries.
probe=$work/probe
mkdir -p "$probe"
cp "$build/bin/config_probe.exe" "$files/kelvory.ini" "$probe/"
(cd "$probe" && "$root/scripts/lib/wine-run" config_probe.exe report.txt) 2>"$probe/wine.log" || cat "$probe/wine.log"
report=$(iconv -f UTF-16LE -t UTF-8 "$probe/report.txt" | tail -n +2)
expected=present
check "Kelvory finds the sample kelvory.ini and reads no entry from its commented examples" [ "$report" = "$expected" ]
[ "$report" = "$expected" ] || printf 'read:\n%s\n' "$report"

finish
