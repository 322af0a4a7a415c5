# Tests that run Windows programs under Wine, through the emulator that the
# toolchain file names. Each build tree has a Wine prefix of its own, so two
# build trees never share a Wine session. The prefix is made once by a fixture,
# before any test starts Wine, so parallel tests never race to create it.
set(KELVORY_WINE_ENVIRONMENT "KELVORY_WINEPREFIX=${PROJECT_BINARY_DIR}/wineprefix")
if(KELVORY_WINE_SYSROOT)
  list(APPEND KELVORY_WINE_ENVIRONMENT "KELVORY_WINE_SYSROOT=${KELVORY_WINE_SYSROOT}")
endif()
add_test(NAME wine_prefix COMMAND ${PROJECT_SOURCE_DIR}/scripts/lib/wine-prefix)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${KELVORY_WINE_ENVIRONMENT}" TIMEOUT 300)

# kelvory_wine_test(<test> [<extra environment entry>...]): runs the test in the
# prefix, one Wine session at a time, since each test starts and ends its own.
function(kelvory_wine_test test)
  set(environment ${KELVORY_WINE_ENVIRONMENT} ${ARGN})
  set_tests_properties(${test} PROPERTIES
    ENVIRONMENT "${environment}"
    FIXTURES_REQUIRED wine
    RESOURCE_LOCK wine_session
    TIMEOUT 300)
endfunction()
