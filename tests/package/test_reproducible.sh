#!/usr/bin/env bash
# Two builds of one source, in different folders and at different times, give
# the same kelvory.exe and the same zip, byte for byte. The second build is
# configured as on a host without GoogleTest: it must say that it leaves the
# tests out and still build kelvory.exe and the package.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# The copy lies under another path than the first build's source and build trees.
copy=$work/source
mkdir -p "$copy"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$copy" -xf -

configure_log=$work/configure.log
cmake=${KELVORY_CMAKE:-cmake}
preset=${KELVORY_PRESET:-mingw}
(cd "$copy" && "$cmake" --preset "$preset" -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
   -DKELVORY_GOOGLETEST_SOURCE="$work/no-googletest") >"$configure_log" 2>&1 || cat "$configure_log"
check "configuring without GoogleTest says that the tests are left out" \
  grep -q "configuring without tests" "$configure_log"
check "and configures no tests" \
  bash -c "cd '$copy/build/$preset' && '${cmake%cmake}ctest' -N | grep -q 'Total Tests: 0'"
check "the package builds without GoogleTest" \
  bash -c "cd '$copy' && '$cmake' --build --preset '$preset' --target package >'$work/build.log' 2>&1 || { tail -20 '$work/build.log'; false; }"

second=$copy/build/$preset
check "kelvory.exe is the same, byte for byte" cmp "$build/bin/kelvory.exe" "$second/bin/kelvory.exe"
check "kelvory.exe names neither source nor build folder" \
  bash -c "! grep -a -q -e '$root' -e '$copy' '$second/bin/kelvory.exe'"

make_package "$build" "$work/first"
make_package "$second" "$work/second"
check "the zip is the same, byte for byte" cmp "$work/first/$package_name.zip" "$work/second/$package_name.zip"
check "so is SHA256SUMS" cmp "$work/first/SHA256SUMS" "$work/second/SHA256SUMS"

finish
