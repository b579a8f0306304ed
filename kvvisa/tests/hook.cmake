# The traffic hook and monitor: in one process with threads, and across
# processes with a monitor program of its own.
add_executable(monitor_probe hook/monitor_probe.c)
target_link_libraries(monitor_probe PRIVATE KvVISA)
set_target_properties(monitor_probe PROPERTIES C_STANDARD 11)

# An application of its own, driven through its standard input.
add_executable(app_probe hook/app_probe.c)
target_link_libraries(app_probe PRIVATE KvVISA)
set_target_properties(app_probe PROPERTIES C_STANDARD 11)

add_executable(kvvisa_hook_tests hook/hook_monitor_test.cpp hook/hook_process_test.cpp)
target_link_libraries(kvvisa_hook_tests PRIVATE kvvisa_core kvvisa_test_support GTest::gtest_main)
target_compile_definitions(kvvisa_hook_tests PRIVATE
  MONITOR_PROBE_PATH="$<TARGET_FILE:monitor_probe>" APP_PROBE_PATH="$<TARGET_FILE:app_probe>")
add_dependencies(kvvisa_hook_tests monitor_probe app_probe)
gtest_discover_tests(kvvisa_hook_tests DISCOVERY_TIMEOUT 30)
