# Builds and runs a small host against an installed library through
# find_package and through pkg-config, and runs the installed natcall.
# Without PREFIX, it first installs the build (BUILD) into a scratch prefix
# with `cmake --install`, where natcall must find the library beside it,
# and runs each engine's host from there; with PREFIX, it checks what is
# installed there (the autopkgtest of the Debian packages: PREFIX=/usr).
# Usage: see the install test in CMakeLists.txt and debian/tests; a host's
# check script gets PREFIX, LIBDIR and WORK and fails by FATAL_ERROR.
cmake_minimum_required(VERSION 3.25)

# Runs a command; with `expected`, its standard output must be that.
function(run what expected)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT (expected STREQUAL "" OR out STREQUAL expected))
    message(FATAL_ERROR "${what} (status ${status}): expected\n${expected}but got\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
if(PREFIX)
  set(prefix ${PREFIX})
else()
  set(prefix ${WORK}/prefix)
  run("install" "" ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
endif()

if(NOT EXISTS ${prefix}/include/math_N/extpred.h OR EXISTS ${prefix}/include/extpred.h)
  message(FATAL_ERROR "the headers are not in ${prefix}/include/math_N alone")
endif()
if(TOOLCHAIN)
  set(toolchain -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DMATH_N_TRIPLET=${TRIPLET})
endif()
run("configuring the find_package host" "" ${CMAKE_COMMAND} -S ${HOST} -B ${WORK}/cmake-host -G ${GENERATOR}
  -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" ${toolchain})
run("building the find_package host" "" ${CMAKE_COMMAND} --build ${WORK}/cmake-host)
run("the find_package host" "7\n101\n" ${EMULATOR} ${WORK}/cmake-host/host)

set(pkg_config ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/${LIBDIR}/pkgconfig pkg-config)
run("pkg-config" "" ${pkg_config} --cflags --libs math_N)
separate_arguments(pc_flags UNIX_COMMAND "${out}")
run("pkg-config" "" ${pkg_config} --variable=libdir math_N)
string(STRIP "${out}" libdir)
separate_arguments(flags UNIX_COMMAND "${CXX_FLAGS}")
run("building the pkg-config host" "" ${CXX} ${flags} ${HOST}/host.cpp ${pc_flags} -Wl,-rpath,${libdir}
  -o ${WORK}/pc-host)
run("the pkg-config host" "7\n101\n" ${EMULATOR} ${WORK}/pc-host)
run("the installed natcall" "Z = 7\nB = \"101\"\n" ${EMULATOR} ${prefix}/bin/natcall "addNat(3,4,Z)" "d2bNat(5,B)")
# Each engine's host, by the script it registered (HOST_CHECKS, separated
# by '|'), run on the prefix.
string(REPLACE "|" ";" host_checks "${HOST_CHECKS}")
foreach(check IN LISTS host_checks)
  run("${check}" "" ${CMAKE_COMMAND} -DPREFIX=${prefix} -DLIBDIR=${LIBDIR} -DWORK=${WORK} -P ${check})
endforeach()
file(REMOVE_RECURSE ${WORK})
