# The library's sources, shared by its own build and the fuzzing build.
set(protocollib_sources
  ${CMAKE_CURRENT_LIST_DIR}/src/name_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/protocol_description.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/description_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/src/protocol_lib.cpp
)
set(protocollib_include_dirs
  ${CMAKE_CURRENT_LIST_DIR}/include
  ${CMAKE_CURRENT_LIST_DIR}/src
)
