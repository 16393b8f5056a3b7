# Install rules: the library, its headers, a CMake package
# (find_package(math_N) gives the imported target math_N::math_N) and a
# pkg-config file, in the components runtime (the library) and dev (what a
# host is built with). natcall and each host install themselves.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The headers have a directory of their own, which the exported target puts
# on a host's include path.
install(TARGETS math_N EXPORT math_NTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/math_N)
install(FILES LIB/extpred.h LIB/math_N.h LIB/entry_points.def
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/math_N COMPONENT dev)

set(math_N_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/math_N)
install(EXPORT math_NTargets NAMESPACE math_N:: DESTINATION ${math_N_cmake_dir} COMPONENT dev)
configure_package_config_file(cmake/math_NConfig.cmake.in
  ${PROJECT_BINARY_DIR}/math_NConfig.cmake
  INSTALL_DESTINATION ${math_N_cmake_dir})
# The version file also rejects a build of the other pointer width.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/math_NConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/math_NConfig.cmake ${PROJECT_BINARY_DIR}/math_NConfigVersion.cmake
  DESTINATION ${math_N_cmake_dir} COMPONENT dev)

# The prefix is taken relative to the .pc file, so that the file stays right
# for `cmake --install --prefix` into any place.
file(RELATIVE_PATH math_N_pc_to_prefix
  ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" math_N_pc_to_prefix "${math_N_pc_to_prefix}")
configure_file(cmake/math_N.pc.in ${PROJECT_BINARY_DIR}/math_N.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/math_N.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
