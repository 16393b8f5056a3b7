# Read by cpack before it builds the packages: every date in them is the
# last commit's (outside a git clone, the changelog's latest entry's), so
# that two builds of one commit give the same bytes. A SOURCE_DATE_EPOCH
# already set is kept.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND ${CPACK_MATH_N_GIT} -C ${CPACK_MATH_N_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE epoch RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT status EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
    execute_process(COMMAND ${CPACK_MATH_N_DPKG_PARSECHANGELOG} -l ${CPACK_MATH_N_SOURCE_DIR}/cmake/debian/changelog
      -S Timestamp OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
