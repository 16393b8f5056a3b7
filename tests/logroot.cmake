# Logarithms and roots, checked against MPFR's correctly rounded functions
# (a test-only dependency).

math_n_test(logroot_test predicates logroot_test.cpp)
target_include_directories(logroot_test PRIVATE ${MPFR_INCLUDE_DIR})
target_link_libraries(logroot_test PRIVATE ${MPFR_LIBRARY} ${GMP_LIBRARY})
# The kernels are compiled into the test as they are into the library.
target_compile_options(logroot_test PRIVATE -ffp-contract=off)
