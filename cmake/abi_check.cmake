# Compares the library with its recorded binary interface; any difference,
# compatible or not, fails, so that a change of the interface is a decision
# (--harmless: newer abidiffs pass some compatible changes by default, a
# parameter's CONSTANT* becoming void* among them); SUPPRESSIONS lists what
# toolchains read differently in the same library.
# Usage: cmake -DABIDIFF=... -DRECORD=... -DSUPPRESSIONS=... -DLIBRARY=... -DBUILD=... -P abi_check.cmake
execute_process(COMMAND ${ABIDIFF} --harmless --suppressions ${SUPPRESSIONS} ${RECORD} ${LIBRARY}
  RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${LIBRARY} differs from ${RECORD} (abidiff status ${status}):\n${report}\n"
    "If the change is intended (docs/packaging.md, \"Binary interface\"), record it in the same commit:\n"
    "  cmake --build ${BUILD} --target abi_record")
endif()
