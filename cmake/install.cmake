# The installed product: the application folder exactly as the build makes it
# (programs find their libraries beside them through $ORIGIN), the library's
# headers and pkg-config file in the usual places (their own rules), a desktop
# entry and an icon that start the launcher, the licence; and the .deb package
# of all of it (cpack -G DEB).
set(KV_INSTALL_APPDIR "lib/z5r" CACHE STRING "application folder, relative to the installation prefix")

# Programs whose installed library path differs from their built one are
# installed as targets, so the installed copy gets that path exactly: built,
# the loader path is padded with empty entries, which mean the current folder.
set(KV_PROGRAMS_WITH_INSTALL_PATH kvtalk kvmon kvfind z5r-profile)
set(copy_exclusions)
foreach(program IN LISTS KV_PROGRAMS_WITH_INSTALL_PATH)
  list(APPEND copy_exclusions PATTERN ${program} EXCLUDE)
endforeach()
install(DIRECTORY ${KV_APP_DIR}/ DESTINATION ${KV_INSTALL_APPDIR} USE_SOURCE_PERMISSIONS ${copy_exclusions})
install(TARGETS ${KV_PROGRAMS_WITH_INSTALL_PATH} RUNTIME DESTINATION ${KV_INSTALL_APPDIR})

# The desktop entry names the launcher by its installed path, known only when
# installing (cmake --install --prefix, or the package's /usr).
set(desktop_template ${PROJECT_SOURCE_DIR}/launcher/shipped/z5r-launcher.desktop.in)
install(CODE "
  set(KV_LAUNCHER_PATH \"\${CMAKE_INSTALL_PREFIX}/${KV_INSTALL_APPDIR}/Launcher\")
  set(desktop_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
  message(STATUS \"Installing: \${desktop_dir}/z5r-launcher.desktop\")
  configure_file(\"${desktop_template}\" \"\${desktop_dir}/z5r-launcher.desktop\" @ONLY)
")
install(FILES ${PROJECT_SOURCE_DIR}/launcher/shipped/z5r.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/z5r RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME z5r)
set(CPACK_PACKAGE_VENDOR "Korvel")
set(CPACK_PACKAGE_CONTACT "${KV_SUPPORT_MAIL}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Operating software of the Z5R microwave frequency synthesizer")
set(CPACK_PACKAGE_DESCRIPTION
    "The Z5R client with its launcher, instrument driver, the KvVISA library, the simulated instrument and the command-line tools. Licence: GPL-3.0-or-later.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KV_MAKER_SITE}")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
# The libraries the programs link are found by dpkg-shlibdeps; the toolkit's
# platform plugins and the catalogues' fonts are loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${KV_APP_DIR})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
# The PyVISA backend it installs is of use only with PyVISA.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "python3-pyvisa")
include(CPack)
