# Cross build for 64-bit ARM Windows: Debian's clang and lld, with the
# MinGW-w64 CRT and LLVM's C++ runtime that scripts/setup-arm64 builds from
# Debian's sources into its cache. Everything is linked statically, as on x64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ARM64)

if(DEFINED ENV{KELVORY_CACHE})
  set(kelvory_cache $ENV{KELVORY_CACHE})
elseif(DEFINED ENV{XDG_CACHE_HOME})
  set(kelvory_cache $ENV{XDG_CACHE_HOME}/kelvory)
else()
  set(kelvory_cache $ENV{HOME}/.cache/kelvory)
endif()
set(KELVORY_ARM64_TOOLCHAIN ${kelvory_cache}/arm64/toolchain CACHE PATH "The ARM64 toolchain that scripts/setup-arm64 builds")
set(KELVORY_WINE_SYSROOT ${kelvory_cache}/arm64/wine CACHE PATH "Debian's arm64 Wine, unpacked by scripts/setup-arm64")
if(NOT EXISTS ${KELVORY_ARM64_TOOLCHAIN}/BUILT)
  message(FATAL_ERROR "No ARM64 toolchain in ${KELVORY_ARM64_TOOLCHAIN}: run scripts/setup-arm64 first.")
endif()

set(kelvory_target aarch64-w64-mingw32)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${kelvory_target})
set(CMAKE_CXX_COMPILER_TARGET ${kelvory_target})
set(CMAKE_RC_COMPILER llvm-windres-14)
set(CMAKE_RC_FLAGS_INIT "--target=${kelvory_target} --preprocessor-arg=--target=${kelvory_target} --preprocessor-arg=--sysroot=${KELVORY_ARM64_TOOLCHAIN}")
set(CMAKE_AR llvm-ar-14)
set(CMAKE_RANLIB llvm-ranlib-14)
set(CMAKE_OBJDUMP llvm-objdump-14)
set(CMAKE_SYSROOT ${KELVORY_ARM64_TOOLCHAIN})

# The toolchain's own resource folder holds Debian's clang headers and the
# compiler-rt builtins built for ARM64 Windows. mingw-w64's printf family
# rather than msvcrt's, as g++ has it for C++ on x64. libc++abi is static, as
# libc++ is (whose installed configuration says so itself): <cxxabi.h> must
# not declare its functions as imported from a DLL.
set(CMAKE_C_FLAGS_INIT "-resource-dir=${KELVORY_ARM64_TOOLCHAIN}/clang")
set(CMAKE_CXX_FLAGS_INIT "-resource-dir=${KELVORY_ARM64_TOOLCHAIN}/clang -stdlib=libc++ -D__USE_MINGW_ANSI_STDIO=1 -D_LIBCXXABI_DISABLE_VISIBILITY_ANNOTATIONS")
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -rtlib=compiler-rt -unwindlib=libunwind")
endforeach()

set(CMAKE_FIND_ROOT_PATH ${KELVORY_ARM64_TOOLCHAIN}/${kelvory_target})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows-side tests run under Debian's arm64 Wine, by qemu-user, in the
# build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/lib/wine-run)
