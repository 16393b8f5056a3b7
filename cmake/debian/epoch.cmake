# Read by cpack before it builds the packages: every date in them is the
# configure step's source date (cmake/source_date.cmake), the man page's,
# so that two builds of one commit give the same bytes. A SOURCE_DATE_EPOCH
# already set is kept.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_MATH_N_SOURCE_EPOCH})
endif()
