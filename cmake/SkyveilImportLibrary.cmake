# Import libraries for the MSVC-ABI build, made from .def files: mingw's own import libraries do not
# pass /safeseh, and none of them has the host's decorated names. -k drops the @N of __stdcall names
# from the imported name, as the DLLs export them.
find_program(SKYVEIL_DLLTOOL NAMES llvm-dlltool-14 llvm-dlltool REQUIRED)

# Defines the interface target <target> that links the import library made from <def>.
function(skyveil_import_library target def)
  get_filename_component(name ${def} NAME_WE)
  set(lib ${CMAKE_CURRENT_BINARY_DIR}/${name}.lib)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${SKYVEIL_DLLTOOL} -m i386 -k -d ${def} -l ${lib}
    DEPENDS ${def} VERBATIM)
  add_custom_target(${target}_lib DEPENDS ${lib})
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE ${lib})
  add_dependencies(${target} ${target}_lib)
endfunction()
