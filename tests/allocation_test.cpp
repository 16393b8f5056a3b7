// Allocation accounting: this program replaces the global allocation
// functions, so the library's new[] and delete[] come here too. Nothing may
// leak, and a failed allocation at any point must propagate and leave every
// argument safe to destroy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <new>

#include "harness.h"
#include "reference/kinds.h"

namespace {

struct Ledger {
  bool tracking = false;
  long arrays = 0;        // array allocations while tracking
  long scalars = 0;       // scalar allocations while tracking
  long failAt = 0;        // the array allocation that throws (1-based), 0 for none
  long foreignFrees = 0;  // releases of arrays allocated before tracking began
  void* live[256] = {};
  int liveCount = 0;
} ledger;

void* allocate(std::size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  return p;
}

}  // namespace

void* operator new[](std::size_t n) {
  if (!ledger.tracking) return allocate(n);
  if (++ledger.arrays == ledger.failAt) throw std::bad_alloc();
  void* p = allocate(n);
  if (ledger.liveCount < 256) ledger.live[ledger.liveCount++] = p;
  return p;
}
void operator delete[](void* p) noexcept {
  if (p && ledger.tracking) {
    void** end = ledger.live + ledger.liveCount;
    if (void** at = std::find(ledger.live, end, p); at != end)
      *at = ledger.live[--ledger.liveCount];
    else
      ++ledger.foreignFrees;
  }
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept { operator delete[](p); }
void* operator new(std::size_t n) {
  ledger.scalars += ledger.tracking;
  return allocate(n);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace harness;

struct Window {
  explicit Window(long failAt = 0) {
    ledger = Ledger();
    ledger.failAt = failAt;
    ledger.tracking = true;
  }
  ~Window() { ledger.tracking = false; }
};

// Calls `body` on every vector of sample values for the arity of `name`.
void forEachVector(const std::string& name, const std::function<void(const std::vector<V>&)>& body) {
  static const std::vector<V> samples = {I(0),  I(5),      I(-3),   I(INT32_MIN), I(2147483647), S("101"),
                                         S(""), S("-12x"), S("\""), Sym("a"),     Null};
  std::vector<std::size_t> pick(reference::patternOf(name).size(), 0);
  for (std::size_t i = 0; i < pick.size();) {
    std::vector<V> args;
    for (std::size_t k : pick) args.push_back(samples[k]);
    body(args);
    for (i = 0; i < pick.size() && ++pick[i] == samples.size(); ++i) pick[i] = 0;
  }
}

// Every entry point on every vector of sample kinds and values: a call
// makes exactly the convention's arrays, one per text read (once every kind
// test has passed) and two per delivered text (the temporary and the
// output's copy); it leaves only the delivered text and releases the
// output's old one. Then, making its n-th allocation throw, for every n it
// makes: the failure propagates, and destroying the arguments releases all.
TEST(Allocation, EntryPointsMakeOnlyTheConventionsArraysAndSurviveTheirFailure) {
  for (const std::string& name : entryNames()) {
    const int out = outputIndex(name);
    const EntryPoint call = entry(name);
    forEachVector(name, [&](const std::vector<V>& args) {
      std::vector<CONSTANT> argv = make(args);
      std::string trace = name;
      for (const CONSTANT& c : argv) trace += " " + reference::snapshot(c);
      SCOPED_TRACE(trace);
      long textsRead = 0;
      bool kindsPass = true;
      for (std::size_t i = 0; i < args.size(); ++i) {
        if (int(i) == out) continue;
        bool text = reference::readsText(name, i);
        kindsPass = kindsPass && args[i].kind == (text ? CONSTANT::String : CONSTANT::Integer);
        textsRead += text;
      }
      const bool oldText =
          out >= 0 && (args[out].kind == CONSTANT::String || args[out].kind == CONSTANT::Symbol);
      long made;
      {
        Window window;
        const bool result = call(argv.data());
        const bool deliveredText = result && out >= 0 && argv[out].isString();
        made = ledger.arrays;
        EXPECT_EQ(made, (kindsPass ? textsRead : 0) + (deliveredText ? 2 : 0));
        EXPECT_EQ(ledger.liveCount, deliveredText ? 1 : 0);
        EXPECT_EQ(ledger.foreignFrees, result && out >= 0 && oldText ? 1 : 0);
        EXPECT_EQ(ledger.scalars, 0) << "scalar new";
      }
      for (long n = 1; n <= made; ++n) {
        bool threw = false;
        std::vector<CONSTANT> argv = make(args);
        Window window(n);
        try {
          call(argv.data());
        } catch (const std::bad_alloc&) {
          threw = true;
        }
        argv.clear();
        EXPECT_TRUE(threw && ledger.liveCount == 0) << "allocation " << n;
      }
    });
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
  // Every allocating operation, failing at its one allocation.
  const std::vector<std::pair<const char*, std::function<void()>>> operations = {
      {"text constructor", [] { CONSTANT c("abc", true); }        },
      {"copy constructor", [&] { CONSTANT c(text); }              },
      {"toString",         [&] { delete[] text.toString(); }      },
      {"toQuotedString",   [&] { delete[] text.toQuotedString(); }},
      {"toSymbol",         [&] { delete[] text.toSymbol(); }      },
      {"assignment",
       [&] {
         CONSTANT target("old", true);
         try {
           target = text;
         } catch (...) {
           EXPECT_TRUE(target.isNull()) << "a failed assignment leaves a NullConst";
           throw;
         }
       }                                                          },
  };
  for (const auto& [what, operation] : operations) {
    // The assignment's target makes the first allocation; its copy the second.
    Window window(what == std::string("assignment") ? 2 : 1);
    EXPECT_THROW(operation(), std::bad_alloc) << what;
    EXPECT_EQ(ledger.liveCount, 0) << what;
  }
}

}  // namespace
