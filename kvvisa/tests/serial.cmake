# serial tests: the port map, and serial sessions on real pseudo-terminals.
add_executable(kvvisa_serial_tests serial_port_map_test.cpp serial_session_test.cpp)
target_link_libraries(kvvisa_serial_tests PRIVATE kvvisa_test_support GTest::gtest_main)
gtest_discover_tests(kvvisa_serial_tests PROPERTIES TIMEOUT 60)
