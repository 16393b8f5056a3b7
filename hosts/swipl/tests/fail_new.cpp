// Preloaded by the out_of_memory test: new[] of the size named by
// MATH_N_FAIL_NEW_SIZE throws std::bad_alloc, as it does when memory runs
// out. Every new[] and delete[] of the process then goes through here.
#include <cstdlib>
#include <new>

void* operator new[](std::size_t size) {
  static const char* failing = std::getenv("MATH_N_FAIL_NEW_SIZE");
  if (failing && size == std::strtoull(failing, nullptr, 10)) throw std::bad_alloc();
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}

void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
