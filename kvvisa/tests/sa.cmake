# The measurement layer: its plain units, and sessions end to end against the
# simulated receiver.
add_executable(kvvisa_sa_unit_tests sa_units_test.cpp)
target_link_libraries(kvvisa_sa_unit_tests PRIVATE kvvisa_core GTest::gtest_main)
gtest_discover_tests(kvvisa_sa_unit_tests)

add_executable(kvvisa_sa_session_tests sa_session_test.cpp)
target_link_libraries(kvvisa_sa_session_tests PRIVATE kvvisa_core kvvisa_test_support GTest::gtest_main)
add_dependencies(kvvisa_sa_session_tests z5r-sim)
gtest_discover_tests(kvvisa_sa_session_tests DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT 120)
