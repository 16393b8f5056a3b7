#include "harness.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>

namespace harness {
namespace {

void* library() {
  static void* handle = [] {
    void* h = dlopen(MATH_N_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!h) ADD_FAILURE() << "dlopen: " << dlerror();
    return h;
  }();
  return handle;
}

struct Vector {
  std::vector<CONSTANT> values;
  explicit Vector(const std::vector<V>& args) {
    values.reserve(args.size());
    for (const V& v : args) values.push_back(v.make());
  }
};

}  // namespace

EntryPoint entry(const std::string& name) {
  static std::map<std::string, EntryPoint> found;
  if (auto at = found.find(name); at != found.end()) return at->second;
  void* h = library();
  void* symbol = h ? dlsym(h, name.c_str()) : nullptr;
  if (!symbol) ADD_FAILURE() << "no exported entry point " << name;
  return found[name] = reinterpret_cast<EntryPoint>(symbol);
}

const std::vector<std::string>& entryNames() {
  static const std::vector<std::string> names = {
#define ENTRY_POINT(predicate, pattern) #predicate "_" #pattern,
#include "entry_points.def"
#undef ENTRY_POINT
  };
  return names;
}

int outputIndex(const std::string& name) {
  std::string pattern = name.substr(name.rfind('_') + 1);
  auto at = pattern.find('o');
  return at == std::string::npos ? -1 : int(at);
}

V I(std::int32_t n) { return {CONSTANT::Integer, n, {}}; }
V S(std::string text) { return {CONSTANT::String, 0, std::move(text)}; }
V Sym(std::string text) { return {CONSTANT::Symbol, 0, std::move(text)}; }

CONSTANT V::make() const {
  switch (kind) {
    case CONSTANT::Integer:
      return CONSTANT(number);
    case CONSTANT::String:
      return CONSTANT(text.c_str(), true);
    case CONSTANT::Symbol:
      return CONSTANT(text.c_str(), false);
    default:
      return CONSTANT();
  }
}

std::string V::stored() const {
  if (kind == CONSTANT::String && (text.empty() || text[0] != '"')) return "\"" + text + "\"";
  return text;
}

bool V::matches(const CONSTANT& c) const {
  if (c.getType() != kind) return false;
  if (kind == CONSTANT::Integer) return c.toInt() == number;
  if (kind == CONSTANT::String || kind == CONSTANT::Symbol) {
    std::unique_ptr<const char[]> text(c.toQuotedString());
    return stored() == text.get();
  }
  return true;
}

std::string V::describe() const {
  switch (kind) {
    case CONSTANT::Integer:
      return std::to_string(number);
    case CONSTANT::String:
      return "String " + stored();
    case CONSTANT::Symbol:
      return "Symbol " + text;
    default:
      return "NullConst";
  }
}

std::string describe(const CONSTANT& c) {
  switch (c.getType()) {
    case CONSTANT::Integer:
      return std::to_string(c.toInt());
    case CONSTANT::String:
    case CONSTANT::Symbol: {
      std::unique_ptr<const char[]> text(c.toQuotedString());
      return (c.isString() ? "String " : "Symbol ") + std::string(text.get());
    }
    default:
      return "NullConst";
  }
}

void checkRow(const Row& row) {
  std::ostringstream name;
  name << row.entry << "(";
  for (std::size_t i = 0; i < row.args.size(); ++i) name << (i ? ", " : "") << row.args[i].describe();
  name << ")";
  SCOPED_TRACE(name.str());
  EntryPoint call = entry(row.entry);
  if (!call) return;
  Vector argv(row.args);
  bool result = call(argv.values.data());
  int out = outputIndex(row.entry);
  EXPECT_EQ(result, row.expect.what != Expect::fails);
  for (std::size_t i = 0; i < row.args.size(); ++i) {
    const V& want = result && int(i) == out ? row.expect.value : row.args[i];
    EXPECT_TRUE(want.matches(argv.values[i]))
        << "argument " << i << " is " << describe(argv.values[i]) << ", expected " << want.describe();
  }
  if (row.expect.what == Expect::gives) EXPECT_GE(out, 0) << "a check-mode entry point delivers nothing";
}

std::optional<std::int32_t> compute(const std::string& name, std::vector<std::int32_t> inputs) {
  EntryPoint call = entry(name);
  int out = outputIndex(name);
  std::vector<CONSTANT> argv;
  for (std::size_t i = 0, n = 0; i <= inputs.size(); ++i)
    argv.push_back(int(i) == out ? CONSTANT() : CONSTANT(inputs.at(n++)));
  if (!call || !call(argv.data())) return std::nullopt;
  EXPECT_TRUE(argv[out].isInt()) << name << " delivered " << describe(argv[out]);
  return argv[out].toInt();
}

bool check(const std::string& name, std::vector<std::int32_t> args) {
  EntryPoint call = entry(name);
  std::vector<CONSTANT> argv(args.begin(), args.end());
  return call && call(argv.data());
}

}  // namespace harness
