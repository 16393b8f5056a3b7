// Allocation accounting: this program replaces the global array allocation
// functions, so the library's new[] and delete[] come here too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <new>

#include "harness.h"
#include "reference/common.h"

namespace {

struct Ledger {
  bool tracking = false;
  long arrays = 0;        // array allocations while tracking
  long failAt = 0;        // the array allocation that throws (1-based), 0 for none
  long foreignFrees = 0;  // releases of arrays allocated before tracking began
  void* live[256] = {};
  int liveCount = 0;
} ledger;

void* allocate(std::size_t n) {
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}

// Tracks the allocations made while it lives; the failAt-th array allocation throws.
struct Window {
  explicit Window(long failAt = 0) { ledger = Ledger{true, 0, failAt}; }
  ~Window() { ledger.tracking = false; }
};

}  // namespace

void* operator new[](std::size_t n) {
  if (ledger.tracking && ++ledger.arrays == ledger.failAt) throw std::bad_alloc();
  void* p = allocate(n);
  if (ledger.tracking && ledger.liveCount < 256) ledger.live[ledger.liveCount++] = p;
  return p;
}
void operator delete[](void* p) noexcept {
  void** end = ledger.live + ledger.liveCount;
  if (void** at = std::find(ledger.live, end, p); p && ledger.tracking && at != end)
    *at = ledger.live[--ledger.liveCount];
  else if (p && ledger.tracking)
    ++ledger.foreignFrees;
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept { operator delete[](p); }

namespace {

using namespace harness;

// Every entry point on every vector of sample kinds and values. Nothing
// leaks: once the arguments are destroyed, every array the call made is
// released. And making its n-th allocation throw, for each n it makes: the
// failure propagates, the arguments it reads are unchanged, and destroying
// the arguments releases all.
TEST(Allocation, NothingLeaksAndAFailedAllocationFailsTheCall) {
  const std::vector<CONSTANT> samples = {I(0),  I(5),      I(-3),   I(INT32_MIN), I(2147483647), S("101"),
                                         S(""), S("-12x"), S("\""), Sym("a"),     Null};
  for (const std::string& name : entryNames) {
    const int out = outputIndex(name);
    const EntryPoint call = entry(name);
    std::vector<std::size_t> pick(reference::patternOf(name).size(), 0);
    for (std::size_t next = 0; next < pick.size();) {
      std::vector<CONSTANT> args;
      std::string trace = name;
      for (std::size_t i = 0; i < pick.size(); ++i) {
        args.push_back(samples[pick[i]]);
        trace += " " + reference::snapshot(args[i]);
      }
      SCOPED_TRACE(trace);
      long made = 0;  // the arrays the call makes when none fails
      for (long n = 0; n <= made; ++n) {
        std::vector<CONSTANT> argv = args;
        Window window(n);
        bool threw = false;
        try {
          call(argv.data());
        } catch (const std::bad_alloc&) {
          threw = true;
        }
        if (n == 0) made = ledger.arrays;
        ledger.tracking = false;  // the snapshots' own arrays are not the call's
        for (std::size_t i = 0; i < args.size(); ++i) {
          if (int(i) == out) continue;
          EXPECT_EQ(reference::snapshot(argv[i]), reference::snapshot(args[i])) << n;
        }
        ledger.tracking = true;
        argv.clear();
        EXPECT_EQ(threw, n > 0) << "allocation " << n;
        EXPECT_EQ(ledger.liveCount, 0) << "allocation " << n;
      }
      for (next = 0; next < pick.size() && ++pick[next] == samples.size(); ++next) pick[next] = 0;
    }
  }
}

TEST(Allocation, ConstantOperations) {
  CONSTANT text("abc", true), symbol("xyz", false), number(5);
  {
    Window window;
    CONSTANT& self = text;
    text = self;
    EXPECT_EQ(ledger.arrays + ledger.foreignFrees, 0) << "self-assignment allocates and releases nothing";
    symbol = text;
    EXPECT_EQ(ledger.arrays, 1);
    EXPECT_EQ(ledger.foreignFrees, 1) << "the symbol's text is released";
    symbol = number;
    EXPECT_EQ(ledger.liveCount, 0) << "assigning an Integer releases the copied text";
  }
  // Every allocating operation the entry points do not make, failing at its one allocation.
  const std::pair<const char*, std::function<void()>> operations[] = {
      {"copy constructor", [&] { CONSTANT c(text); }              },
      {"toQuotedString",   [&] { delete[] text.toQuotedString(); }},
      {"toSymbol",         [&] { delete[] text.toSymbol(); }      },
  };
  for (const auto& [what, operation] : operations) {
    Window window(1);
    EXPECT_THROW(operation(), std::bad_alloc) << what;
    EXPECT_EQ(ledger.liveCount, 0) << what;
  }
  CONSTANT target("old", true);
  Window window(1);
  EXPECT_THROW(target = text, std::bad_alloc);
  EXPECT_TRUE(target.isNull()) << "a failed assignment leaves a NullConst, safe to destroy";
  EXPECT_EQ(ledger.liveCount + ledger.foreignFrees, 1) << "the old text is released, once";
}

}  // namespace
