# Compiler options for the project's own targets (not for the third-party code added before them).
macro(skyveil_apply_project_options)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-Wall -Wextra -Wshadow -Wconversion -Wno-ignored-qualifiers)
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      # clang's -Wconversion also takes in sign conversions, which g++'s does not in C++: one meaning
      # for every compiler.
      add_compile_options(-Wno-sign-conversion)
    endif()
    if(SKYVEIL_WERROR)
      add_compile_options(-Werror)
    endif()
    if(NOT WIN32 AND NOT SKYVEIL_FUZZ AND NOT (SKYVEIL_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang"))
      # The add-on's libraries resolve the host's functions from the loading process, as a DLL
      # resolves its imports, but nothing may stay undefined by accident. (clang's sanitizer
      # runtimes live in the executable only, so its sanitized builds cannot ask this.)
      add_link_options(LINKER:--no-undefined)
    endif()
  endif()
  # No link time in the Windows binaries' headers: the same sources give the same bytes (lld-link
  # writes a hash of the output in its place).
  if(SKYVEIL_MSVC_ABI)
    add_link_options(/Brepro)
  elseif(WIN32)
    add_link_options(LINKER:--no-insert-timestamp)
  endif()
  if(SKYVEIL_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
  if(SKYVEIL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endmacro()

# Hidden symbol visibility: only what a library marks for export leaves it.
function(skyveil_hide_symbols target)
  set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()

# One CMake line per test program: every test case runs in a process of its own under CTest.
function(skyveil_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Listed at test time, never by the build: a 32-bit program may start only under an emulator, or not
  # at all (cmake/SkyveilTestRunner.cmake).
  if(NOT SKYVEIL_TEST_RUNNER STREQUAL "none")
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "SKYVEIL_ROOT_TEMPLATE=${SKYVEIL_ROOT_DIR}")
  endif()
endfunction()
