# The release package, kelvory-<version>-win64.zip (or -arm64.zip), made by
# CPack with `cmake --build --preset mingw --target package` (or the preset
# mingw-arm64). It holds exactly the program, a WinPE sample kelvory.ini, a
# winpeshl.ini that makes Kelvory the shell, a short deployment guide and the
# licence, all at its root. SHA256SUMS lies beside it.
#
# Two clean builds of one commit give the same zip, byte for byte: the linker
# writes no time stamp into kelvory.exe (src/win/CMakeLists.txt), nothing
# compiled carries a build path (see the prefix maps in the top-level file), and
# every entry of the zip gets one fixed time and the entries are in name order
# (see the two hooks below).

# One package per machine: kelvory-<version>-win64.zip for x64 and
# kelvory-<version>-arm64.zip for ARM64, each with its own README.txt.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "ARM64")
  set(KELVORY_PACKAGE_SUFFIX arm64)
  set(KELVORY_PACKAGE_MACHINE ARM64)
  set(KELVORY_WINPE_ARCHITECTURE arm64)
else()
  set(KELVORY_PACKAGE_SUFFIX win64)
  set(KELVORY_PACKAGE_MACHINE x64)
  set(KELVORY_WINPE_ARCHITECTURE amd64)
endif()

# The text files get CRLF line ends, because Notepad is the editor in WinPE.
set(kelvory_package_texts
  package/kelvory.ini kelvory.ini
  package/winpeshl.ini winpeshl.ini
  package/README.txt README.txt
  LICENSE LICENSE.txt)
set(kelvory_package_folder ${PROJECT_BINARY_DIR}/package)
while(kelvory_package_texts)
  list(POP_FRONT kelvory_package_texts source name)
  configure_file(${PROJECT_SOURCE_DIR}/${source} ${kelvory_package_folder}/${name} @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${kelvory_package_folder}/${name} DESTINATION .)
endwhile()
install(TARGETS kelvory RUNTIME DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME kelvory)
set(CPACK_PACKAGE_VENDOR "the Kelvory developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(KELVORY_PACKAGE_FILE_NAME kelvory-${PROJECT_VERSION}-${KELVORY_PACKAGE_SUFFIX})
set(CPACK_PACKAGE_FILE_NAME ${KELVORY_PACKAGE_FILE_NAME})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# cpack's two hooks, both in this folder: CPackOptions.cmake.in, read before
# the zip is made, fixes the entries' time; FinishPackage.cmake, run after,
# writes the entries in name order and SHA256SUMS beside the zip.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackOptions.cmake)
configure_file(${CMAKE_CURRENT_LIST_DIR}/CPackOptions.cmake.in ${CPACK_PROJECT_CONFIG_FILE} @ONLY)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/FinishPackage.cmake)
include(CPack)
