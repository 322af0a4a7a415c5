#!/usr/bin/env bash
# kelvory.exe, with every icon image it carries, fits in 256 KiB.
set -euo pipefail
exe=${1:?usage: check_size.sh kelvory.exe}
limit=262144
size=$(stat -c %s "$exe")
resources=$(${OBJDUMP:-x86_64-w64-mingw32-objdump} -h "$exe" | awk '$2 == ".rsrc" { print $3 }')
echo "kelvory.exe: $size bytes, of them $((16#${resources:-0})) bytes of resources; limit $limit"
[ "$size" -le "$limit" ] || { echo "kelvory.exe is $((size - limit)) bytes over the limit"; exit 1; }
