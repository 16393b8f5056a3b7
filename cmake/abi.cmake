# The binary interface is kept on purpose (docs/packaging.md, "Binary interface"):
# abi/<multiarch>.abi records what the library exports, as abidw reads it
# from the debug information, for the architectures that have packages.
# The abi test compares each build with the record and fails on any
# difference; the abi_record target rewrites the record.
# Only g++ builds without sanitizers: another compiler describes the same
# types in other words.
set(math_n_abi_architectures x86_64-linux-gnu i386-linux-gnu)
if(NOT CMAKE_LIBRARY_ARCHITECTURE IN_LIST math_n_abi_architectures
   OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR MATH_N_SANITIZED)
  return()
endif()
find_program(MATH_N_ABIDW abidw REQUIRED)
find_program(MATH_N_ABIDIFF abidiff REQUIRED)
set(record ${PROJECT_SOURCE_DIR}/abi/${CMAKE_LIBRARY_ARCHITECTURE}.abi)
add_custom_target(abi_record
  COMMAND ${MATH_N_ABIDW} --no-corpus-path --no-comp-dir-path --no-show-locs --exported-interfaces-only
    --out-file ${record} $<TARGET_FILE:math_N>
  DEPENDS math_N
  COMMENT "Recording the binary interface in abi/${CMAKE_LIBRARY_ARCHITECTURE}.abi")
add_test(NAME abi COMMAND ${CMAKE_COMMAND} -DABIDIFF=${MATH_N_ABIDIFF} -DRECORD=${record}
  -DSUPPRESSIONS=${PROJECT_SOURCE_DIR}/abi/toolchains.suppr
  -DLIBRARY=$<TARGET_FILE:math_N> -DBUILD=${PROJECT_BINARY_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/abi_check.cmake)
set_tests_properties(abi PROPERTIES LABELS boundary)
