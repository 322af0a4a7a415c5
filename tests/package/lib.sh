# Shared by the package tests: a scratch folder of the test's own and the
# package made from a build tree, with the checks of tests/checks.sh.
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"

build=${KELVORY_BUILD:?KELVORY_BUILD names the MinGW build tree}
package_name=${KELVORY_PACKAGE_NAME:?KELVORY_PACKAGE_NAME names the zip without .zip}
work=${KELVORY_PACKAGE_WORK:?KELVORY_PACKAGE_WORK names a scratch folder}/$(basename "$0" .sh)
rm -rf "$work"; mkdir -p "$work"

# The time that every zip entry gets in these tests: 2023-11-14 22:13:20 UTC.
export SOURCE_DATE_EPOCH=1700000000
entry_time=20231114.221320

# make_package <build tree> <folder>: the zip and SHA256SUMS in that folder.
make_package() {
  "${KELVORY_CPACK:-cpack}" --config "$1/CPackConfig.cmake" -B "$2" >"$2.log" 2>&1 ||
    { cat "$2.log"; return 1; }
}
