#include "session.h"

#include <dlfcn.h>

#include <charconv>

namespace natcall {

std::optional<Library> Library::open(const std::string& path, std::string& error) {
  void* handle;
  if (path.empty()) {
    // Already loaded as natcall's own dependency: this finds that copy
    // instead of guessing where the dynamic loader took it from.
    handle = dlopen(NATCALL_LIBRARY_SONAME, RTLD_NOW | RTLD_NOLOAD);
  } else {
    // A name without a slash would be searched for on the library path.
    std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  if (!handle) {
    const char* message = dlerror();
    error = message ? message : "unknown loader error";
    return std::nullopt;
  }
  return Library(handle);
}

Library::~Library() {
  if (handle_) dlclose(handle_);
}

EntryPoint Library::find(const std::string& name) const {
  // A moved-from owner has no handle, and dlsym would search everything.
  if (!handle_) return nullptr;
  return reinterpret_cast<EntryPoint>(dlsym(handle_, name.c_str()));
}

std::vector<std::string> Library::patterns(std::string_view predicate, std::size_t arity) const {
  std::vector<std::string> offered;
  std::string pattern(arity, 'i');
  for (std::size_t out = arity + 1; out-- > 0;) {
    if (out < arity) pattern[out] = 'o';
    if (find(std::string(predicate) + '_' + pattern)) offered.push_back(pattern);
    if (out < arity) pattern[out] = 'i';
  }
  return offered;
}

const std::vector<Predicate>& knownPredicates() {
  static const std::vector<Predicate> known = [] {
    std::vector<Predicate> list;
    auto add = [&list](std::string_view name, std::string_view pattern) {
      if (list.empty() || list.back().name != name) list.push_back({name, pattern.size()});
    };
#define ENTRY_POINT(predicate, pattern, ...) add(#predicate, #pattern);
#include "entry_points.def"
#undef ENTRY_POINT
    return list;
  }();
  return known;
}

namespace {

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : ", ") + word;
  return text;
}

}  // namespace

EntryPoint Session::lookup(const Atom& atom, std::string& error) {
  key_.assign(atom.predicate);
  key_ += '_';
  for (const Term& term : atom.args) key_ += term.kind == Term::Variable ? 'o' : 'i';
  if (auto at = found_.find(key_); at != found_.end()) return at->second;
  if (EntryPoint entry = library_.find(key_)) return found_[key_] = entry;

  std::string pattern = key_.substr(atom.predicate.size() + 1);
  std::vector<std::string> offered = library_.patterns(atom.predicate, atom.args.size());
  if (offered.empty()) {
    for (const Predicate& known : knownPredicates()) {
      if (known.name != atom.predicate) continue;
      if (known.arity != atom.args.size()) {
        error = atom.predicate + " takes " + std::to_string(known.arity) + " arguments, not " +
                std::to_string(atom.args.size());
      } else {
        error = atom.predicate + " has no entry point for pattern " + pattern +
                "; the library offers none for it";
      }
      return nullptr;
    }
    error = "unknown predicate " + atom.predicate + "/" + std::to_string(atom.args.size());
  } else {
    error = atom.predicate + " has no entry point for pattern " + pattern + "; it offers " + joined(offered);
  }
  return nullptr;
}

Outcome Session::evaluate(const Atom& atom, std::string& out, std::string& error) {
  int arity = int(atom.args.size());
  int output = arity;
  for (int i = 0; i < arity; ++i) {
    if (atom.args[i].kind != Term::Variable) continue;
    if (output != arity) {
      error = "more than one variable (" + atom.args[output].text + ", " + atom.args[i].text +
              "); an entry point computes at most one argument";
      return Outcome::error;
    }
    output = i;
  }
  EntryPoint entry = lookup(atom, error);
  if (!entry) return Outcome::error;
  if (arity > math_n_host::maxArity) {
    error = atom.predicate + " takes " + std::to_string(arity) + " arguments; natcall passes at most " +
            std::to_string(math_n_host::maxArity);
    return Outcome::error;
  }

  using math_n_host::Given;
  Given given[math_n_host::maxArity];
  for (int i = 0; i < arity; ++i) {
    const Term& term = atom.args[i];
    switch (term.kind) {
      case Term::Integer:
        given[i] = Given::integer(term.number);
        break;
      case Term::String:
        given[i] = Given::string(term.text.c_str(), term.text.size());
        break;
      case Term::Symbol:
        given[i] = Given::symbol(term.text.c_str(), term.text.size());
        break;
      case Term::Variable:
        given[i] = Given::open();
        break;
    }
  }
  // The reader lets no NUL into a text nor a number beyond 32 bits, and the
  // entry point was found by its pattern: only the library's answer and
  // memory remain.
  math_n_host::Answer answer = math_n_host::call(entry, arity, output, given);
  switch (answer.kind) {
    case math_n_host::Answer::Fails:
      out += "false";
      return Outcome::fails;
    case math_n_host::Answer::Number:
    case math_n_host::Answer::Text:
      if (atom.args[output].text != "_") {
        out += atom.args[output].text;
        out += " = ";
        if (answer.kind == math_n_host::Answer::Text) {
          appendQuoted(out, std::string_view(answer.text.get(), answer.length));
        } else {
          char digits[12];
          out.append(digits, std::to_chars(digits, digits + sizeof digits, answer.number).ptr);
        }
        return Outcome::succeeds;
      }
      [[fallthrough]];
    case math_n_host::Answer::Holds:
      out += "true";
      return Outcome::succeeds;
    default:
      error = "out of memory";
      return Outcome::error;
  }
}

}  // namespace natcall
