# Cross build of skyveil.dll for the host's own binary interface (MSVC ABI, 32-bit x86) with clang and
# lld-link (Debian: clang-14, lld-14, llvm-14, g++-mingw-w64-i686-win32, mingw-w64-i686-dev).
#
# clang keeps __GNUC__ (-fno-ms-compatibility), so the MinGW-w64 headers take their GNU branches, while
# name decoration, class and vftable layout, __thiscall and exceptions come from the target alone. The C++
# headers are those of MinGW's libstdc++; only their header-only parts link, since the out-of-line parts
# exist only in the GNU-ABI libstdc++.a. The DLL brings its own small runtime (platform/msvcabi) and
# imports through libraries made from .def files, so nothing of the MSVC runtime is needed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET i686-pc-windows-msvc)
set(CMAKE_CXX_COMPILER_TARGET i686-pc-windows-msvc)
set(CMAKE_LINKER lld-link-14)
set(CMAKE_AR llvm-ar-14)
set(CMAKE_RANLIB llvm-ranlib-14)
# No runtime to link a test program against: the compiler checks build a static library instead.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# The link rule calls lld-link directly (cmake/clang-msvc-rules.cmake).
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/clang-msvc-rules.cmake)

file(GLOB skyveil_libstdcxx_dirs LIST_DIRECTORIES true /usr/lib/gcc/i686-w64-mingw32/*-win32/include/c++)
if(NOT skyveil_libstdcxx_dirs)
  message(FATAL_ERROR "MinGW's libstdc++ headers (win32 threads) not found: run scripts/setup")
endif()
list(SORT skyveil_libstdcxx_dirs)
list(GET skyveil_libstdcxx_dirs -1 skyveil_libstdcxx)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-resource-dir OUTPUT_VARIABLE skyveil_clang_resources
                OUTPUT_STRIP_TRAILING_WHITESPACE)

# -D_X86_ as MinGW's gcc predefines it (winnt.h needs it); msvcrt.dll has no _Init_thread_* for
# thread-safe statics. The include order matters: libstdc++, clang's own headers, then MinGW-w64's.
set(skyveil_msvc_flags "-fno-ms-compatibility -fms-extensions -fno-delayed-template-parsing -fno-threadsafe-statics -D_X86_ -msse2 -nostdlibinc")
set(CMAKE_C_FLAGS_INIT "${skyveil_msvc_flags} -isystem ${skyveil_clang_resources}/include -isystem /usr/i686-w64-mingw32/include")
set(CMAKE_CXX_FLAGS_INIT "${skyveil_msvc_flags} -isystem ${skyveil_libstdcxx} -isystem ${skyveil_libstdcxx}/i686-w64-mingw32 -isystem ${skyveil_clang_resources}/include -isystem /usr/i686-w64-mingw32/include")
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
