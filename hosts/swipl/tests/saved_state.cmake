# A saved state of a program that uses library(math_n), saved with the
# foreign object in it from a copy of the build tree's host and library in
# WORK, runs once that copy has moved away: it needs only swipl and the
# math_N library (found through LD_LIBRARY_PATH here, as an installed one
# is found in the system's library directory).
#   cmake -DSWIPL=... -DBUILD_DIR=... -DHOST_DIR=... -DLIBRARY=... -DPROGRAM=... -DWORK=... -P saved_state.cmake
file(REMOVE_RECURSE ${WORK})
# The copy keeps the build tree's layout, which the foreign object's
# RUNPATH to the library is relative to.
file(RELATIVE_PATH host ${BUILD_DIR} ${HOST_DIR})
file(RELATIVE_PATH library ${BUILD_DIR} ${LIBRARY})
get_filename_component(library_dir ${library} DIRECTORY)
file(COPY ${HOST_DIR}/library ${HOST_DIR}/lib DESTINATION ${WORK}/build/${host})
file(COPY ${LIBRARY} DESTINATION ${WORK}/build/${library_dir} FOLLOW_SYMLINK_CHAIN)
execute_process(COMMAND ${SWIPL} -p library=${WORK}/build/${host}/library
  -g "current_foreign_library(foreign(math_n), _), qsave_program('${WORK}/state', [goal(main), stand_alone(true), foreign(save)])"
  -t halt ${PROGRAM} RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "qsave_program with library(math_n) loaded failed (${status}):\n${err}")
endif()
file(RENAME ${WORK}/build ${WORK}/moved)
execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${WORK}/moved/${library_dir} ${WORK}/state
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out STREQUAL "[7,12,\"1010\"]\n")
  message(FATAL_ERROR "the saved state, its build directory moved (status ${status}):\n${out}${err}")
endif()
message(STATUS "the saved state printed ${out}")
