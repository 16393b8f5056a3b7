// Entry points keep no state: threads calling all of them at once, each on
// its own argument vectors (outputs holding texts), get the results a
// single thread gets.
#include <gtest/gtest.h>

#include <thread>

#include "harness.h"
#include "reference/kinds.h"

namespace {

using namespace harness;

struct Call {
  EntryPoint entry;
  std::vector<V> args;
};

std::vector<Call> calls() {
  const std::int32_t numbers[] = {0, 1, 2, 5, 12, 1000, -7, 65536, 2147483647};
  const char* texts[] = {"101", " -42", "7apples", ""};
  std::vector<Call> all;
  for (const std::string& name : entryNames()) {
    std::size_t arity = name.size() - name.rfind('_') - 1;
    int out = outputIndex(name);
    for (std::size_t k = 0; k < std::size(numbers); ++k) {
      std::vector<V> args;
      for (std::size_t i = 0; i < arity; ++i) {
        if (int(i) == out)
          args.push_back(S("previous output"));
        else if (reference::readsText(name, i))
          args.push_back(S(texts[(k + i) % std::size(texts)]));
        else
          args.push_back(I(numbers[(k + 3 * i) % std::size(numbers)]));
      }
      all.push_back({entry(name), args});
    }
  }
  return all;
}

// Returns: every call's result and arguments afterwards, described as text.
std::vector<std::string> runAll(const std::vector<Call>& all) {
  std::vector<std::string> seen;
  for (const Call& call : all) {
    std::vector<CONSTANT> argv;
    for (const V& v : call.args) argv.push_back(v.make());
    std::string line = call.entry(argv.data()) ? "true" : "false";
    for (const CONSTANT& c : argv) line += " " + describe(c);
    seen.push_back(line);
  }
  return seen;
}

TEST(Concurrency, ThreadsSeeWhatOneThreadSees) {
  const std::vector<Call> all = calls();
  const std::vector<std::string> expected = runAll(all);
  const int threads = 4, rounds = 20;
  std::vector<int> mismatches(threads, 0);
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t)
    pool.emplace_back([&, t] {
      for (int r = 0; r < rounds; ++r)
        if (runAll(all) != expected) ++mismatches[t];
    });
  for (std::thread& thread : pool) thread.join();
  for (int t = 0; t < threads; ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
}

}  // namespace
