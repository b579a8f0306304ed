# The library under calls from several threads, through its C interface;
# also run in the thread-sanitizer build (KV_TSAN).
add_executable(kvvisa_thread_tests thread_stress_test.cpp)
target_link_libraries(kvvisa_thread_tests PRIVATE KvVISA kvvisa_test_support GTest::gtest_main)
gtest_discover_tests(kvvisa_thread_tests DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT 120)
