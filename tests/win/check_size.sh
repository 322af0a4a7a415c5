#!/usr/bin/env bash
# kelvory.exe, with every icon image it carries, fits in 288 KiB, and its link
# map shows that its own terminate handler replaced the runtime's (which would
# bring a demangler and the printf family along).
set -euo pipefail
exe=${1:?usage: check_size.sh kelvory.exe kelvory.map}
map=${2:?usage: check_size.sh kelvory.exe kelvory.map}
limit=$((288 * 1024))
size=$(stat -c %s "$exe")
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/helpers"
echo "kelvory.exe: $size bytes, of them $(resources_size "$exe") bytes of resources; limit $limit"
status=0
[ "$size" -le "$limit" ] || { echo "kelvory.exe is $((size - limit)) bytes over the limit"; status=1; }
grep -q 'Terminate\.cpp\.obj' "$map" || { echo "the link map names no Terminate.cpp object: is $map kelvory.exe's?"; status=1; }
if grep -q 'libstdc++\.a(vterminate\.o)' "$map"; then
  echo "the runtime's verbose terminate handler is linked in: kelvory.exe's own no longer replaces it"
  status=1
fi
exit $status
