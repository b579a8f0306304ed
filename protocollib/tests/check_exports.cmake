# Fails unless LIBRARY defines exactly the ten entry points in its dynamic
# symbol table.  cmake -DNM=<nm> -DLIBRARY=<path> -P check_exports.cmake
set(expected CloseSession GetCommandID GetCommandName GetErrorName GetParameterFract
             GetParameterID GetParameterName GetParameterSize OpenSession ProtLoadFromFile)
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(exported)
foreach(line IN LISTS lines)
  # "<address> <type> <name>[@@version]"
  if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] ([^@ ]+)")
    list(APPEND exported ${CMAKE_MATCH_1})
  endif()
endforeach()
list(SORT exported)
if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "exported: ${exported}\nexpected: ${expected}")
endif()
