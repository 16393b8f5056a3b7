# The library's dynamic symbol table holds exactly the names of the symbols
# file that Debian's build checks the libmath-n1 package against, on every
# architecture (its C++ names are written demangled, as nm -C shows them).
# Usage: cmake -DNM=... -DLIBRARY=... -DSYMBOLS=debian/libmath-n1.symbols -P exports_test.cmake
execute_process(COMMAND ${NM} -D --defined-only -C ${LIBRARY} OUTPUT_VARIABLE table COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE "[0-9a-f]+ [A-Za-z] ([^\n]*)\n" "\\1;" exported "${table}")
file(STRINGS ${SYMBOLS} rows REGEX "^ ")
list(TRANSFORM rows REPLACE "^ (\\(c\\+\\+\\)\")?([^\"]+)@Base\"? .*$" "\\2" OUTPUT_VARIABLE expected)
set(missing ${expected})
list(REMOVE_ITEM missing ${exported})
list(REMOVE_ITEM exported ${expected})
if(missing OR exported)
  message(FATAL_ERROR "not exported: ${missing}\nexported beyond ${SYMBOLS}: ${exported}")
endif()
