# Installs the two programs and the character viewer, their components, icons,
# desktop entries and manual pages, and
# packages them for Debian with CPack.
include(GNUInstallDirs)

install(TARGETS fennick morrowby EXPORT BalloonHarnessTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The programs look for their components in ../lib/balloon-harness/components.
install(TARGETS vellixballoon LIBRARY DESTINATION lib/balloon-harness/components)
# Loaded when a character first plays a sound.
install(TARGETS agent_audio LIBRARY DESTINATION lib/balloon-harness/modules)
install(FILES resources/fennick.desktop resources/morrowby.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/balloon-harness-32.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME balloon-harness.png)
install(FILES resources/balloon-harness-16.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/16x16/apps RENAME balloon-harness.png)
# The SDK: the contract headers, whatever the folder holds, and a CMake
# package with the component target, the two programs and the functions that
# build a component and add one test per --verify check.
add_executable(BalloonHarness::fennick ALIAS fennick)
add_executable(BalloonHarness::morrowby ALIAS morrowby)
set(HARNESS_CMAKEDIR lib/cmake/BalloonHarness)
install(DIRECTORY component/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/balloon-harness/component
    FILES_MATCHING PATTERN "*.h")
install(TARGETS harness_component EXPORT BalloonHarnessTargets)
install(EXPORT BalloonHarnessTargets NAMESPACE BalloonHarness:: DESTINATION ${HARNESS_CMAKEDIR})
include(CMakePackageConfigHelpers)
configure_package_config_file(cmake/BalloonHarnessConfig.cmake.in
    ${CMAKE_BINARY_DIR}/packaging/BalloonHarnessConfig.cmake INSTALL_DESTINATION ${HARNESS_CMAKEDIR})
# While the version is 0.x a minor version may break the contract.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/packaging/BalloonHarnessConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/packaging/BalloonHarnessConfig.cmake
    ${CMAKE_BINARY_DIR}/packaging/BalloonHarnessConfigVersion.cmake
    cmake/BalloonHarnessFunctions.cmake cmake/BalloonHarnessListChecks.cmake
    DESTINATION ${HARNESS_CMAKEDIR})
# The character viewer, the default application and thumbnailer of the
# character file type it declares.
install(TARGETS acsview RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/acsview.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/acsview.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES resources/acsview-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME acsview.xml)
install(FILES resources/acsview.thumbnailer DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)

include(cmake/HarnessManPages.cmake)
harness_add_manpage(fennick "interactive test harness for a balloon message component"
    ${PROJECT_SOURCE_DIR}/packaging/man/harness.h2m)
harness_add_manpage(morrowby "interactive test harness for a balloon message component, Quorvane class"
    ${PROJECT_SOURCE_DIR}/packaging/man/harness.h2m)
harness_add_manpage(acsview "viewer for animated character files"
    ${PROJECT_SOURCE_DIR}/packaging/man/acsview.h2m)
# Documentation where Debian looks for it, under the package's name, with the
# screenshots the README shows.
set(HARNESS_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/balloon-harness)
configure_file(packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
execute_process(COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/packaging/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES README.md packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    DESTINATION ${HARNESS_DOCDIR})
install(DIRECTORY docs/screenshots DESTINATION ${HARNESS_DOCDIR}/docs)
# The project a component author copies to start from.
install(DIRECTORY examples/template DESTINATION ${HARNESS_DOCDIR}/examples)

set(CPACK_PACKAGE_NAME balloon-harness)
set(CPACK_PACKAGE_VENDOR "Balloon harness developers")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Interactive test harness for a balloon message component")
set(CPACK_PACKAGE_CONTACT "Balloon harness developers <maintainers@users.noreply.invalid>")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's font, and Qt Multimedia for the character's sounds (named as
# well as found by shlibdeps); the other shared libraries' packages are added
# by shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-extra, libqt6multimedia6")
# What building a component against the SDK takes.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cmake, g++, qt6-base-dev")
# Programs and plugin without their debug symbols.
set(CPACK_STRIP_FILES ON)
# The package ships no shared library of its own; the components are plugins.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# The extended description; CPack puts the summary above it as the synopsis
# and indents each line as Debian's policy asks.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Two programs, Fennick and Morrowby, drive a balloon message component by its
dispatch identifiers: set its options, show its three kinds of message beside
an animated desktop character and see what the user answered. Ships a
reference balloon component and a character engine for .acs files, and the
SDK to write a component: the contract headers, a CMake package and one
CTest test per contract check.")
include(CPack)
