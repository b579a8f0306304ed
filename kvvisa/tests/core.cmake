# core tests: resource names, the session table, default formatted I/O and
# find lists, tested against the library's internals.
add_executable(kvvisa_resource_name_test resource_name_test.cpp)
target_link_libraries(kvvisa_resource_name_test PRIVATE kvvisa_core GTest::gtest_main)
gtest_discover_tests(kvvisa_resource_name_test)

add_executable(kvvisa_res_mgr_test res_mgr_test.cpp)
target_link_libraries(kvvisa_res_mgr_test PRIVATE kvvisa_core GTest::gtest_main)
gtest_discover_tests(kvvisa_res_mgr_test)
