# api tests: the library through its C interface only.
add_executable(kvvisa_exports_test exports_test.cpp)
target_link_libraries(kvvisa_exports_test PRIVATE KvVISA kvvisa_test_support GTest::gtest_main
                                                  ${CMAKE_DL_LIBS})
target_compile_definitions(kvvisa_exports_test PRIVATE
  KV_LIBRARY_PATH="$<TARGET_FILE:KvVISA>")
gtest_discover_tests(kvvisa_exports_test)

# A plain C11 caller; it sees nothing but the public header.
add_executable(kvvisa_api_program api_program.c)
set_target_properties(kvvisa_api_program PROPERTIES C_STANDARD 11 C_STANDARD_REQUIRED ON
                                                    C_EXTENSIONS OFF)
target_link_libraries(kvvisa_api_program PRIVATE KvVISA)

add_executable(kvvisa_api_program_test api_program_test.cpp)
target_link_libraries(kvvisa_api_program_test PRIVATE kvvisa_test_support GTest::gtest_main)
target_compile_definitions(kvvisa_api_program_test PRIVATE
  KV_API_PROGRAM="$<TARGET_FILE:kvvisa_api_program>")
add_dependencies(kvvisa_api_program_test kvvisa_api_program)
gtest_discover_tests(kvvisa_api_program_test)
