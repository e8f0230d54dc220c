# `cmake --install`: lib/libtavo.so.0 (with the libtavo.so link), include/tavo.h,
# bin/tavo, its man page and bash completion, the help pages, a pkg-config file and a CMake package
# (find_package(tavo) gives tavo::tavo), and the Python module. Every
# installed path is relative to the prefix, so `--prefix` may move it
# anywhere.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set_target_properties(tavo_shared PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} EXPORT_NAME tavo)
target_include_directories(tavo_shared INTERFACE
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

install(TARGETS tavo_shared EXPORT tavoTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS tavo_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/tavo.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# The windows' help pages, where the installed library looks for them.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/help/ DESTINATION ${TAVO_HELP_INSTALL_DIR})

set(TAVO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/tavo)
install(EXPORT tavoTargets NAMESPACE tavo:: DESTINATION ${TAVO_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/tavoConfig.cmake.in
  ${PROJECT_BINARY_DIR}/tavoConfig.cmake INSTALL_DESTINATION ${TAVO_CMAKE_DIR})
# Before 1.0 a new minor version may change the interface.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/tavoConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/tavoConfig.cmake ${PROJECT_BINARY_DIR}/tavoConfigVersion.cmake
  DESTINATION ${TAVO_CMAKE_DIR})

# pkg-config finds the prefix from where the file lies.
file(RELATIVE_PATH TAVO_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
configure_file(${PROJECT_SOURCE_DIR}/cmake/tavo.pc.in ${PROJECT_BINARY_DIR}/tavo.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tavo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The Python module finds the library relative to itself.
set(TAVO_PYTHON_DIR ${CMAKE_INSTALL_DATADIR}/tavo/python)
file(RELATIVE_PATH TAVO_PYTHON_TO_LIBRARY /${TAVO_PYTHON_DIR} /${CMAKE_INSTALL_LIBDIR}/libtavo.so.${PROJECT_VERSION_MAJOR})
configure_file(${PROJECT_SOURCE_DIR}/python/tavo.py ${PROJECT_BINARY_DIR}/python/tavo.py @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/python/tavo.py DESTINATION ${TAVO_PYTHON_DIR})

# The man page, made from the command's help at build time, and the bash
# completion.
find_program(TAVO_HELP2MAN help2man)
if(TAVO_HELP2MAN)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/tavo.1
    COMMAND ${CMAKE_COMMAND} -DTAVO=$<TARGET_FILE:tavo_cli> -DHELP2MAN=${TAVO_HELP2MAN}
            -DOUT=${PROJECT_BINARY_DIR}/tavo.1 -P ${PROJECT_SOURCE_DIR}/cmake/tavo_manual.cmake
    DEPENDS tavo_cli ${PROJECT_SOURCE_DIR}/cmake/tavo_manual.cmake
    COMMENT "Writing the man page tavo.1")
  add_custom_target(tavo_manual ALL DEPENDS ${PROJECT_BINARY_DIR}/tavo.1)
  install(FILES ${PROJECT_BINARY_DIR}/tavo.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man not found: no man page (make deps installs it)")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/src/cli/tavo-completion.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tavo)
