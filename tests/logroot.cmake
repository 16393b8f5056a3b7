# Logarithms and roots, checked against MPFR's correctly rounded functions
# (a test-only dependency).
find_library(MPFR_LIBRARY mpfr REQUIRED)
find_library(GMP_LIBRARY gmp REQUIRED)
find_path(MPFR_INCLUDE_DIR mpfr.h REQUIRED)

math_n_test(logroot_test predicates logroot_test.cpp)
target_include_directories(logroot_test PRIVATE ${MPFR_INCLUDE_DIR})
target_link_libraries(logroot_test PRIVATE ${MPFR_LIBRARY} ${GMP_LIBRARY})
# The kernels are compiled into the test as they are into the library.
target_compile_options(logroot_test PRIVATE -ffp-contract=off)
