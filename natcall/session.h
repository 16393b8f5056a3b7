// Evaluation of atoms through the library's entry points, found by name
// with dlsym as a rules host finds them.
#ifndef NATCALL_SESSION_H
#define NATCALL_SESSION_H

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "atom.h"
#include "extpred.h"

namespace natcall {

using EntryPoint = bool (*)(CONSTANT*);

class Library {
 public:
  // Opens the shared object at `path`, or, for an empty path, the copy of
  // the library that natcall is linked with. Returns false with the
  // loader's message in `error`.
  bool open(const std::string& path, std::string& error);
  ~Library();

  EntryPoint find(const std::string& name) const;
  // The patterns of `predicate` with `arity` arguments that the library
  // exports: the all-'i' one and those with one 'o', in that order.
  std::vector<std::string> patterns(std::string_view predicate, std::size_t arity) const;

 private:
  void* handle_ = nullptr;
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
  std::vector<CONSTANT> argv_;
};

}  // namespace natcall

#endif
