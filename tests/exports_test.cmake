# The library's dynamic symbol table holds exactly the names of exports.txt.
# Usage: cmake -DNM=... -DLIBRARY=... -DEXPECTED=... -P exports_test.cmake
execute_process(COMMAND ${NM} -D --defined-only -C ${LIBRARY} OUTPUT_VARIABLE table COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE "[0-9a-f]+ [A-Za-z] ([^\n]*)\n" "\\1;" exported "${table}")
file(STRINGS ${EXPECTED} expected REGEX "^[^#]")
set(missing ${expected})
list(REMOVE_ITEM missing ${exported})
list(REMOVE_ITEM exported ${expected})
if(missing OR exported)
  message(FATAL_ERROR "not exported: ${missing}\nexported beyond the list: ${exported}")
endif()
