# Cross builds with Debian's cross compilers (they coexist on one machine,
# unlike g++-multilib), each program run under qemu-user. The preset sets
# MATH_N_TRIPLET (i686-linux-gnu, aarch64-linux-gnu, s390x-linux-gnu) and
# the flags; libraries such as MPFR come from Debian's multiarch packages.
set(CMAKE_SYSTEM_NAME Linux)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MATH_N_TRIPLET)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR "${MATH_N_TRIPLET}")
set(CMAKE_C_COMPILER ${MATH_N_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${MATH_N_TRIPLET}-g++)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
  set(qemu qemu-i386)
else()
  set(CMAKE_LIBRARY_ARCHITECTURE ${MATH_N_TRIPLET})
  set(qemu qemu-${CMAKE_SYSTEM_PROCESSOR})
endif()
find_program(MATH_N_QEMU ${qemu} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${MATH_N_QEMU})
