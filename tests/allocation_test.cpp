// Allocation accounting: this program replaces the global allocation
// functions, so the library's new[] and delete[] come here too. Nothing may
// leak, and a failed allocation at any point must propagate and leave every
// argument safe to destroy.
#include <gtest/gtest.h>

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
  long foreignFrees = 0;  // releases of texts allocated before tracking began
  static constexpr int capacity = 256;
  void* live[capacity] = {};
  int liveCount = 0;

  void add(void* p) {
    if (liveCount < capacity) live[liveCount++] = p;
  }
  bool remove(void* p) {
    for (int i = 0; i < liveCount; ++i)
      if (live[i] == p) {
        live[i] = live[--liveCount];
        return true;
      }
    return false;
  }
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
  ledger.add(p);
  return p;
}
void operator delete[](void* p) noexcept {
  if (p && ledger.tracking && !ledger.remove(p)) ++ledger.foreignFrees;
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept { operator delete[](p); }
void* operator new(std::size_t n) {
  if (ledger.tracking) ++ledger.scalars;
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

// Argument values of every kind, texts of odd shape included.
const std::vector<V> samples = {I(0),  I(5),      I(-3),   I(INT32_MIN), I(2147483647), S("101"),
                                S(""), S("-12x"), S("\""), Sym("a"),     Null};

void forEachVector(const std::string& name, const std::function<void(const std::vector<V>&)>& body) {
  std::size_t arity = name.size() - name.rfind('_') - 1;
  std::vector<std::size_t> pick(arity, 0);
  for (;;) {
    std::vector<V> args;
    for (std::size_t i = 0; i < arity; ++i) args.push_back(samples[pick[i]]);
    body(args);
    std::size_t i = 0;
    while (i < arity && ++pick[i] == samples.size()) pick[i++] = 0;
    if (i == arity) return;
  }
}

// Every entry point on every vector of sample kinds and values: a call
// leaves allocated only the delivered text, and releases the output's old one.
TEST(Allocation, EntryPointsLeakNothing) {
  for (const std::string& name : entryNames()) {
    EntryPoint call = entry(name);
    ASSERT_TRUE(call);
    int out = outputIndex(name);
    forEachVector(name, [&](const std::vector<V>& args) {
      std::vector<CONSTANT> argv;
      for (const V& v : args) argv.push_back(v.make());
      bool result;
      long left, released, scalars, arrays;
      {
        Window window;
        result = call(argv.data());
        left = ledger.liveCount;
        released = ledger.foreignFrees;
        scalars = ledger.scalars;
        arrays = ledger.arrays;
      }
      // The convention's arrays only: one per text read (once every kind
      // test has passed) and two per delivered text (the temporary and the
      // output's copy).
      long textsRead = 0;
      bool kindsPass = true;
      for (std::size_t i = 0; i < args.size(); ++i) {
        if (int(i) == out) continue;
        bool text = reference::readsText(name, i);
        kindsPass = kindsPass && args[i].kind == (text ? CONSTANT::String : CONSTANT::Integer);
        textsRead += text;
      }
      bool delivered = result && out >= 0;
      bool oldText = out >= 0 && (args[out].kind == CONSTANT::String || args[out].kind == CONSTANT::Symbol);
      EXPECT_EQ(left, delivered && argv[out].isString() ? 1 : 0) << name;
      EXPECT_EQ(released, delivered && oldText ? 1 : 0) << name;
      EXPECT_EQ(scalars, 0) << name << " uses scalar new";
      EXPECT_EQ(arrays, (kindsPass ? textsRead : 0) + (delivered && argv[out].isString() ? 2 : 0)) << name;
    });
  }
}

// Making the n-th allocation of a call throw, for every n it makes: the
// failure propagates, and destroying the arguments then releases everything.
TEST(Allocation, FailedAllocationsPropagateAndLeakNothing) {
  for (const std::string& name : entryNames()) {
    EntryPoint call = entry(name);
    ASSERT_TRUE(call);
    forEachVector(name, [&](const std::vector<V>& args) {
      long made;
      {
        std::vector<CONSTANT> argv;
        for (const V& v : args) argv.push_back(v.make());
        Window window;
        call(argv.data());
        made = ledger.arrays;
      }
      for (long n = 1; n <= made; ++n) {
        bool threw = false;
        long left;
        {
          std::vector<CONSTANT> argv;
          for (const V& v : args) argv.push_back(v.make());
          Window window(n);
          try {
            call(argv.data());
          } catch (const std::bad_alloc&) {
            threw = true;
          }
          argv.clear();
          left = ledger.liveCount;
        }
        EXPECT_TRUE(threw) << name << ", allocation " << n;
        EXPECT_EQ(left, 0) << name << ", allocation " << n;
      }
    });
  }
}

// A soak of the twelve conversions, their outputs overwritten by every
// call: afterwards only the texts the arguments hold are allocated.
TEST(Allocation, SoakOfTheConversionsLeavesOnlyTheDeliveredTexts) {
  const std::vector<std::pair<std::string, std::vector<V>>> soaks = {
      {"s2nNat_ii", {S(" -42x"), I(-42)}  },
      {"s2nNat_io", {S("123"), S("old")}  },
      {"s2nNat_oi", {Null, I(-2147483647)}},
      {"n2sNat_ii", {I(7), S("007")}      },
      {"n2sNat_io", {I(99), Null}         },
      {"n2sNat_oi", {S("old"), S("+5")}   },
      {"b2dNat_ii", {S("101"), I(5)}      },
      {"b2dNat_io", {S("1101"), Null}     },
      {"b2dNat_oi", {Null, I(-1)}         },
      {"d2bNat_ii", {I(5), S("0101")}     },
      {"d2bNat_io", {I(INT32_MIN), Null}  },
      {"d2bNat_oi", {Null, S("111")}      },
  };
  std::vector<std::vector<CONSTANT>> argvs;
  std::vector<EntryPoint> calls;
  for (const auto& [name, args] : soaks) {
    calls.push_back(entry(name));
    argvs.emplace_back();
    for (const V& v : args) argvs.back().push_back(v.make());
  }
  long texts;
  {
    Window window;
    for (int round = 0; round < 250000; ++round)
      for (std::size_t i = 0; i < soaks.size(); ++i) calls[i](argvs[i].data());
    texts = ledger.liveCount;
  }
  // Outputs that end up holding a delivered text: one live array each.
  long delivered = 0;
  for (std::size_t i = 0; i < soaks.size(); ++i)
    if (outputIndex(soaks[i].first) >= 0 && argvs[i][outputIndex(soaks[i].first)].isString()) ++delivered;
  EXPECT_EQ(texts, delivered);
}

TEST(Allocation, ConstantOperations) {
  CONSTANT text("abc", true), symbol("xyz", false), number(5);
  {
    Window window;
    CONSTANT& self = text;
    text = self;
    EXPECT_EQ(ledger.arrays, 0) << "self-assignment allocates nothing";
    EXPECT_EQ(ledger.foreignFrees, 0) << "self-assignment releases nothing";
  }
  {
    Window window;
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
