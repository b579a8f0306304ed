# Loading and unloading the shared library as an application does.
add_executable(kvvisa_lifecycle_test lifecycle_test.cpp)
target_link_libraries(kvvisa_lifecycle_test PRIVATE kvvisa_test_support GTest::gtest_main
                      ${CMAKE_DL_LIBS})
target_compile_definitions(kvvisa_lifecycle_test PRIVATE
  KVVISA_LIBRARY_PATH="$<TARGET_FILE:KvVISA>")
add_dependencies(kvvisa_lifecycle_test KvVISA)
gtest_discover_tests(kvvisa_lifecycle_test DISCOVERY_TIMEOUT 30)
