# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 GCC, posix thread model
# (g++-mingw-w64-x86-64-posix). Libraries are searched in the MinGW root and in the sysroot that
# tools/windows/build-deps.sh fills (QV_WINDOWS_SYSROOT; when neither the cache nor the
# environment gives it, the script is run here and prints it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_qv_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_qv_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_qv_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_qv_triple}-windres)

if(NOT QV_WINDOWS_SYSROOT AND DEFINED ENV{QV_WINDOWS_SYSROOT})
  set(QV_WINDOWS_SYSROOT "$ENV{QV_WINDOWS_SYSROOT}")
endif()
if(NOT QV_WINDOWS_SYSROOT AND NOT QV_BUILDING_WINDOWS_DEPS)
  # Builds the libraries on first use; afterwards only checks that the installed versions match.
  execute_process(
    COMMAND "${CMAKE_CURRENT_LIST_DIR}/../../tools/windows/build-deps.sh"
    OUTPUT_VARIABLE _qv_out OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE ".*\n" "" QV_WINDOWS_SYSROOT "${_qv_out}")
endif()
set(QV_WINDOWS_SYSROOT "${QV_WINDOWS_SYSROOT}" CACHE PATH
    "Cross-built Windows libraries (tools/windows/build-deps.sh prints it)")
# try_compile projects see the same sysroot.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QV_WINDOWS_SYSROOT)

set(CMAKE_FIND_ROOT_PATH /usr/${_qv_triple})
if(QV_WINDOWS_SYSROOT)
  list(PREPEND CMAKE_FIND_ROOT_PATH "${QV_WINDOWS_SYSROOT}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

# Only the Windows libraries count: pkg-config reads the sysroot's modules and no host one, and
# zlib is the static archive, not the import library of a DLL.
set(ENV{PKG_CONFIG_LIBDIR} "${QV_WINDOWS_SYSROOT}/lib/pkgconfig:/usr/${_qv_triple}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ZLIB_USE_STATIC_LIBS ON)

# The program needs only Windows' own DLLs: libgcc, libstdc++ and winpthread go in statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine, each in a fresh prefix of its own.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../../tools/windows/wine-run.sh")
