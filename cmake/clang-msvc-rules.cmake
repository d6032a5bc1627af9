# Link rule of the MSVC-ABI build: lld-link itself, with only the options the target gives it (no
# default libraries, no manifest). Loaded after CMake's platform rules so that it replaces theirs.
set(CMAKE_CXX_CREATE_SHARED_LIBRARY
    "<CMAKE_LINKER> /nologo /dll /out:<TARGET> /implib:<TARGET_IMPLIB> <LINK_FLAGS> <OBJECTS> <LINK_LIBRARIES>")
set(CMAKE_C_CREATE_SHARED_LIBRARY ${CMAKE_CXX_CREATE_SHARED_LIBRARY})
set(CMAKE_SHARED_LINKER_FLAGS_INIT "")
set(CMAKE_MSVC_RUNTIME_LIBRARY "")
set(CMAKE_C_STANDARD_LIBRARIES_INIT "")
set(CMAKE_CXX_STANDARD_LIBRARIES_INIT "")
