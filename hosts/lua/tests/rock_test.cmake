# `luarocks make` in a copy of the sources it reads (it builds where it
# runs), into a scratch tree; the module from the tree has the library in it.
file(REMOVE_RECURSE ${WORK})
file(COPY ${SOURCE}/LIB DESTINATION ${WORK}/src)
file(COPY ${SOURCE}/hosts/core.h ${SOURCE}/hosts/registry.h ${SOURCE}/hosts/lua DESTINATION ${WORK}/src/hosts
  PATTERN build.luarocks EXCLUDE)
execute_process(COMMAND ${LUAROCKS} --lua-version 5.4 --tree ${WORK}/tree make math_n-${VERSION}-1.rockspec
  WORKING_DIRECTORY ${WORK}/src/hosts/lua RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "luarocks make (status ${status}):\n${out}${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH "LUA_CPATH=${WORK}/tree/lib/lua/5.4/?.so"
  "LUA_PATH=${WORK}/tree/share/lua/5.4/?.lua" ${LUA} -e
  "local math_n = require('math_n') print(math_n.addNat(3, 4), math_n.d2bNat(5), package.searchpath('math_n.clingo', package.path))"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out STREQUAL "7\t101\t${WORK}/tree/share/lua/5.4/math_n/clingo.lua\n")
  message(FATAL_ERROR "math_n from the rocks tree (status ${status}):\n${out}${err}")
endif()
file(REMOVE_RECURSE ${WORK})
