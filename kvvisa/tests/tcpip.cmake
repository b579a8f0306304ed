# tcpip tests
# The TCP socket transport against scripted instruments on 127.0.0.1.
add_executable(kvvisa_tcpip_tests tcpip_session_test.cpp)
target_link_libraries(kvvisa_tcpip_tests PRIVATE kvvisa_core kvvisa_test_support GTest::gtest_main)
gtest_discover_tests(kvvisa_tcpip_tests DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT 60)
