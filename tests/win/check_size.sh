#!/usr/bin/env bash
# kelvory.exe, with every icon image it carries, fits in 352 KiB, and its link
# map shows its own terminate handler linked in. The limit is the size measured
# when the handler came to be installed with std::set_terminate (349,696
# bytes: the runtime's default handler, which the runtime points at from the
# start, stays linked with its demangler) and about 10 KiB to grow.
set -euo pipefail
exe=${1:?usage: check_size.sh kelvory.exe kelvory.map}
map=${2:?usage: check_size.sh kelvory.exe kelvory.map}
limit=$((352 * 1024))
size=$(stat -c %s "$exe")
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/helpers"
echo "kelvory.exe: $size bytes, of them $(resources_size "$exe") bytes of resources; limit $limit"
status=0
[ "$size" -le "$limit" ] || { echo "kelvory.exe is $((size - limit)) bytes over the limit"; status=1; }
grep -q 'Terminate\.cpp\.obj' "$map" || { echo "the link map names no Terminate.cpp object: is $map kelvory.exe's?"; status=1; }
exit $status
