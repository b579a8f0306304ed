# USB tests: sessions and searches over the scripted D2XX library of
# fake_d2xx/, found through LD_LIBRARY_PATH as libftd2xx.so, or named by
# KVVISA_D2XX_LIBRARY for the builds that lack entry points.
add_subdirectory(fake_d2xx)

add_executable(kvvisa_usb_tests usb_session_test.cpp)
target_link_libraries(kvvisa_usb_tests PRIVATE kvvisa_test_support GTest::gtest_main)
target_compile_definitions(kvvisa_usb_tests PRIVATE
  KV_FAKE_D2XX_LISTING_ONLY="$<TARGET_FILE:kvvisa_fake_d2xx_listing_only>"
  KV_FAKE_D2XX_WITHOUT_TRANSFERS="$<TARGET_FILE:kvvisa_fake_d2xx_without_transfers>"
  KV_OWN_D2XX="$<TARGET_FILE:KvD2XX>")
add_dependencies(kvvisa_usb_tests kvvisa_fake_d2xx kvvisa_fake_d2xx_listing_only
                 kvvisa_fake_d2xx_without_transfers KvD2XX)
# where fake_d2xx/CMakeLists.txt puts the whole library
set(kvvisa_fake_d2xx_dir ${CMAKE_CURRENT_BINARY_DIR}/fake_d2xx/fake_d2xx)
gtest_discover_tests(kvvisa_usb_tests PROPERTIES TIMEOUT 60
  ENVIRONMENT "LD_LIBRARY_PATH=${kvvisa_fake_d2xx_dir}")
