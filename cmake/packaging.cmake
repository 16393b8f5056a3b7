# Debian packages through `cpack -G DEB`: the library (libmath-n1, after its
# SONAME), its development files (libmath-n-dev), natcall and each host, for
# the architecture the build targets.


# Registers the install component COMPONENT as a Debian package:
#   math_n_deb_package(COMPONENT NAME name SECTION section [DEPENDS deps]
#                      [CONTROL_EXTRA files] DESCRIPTION text)
# Every package carries the machine-readable copyright, made from LICENSE,
# and the changelog; they are installed only with their component, so that
# a plain `cmake --install` leaves them out. The packages are written by the
# include(CPack) at the end of the top-level CMakeLists.txt, which reads
# what this records.
function(math_n_deb_package component)
  cmake_parse_arguments(PARSE_ARGV 1 deb "" "NAME;SECTION;DEPENDS;DESCRIPTION" "CONTROL_EXTRA")
  if(NOT MATH_N_DEB)
    return()
  endif()
  string(TOUPPER ${component} upper)
  set_property(GLOBAL APPEND PROPERTY MATH_N_DEB_COMPONENTS ${component})
  set_property(GLOBAL APPEND PROPERTY MATH_N_DEB_VARIABLES
    CPACK_DEBIAN_${upper}_PACKAGE_NAME CPACK_DEBIAN_${upper}_PACKAGE_SECTION
    CPACK_DEBIAN_${upper}_PACKAGE_DEPENDS CPACK_DEBIAN_${upper}_PACKAGE_CONTROL_EXTRA
    CPACK_DEBIAN_${upper}_DESCRIPTION)
  set_property(GLOBAL PROPERTY CPACK_DEBIAN_${upper}_PACKAGE_NAME ${deb_NAME})
  set_property(GLOBAL PROPERTY CPACK_DEBIAN_${upper}_PACKAGE_SECTION ${deb_SECTION})
  set_property(GLOBAL PROPERTY CPACK_DEBIAN_${upper}_PACKAGE_DEPENDS "${deb_DEPENDS}")
  set_property(GLOBAL PROPERTY CPACK_DEBIAN_${upper}_PACKAGE_CONTROL_EXTRA "${deb_CONTROL_EXTRA}")
  set_property(GLOBAL PROPERTY CPACK_DEBIAN_${upper}_DESCRIPTION "${deb_DESCRIPTION}")
  install(FILES ${PROJECT_BINARY_DIR}/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${deb_NAME} COMPONENT ${component} EXCLUDE_FROM_ALL)
endfunction()

option(MATH_N_DEB "Debian packages with cpack -G DEB, and their test (needs dpkg-dev and lintian)" OFF)
if(NOT MATH_N_DEB)
  return()
endif()
if(NOT CMAKE_INSTALL_LIBDIR STREQUAL "lib/${CMAKE_LIBRARY_ARCHITECTURE}")
  message(FATAL_ERROR "Debian packages need CMAKE_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}, "
    "not ${CMAKE_INSTALL_LIBDIR}: configure with --fresh or -U CMAKE_INSTALL_LIBDIR, or set MATH_N_DEB OFF")
endif()
find_program(MATH_N_DPKG_ARCHITECTURE dpkg-architecture REQUIRED)
find_program(MATH_N_DPKG_PARSECHANGELOG dpkg-parsechangelog REQUIRED)
find_program(MATH_N_GZIP gzip REQUIRED)

set(debian ${PROJECT_SOURCE_DIR}/cmake/debian)
# The changelog's latest entry gives the Debian revision, the source
# package's name and the maintainer, as it does for dpkg's own tools.
foreach(field Version Source Maintainer)
  execute_process(COMMAND ${MATH_N_DPKG_PARSECHANGELOG} -l ${debian}/changelog -S ${field}
    OUTPUT_VARIABLE deb_${field} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endforeach()
string(REPLACE "." "\\." version "${PROJECT_VERSION}")
if(NOT deb_Version MATCHES "^${version}-([^-]+)$")
  message(FATAL_ERROR "cmake/debian/changelog: the latest entry is ${deb_Version}; add one for ${PROJECT_VERSION}")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_1})
set(CPACK_DEBIAN_PACKAGE_SOURCE ${deb_Source})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${deb_Maintainer})
execute_process(COMMAND ${MATH_N_DPKG_ARCHITECTURE} -t ${CMAKE_LIBRARY_ARCHITECTURE} -q DEB_HOST_ARCH
  OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE
  ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)

get_target_property(soversion math_N SOVERSION)
set(runtime libmath-n${soversion})
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${debian}/finish.cmake)
# Reproducible packages: dates from the source (epoch.cmake), and directory
# and archive member modes (ar_modes.cmake) that do not follow the umask.
if(MATH_N_SOURCE_EPOCH STREQUAL "")
  message(FATAL_ERROR "no date for the packages: neither SOURCE_DATE_EPOCH, a git commit nor ${debian}/changelog gives one")
endif()
set(CPACK_MATH_N_SOURCE_EPOCH ${MATH_N_SOURCE_EPOCH})
set(CPACK_PROJECT_CONFIG_FILE ${debian}/epoch.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${debian}/ar_modes.cmake)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file for the package that has the library (the others have none).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# natcall needs the library it is packaged with; dpkg-shlibdeps finds it in
# the build tree, and natcall's Depends names its package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
# Each package's synopsis is the first line of its own description.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")

set(MATH_N_DEB_ABOUT "math_N is a library of 52 arithmetic predicates over 32-bit integers
for hosts that evaluate logic rules: addition, subtraction, multiplication,
division and remainder, parity, powers, factorials, gcd and lcm, integer
logarithms and roots, combinations and permutations, decimal and binary
texts. A host loads it at run time and calls one entry point per predicate
and binding pattern, to check a relation or to compute the open argument.
Every answer is exact, and the same on every architecture and in every
floating-point rounding mode.")

# The copyright file, made from LICENSE, and the compressed changelog.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "\nCopyright ([^\n]+)\n\n(.+)$")
  message(FATAL_ERROR "LICENSE: no copyright line followed by the terms")
endif()
set(copyright ${CMAKE_MATCH_1})
string(STRIP "${CMAKE_MATCH_2}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms " ${terms}")
configure_file(${debian}/copyright.in ${PROJECT_BINARY_DIR}/debian/copyright @ONLY)
execute_process(COMMAND ${MATH_N_GZIP} -9nc ${debian}/changelog
  OUTPUT_FILE ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${debian}/changelog ${PROJECT_SOURCE_DIR}/LICENSE)

math_n_deb_package(runtime NAME ${runtime} SECTION libs
  # dpkg's ldconfig trigger; CPack adds its own ldconfig calls besides.
  CONTROL_EXTRA ${debian}/triggers
  DESCRIPTION "arithmetic predicates over 32-bit integers for logic-rules hosts
${MATH_N_DEB_ABOUT}

This package contains the shared library.")
math_n_deb_package(dev NAME libmath-n-dev SECTION libdevel DEPENDS "${runtime} (= ${deb_Version})"
  DESCRIPTION "arithmetic predicates over 32-bit integers - development files
${MATH_N_DEB_ABOUT}

This package contains the headers, the CMake package (find_package(math_N),
target math_N::math_N) and the pkg-config file math_N.")
math_n_deb_package(natcall NAME natcall SECTION math DEPENDS "${runtime} (>= ${deb_Version})"
  DESCRIPTION "command-line host for the math_N arithmetic predicates
natcall evaluates atoms such as addNat(3, 4, Z) through the math_N shared
library as a logic-rules host does, one answer per atom, from the command
line, a file or standard input, and lists the predicates and binding
patterns that the library exports.

${MATH_N_DEB_ABOUT}")
# What a host's package depends on for the library.
set(MATH_N_DEB_RUNTIME_DEPENDS "${runtime} (>= ${deb_Version})")
