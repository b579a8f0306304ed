# discovery tests: every search runs in network namespaces the tests create.
add_executable(discovery_responder netns/discovery_responder.cpp)

# Drives the built library through its C exports only, like an application.
add_executable(find_probe netns/find_probe.cpp)
target_link_libraries(find_probe PRIVATE KvVISA)
# the namespace check of the shared test support is a header
target_include_directories(find_probe PRIVATE
  $<TARGET_PROPERTY:kvtest_support,INTERFACE_INCLUDE_DIRECTORIES>)

add_executable(kvvisa_discovery_tests discovery_test.cpp)
target_link_libraries(kvvisa_discovery_tests PRIVATE kvvisa_test_support GTest::gtest_main)
target_compile_definitions(kvvisa_discovery_tests PRIVATE
  KV_FIND_PROBE="$<TARGET_FILE:find_probe>"
  KV_DISCOVERY_RESPONDER="$<TARGET_FILE:discovery_responder>")
add_dependencies(kvvisa_discovery_tests find_probe discovery_responder)
# Namespace and veth names carry the process id, so parallel runs cannot collide.
gtest_discover_tests(kvvisa_discovery_tests PROPERTIES TIMEOUT 60)
