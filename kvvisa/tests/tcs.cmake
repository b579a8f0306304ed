# The text-command layer: lines and packets translated against a stand-in
# protocol library, and sessions end to end with the real one.
add_executable(kvvisa_tcs_unit_tests tcs_grammar_test.cpp tcs_line_test.cpp tcs_text_test.cpp)
target_link_libraries(kvvisa_tcs_unit_tests PRIVATE kvvisa_core GTest::gtest_main)
gtest_discover_tests(kvvisa_tcs_unit_tests)

# A protocol library one entry point short, which the layer must refuse.
add_library(tcs_incomplete_protocol_lib MODULE tcs_incomplete_protocol_lib.cpp)
target_include_directories(tcs_incomplete_protocol_lib PRIVATE
  ${PROJECT_SOURCE_DIR}/protocollib/include)
set_target_properties(tcs_incomplete_protocol_lib PROPERTIES
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

# A monitor program of its own, over the C interface.
add_executable(tcs_monitor_probe tcs_monitor_probe.c)
target_link_libraries(tcs_monitor_probe PRIVATE KvVISA)
set_target_properties(tcs_monitor_probe PROPERTIES C_STANDARD 11)

add_executable(kvvisa_tcs_session_tests tcs_session_test.cpp tcs_monitor_test.cpp)
target_link_libraries(kvvisa_tcs_session_tests PRIVATE
  kvvisa_core kvvisa_test_support GTest::gtest_main)
target_compile_definitions(kvvisa_tcs_session_tests PRIVATE
  TCS_INCOMPLETE_LIBRARY="$<TARGET_FILE:tcs_incomplete_protocol_lib>"
  TCS_MONITOR_PROBE="$<TARGET_FILE:tcs_monitor_probe>"
  APP_PROBE_PATH="$<TARGET_FILE:app_probe>")
add_dependencies(kvvisa_tcs_session_tests
  ProtocolLib protocol_xml tcs_incomplete_protocol_lib tcs_monitor_probe app_probe)
# With the library linked in, the layer looks for the protocol library beside
# this program, then through the dynamic linker's search: let that search
# reach the application folder. Not through this program's run path: under
# the sanitizers dlopen is called from their runtime, whose path it would use.
gtest_discover_tests(kvvisa_tcs_session_tests WORKING_DIRECTORY ${KV_APP_DIR}
  DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT 60 ENVIRONMENT "LD_LIBRARY_PATH=${KV_APP_DIR}")
