# MATH_N_SOURCE_EPOCH: the date of the sources, in seconds since 1970, the
# same for every build of one commit, so that the man page and the packages
# built from it carry one date: the build's SOURCE_DATE_EPOCH, else the last
# commit's, else debian/changelog's latest entry's (where
# dpkg-parsechangelog is found), else empty.
set(MATH_N_SOURCE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
if(MATH_N_SOURCE_EPOCH STREQUAL "")
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
      OUTPUT_VARIABLE MATH_N_SOURCE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endif()
if(NOT MATH_N_SOURCE_EPOCH MATCHES "^[0-9]+$")
  find_program(MATH_N_DPKG_PARSECHANGELOG dpkg-parsechangelog)
  if(MATH_N_DPKG_PARSECHANGELOG)
    execute_process(COMMAND ${MATH_N_DPKG_PARSECHANGELOG} -l ${PROJECT_SOURCE_DIR}/debian/changelog
      -S Timestamp OUTPUT_VARIABLE MATH_N_SOURCE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endif()
if(NOT MATH_N_SOURCE_EPOCH MATCHES "^[0-9]+$")
  set(MATH_N_SOURCE_EPOCH "")
endif()
