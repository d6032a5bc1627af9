# The build assembles a simulator root tree: modules/veilcore.dll and modules/plugin/skyveil.dll under
# the names the host expects, on every platform. Tests copy it into fresh temporary roots.
set(SKYVEIL_ROOT_DIR ${CMAKE_BINARY_DIR}/root)
file(MAKE_DIRECTORY ${SKYVEIL_ROOT_DIR}/modules/plugin ${SKYVEIL_ROOT_DIR}/meshes ${SKYVEIL_ROOT_DIR}/config/vessels)

# Places a shared library target into the root tree as <subdir>/<name>.dll.
function(skyveil_place_module target subdir name)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${name}
    SUFFIX ".dll"
    LIBRARY_OUTPUT_DIRECTORY ${SKYVEIL_ROOT_DIR}/${subdir}
    RUNTIME_OUTPUT_DIRECTORY ${SKYVEIL_ROOT_DIR}/${subdir})
endfunction()
