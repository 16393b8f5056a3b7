#include "harness.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <map>

namespace harness {

EntryPoint entry(const std::string& name) {
  static void* library = dlopen(MATH_N_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  static std::map<std::string, EntryPoint> found;
  if (!library) ADD_FAILURE() << "dlopen: " << dlerror();
  EntryPoint& at = found[name];
  if (!at && library) at = reinterpret_cast<EntryPoint>(dlsym(library, name.c_str()));
  if (!at) ADD_FAILURE() << "no exported entry point " << name;
  return at;
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
  std::size_t at = name.find('o', name.rfind('_'));
  return at == std::string::npos ? -1 : int(at - name.rfind('_') - 1);
}

CONSTANT V::make() const {
  if (kind == CONSTANT::Integer) return CONSTANT(number);
  if (kind == CONSTANT::String || kind == CONSTANT::Symbol)
    return CONSTANT(text.c_str(), kind == CONSTANT::String);
  return CONSTANT();
}

std::vector<CONSTANT> make(const std::vector<V>& args) {
  std::vector<CONSTANT> argv;
  for (const V& v : args) argv.push_back(v.make());
  return argv;
}

}  // namespace harness
