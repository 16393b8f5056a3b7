// Evaluation of atoms through the library's entry points, found by name
// with dlsym as a rules host finds them.
#ifndef NATCALL_SESSION_H
#define NATCALL_SESSION_H

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "atom.h"
#include "core.h"

namespace natcall {

using math_n_host::EntryPoint;

// Owns a loaded library: one owner at a time, so the handle is closed once,
// and there is none to use until a load has succeeded.
class Library {
 public:
  // Loads the shared object at `path`, or, for an empty path, the copy of
  // the library that natcall is linked with. Returns nothing, with the
  // loader's message in `error`, when it cannot be loaded.
  static std::optional<Library> open(const std::string& path, std::string& error);
  Library(Library&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Library& operator=(Library&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  ~Library();

  EntryPoint find(const std::string& name) const;
  // The patterns of `predicate` with `arity` arguments that the library
  // exports: the all-'i' one and those with one 'o', in that order.
  std::vector<std::string> patterns(std::string_view predicate, std::size_t arity) const;

 private:
  explicit Library(void* handle) : handle_(handle) {}
  void* handle_;
};

// The predicates natcall knows by name, with their arities, in list order.
struct Predicate {
  std::string_view name;
  std::size_t arity;
};
const std::vector<Predicate>& knownPredicates();

enum class Outcome { succeeds = 0, fails = 1, error = 2 };

class Session {
 public:
  explicit Session(const Library& library) : library_(library) {}

  // Evaluates `atom` and appends its one line of output (without the line
  // end) to `out`, or sets `error` and returns Outcome::error.
  Outcome evaluate(const Atom& atom, std::string& out, std::string& error);

 private:
  EntryPoint lookup(const Atom& atom, std::string& error);

  const Library& library_;
  std::unordered_map<std::string, EntryPoint> found_;
  std::string key_;
};

}  // namespace natcall

#endif
