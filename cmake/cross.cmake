# Cross builds with Debian's cross compilers (they coexist on one machine,
# unlike g++-multilib), each program run under qemu-user. The preset sets
# MATH_N_TRIPLET, the cross compiler's prefix (i686-linux-gnu,
# arm-linux-gnueabihf, mips64el-linux-gnuabi64, ...), and the flags;
# libraries such as MPFR come from Debian's multiarch packages.
set(CMAKE_SYSTEM_NAME Linux)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MATH_N_TRIPLET MATH_N_QEMU_CPU)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR "${MATH_N_TRIPLET}")
set(CMAKE_C_COMPILER ${MATH_N_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${MATH_N_TRIPLET}-g++)

# The multiarch directory is the triplet but for i386; qemu names a few
# processors its own way. A new architecture needs a line here only where
# its names differ.
set(CMAKE_LIBRARY_ARCHITECTURE ${MATH_N_TRIPLET})
set(qemu qemu-${CMAKE_SYSTEM_PROCESSOR})
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
  set(qemu qemu-i386)
elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "powerpc64le")
  set(qemu qemu-ppc64le)
endif()
find_program(MATH_N_QEMU ${qemu} REQUIRED)

# A processor model for qemu where its default lacks what the platform
# promises (empty: qemu's default).
set(MATH_N_QEMU_CPU "" CACHE STRING "qemu-user's -cpu for the programs run under emulation")
if(MATH_N_QEMU_CPU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MATH_N_QEMU} -cpu ${MATH_N_QEMU_CPU})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MATH_N_QEMU})
endif()
