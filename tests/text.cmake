# Tests of the decimal and binary text conversions.
find_package(Threads REQUIRED)
math_n_test(text_test text text_test.cpp)
target_link_libraries(text_test PRIVATE Threads::Threads)
# The sweep over every 32-bit number runs only where it takes seconds: the
# native release build, not under qemu or the sanitizers.
if(NOT CMAKE_CROSSCOMPILING AND CMAKE_BUILD_TYPE STREQUAL "Release")
  target_compile_definitions(text_test PRIVATE MATH_N_TEXT_EXHAUSTIVE)
endif()
