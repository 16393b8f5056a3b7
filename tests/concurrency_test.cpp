// Entry points keep no state: threads calling all of them at once, each on
// its own argument vectors (outputs holding texts), see what one thread sees.
#include <gtest/gtest.h>

#include <thread>

#include "harness.h"
#include "reference/kinds.h"

namespace {

using namespace harness;

// Returns: every call's result and arguments afterwards, as text.
std::vector<std::string> runAll() {
  const std::int32_t numbers[] = {0, 1, 2, 5, 12, 1000, -7, 65536, 2147483647};
  const char* texts[] = {"101", " -42", "7apples", ""};
  std::vector<std::string> seen;
  for (const std::string& name : entryNames())
    for (std::size_t k = 0; k < std::size(numbers); ++k) {
      std::vector<CONSTANT> argv;
      for (std::size_t i = 0; i < reference::patternOf(name).size(); ++i)
        argv.push_back(int(i) == outputIndex(name)     ? CONSTANT("previous output", true)
                       : reference::readsText(name, i) ? CONSTANT(texts[(k + i) % std::size(texts)], true)
                                                       : CONSTANT(numbers[(k + 3 * i) % std::size(numbers)]));
      std::string line = entry(name)(argv.data()) ? "true" : "false";
      for (const CONSTANT& c : argv) line += " " + reference::snapshot(c);
      seen.push_back(line);
    }
  return seen;
}

TEST(Concurrency, ThreadsSeeWhatOneThreadSees) {
  const std::vector<std::string> expected = runAll();
  int mismatches[4] = {};
  std::vector<std::thread> pool;
  for (int& count : mismatches)
    pool.emplace_back([&] {
      for (int round = 0; round < 20; ++round) count += runAll() != expected;
    });
  for (std::thread& thread : pool) thread.join();
  for (int count : mismatches) EXPECT_EQ(count, 0);
}

}  // namespace
