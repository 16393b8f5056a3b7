# Powers, factorials, gcd, lcm, combinations and permutations.
math_n_test(loops_test predicates loops_test.cpp)
# The literal loops at their full 2^31 steps take seconds natively; under
# qemu-i386 and the sanitizers they would take many minutes.
if(NOT CMAKE_CROSSCOMPILING AND NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
  target_compile_definitions(loops_test PRIVATE MATH_N_LOOPS_LONG=1)
endif()
