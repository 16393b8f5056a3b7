// The foreign part of library(math_n): one Prolog predicate per predicate of
// the registry. A call picks the entry point from which arguments are bound,
// hands the bound ones over as CONSTANTs and unifies the open one with what
// the entry point delivered.
#include <SWI-Prolog.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "registry.h"

namespace {

using namespace math_n_host;

// error(existence_error(entry_point, multNat_oii), context(math_n:multNat/3,
// Message)): print_message/2 shows the message, which names the patterns
// the library offers, as natcall does.
int raiseNoPattern(const Predicate& predicate, int open) {
  std::string entry = std::string(predicate.name) + '_' + patternOf(predicate, open);
  std::string message =
      std::string(predicate.name) + '/' + std::to_string(predicate.arity) + " offers the patterns";
  const char* separator = " ";
  for (const std::string& pattern : offeredPatterns(predicate)) {
    message += separator + pattern;
    separator = ", ";
  }
  term_t error = PL_new_term_ref();
  return PL_unify_term(error, PL_FUNCTOR_CHARS, "error", 2, PL_FUNCTOR_CHARS, "existence_error", 2, PL_CHARS,
                       "entry_point", PL_CHARS, entry.c_str(), PL_FUNCTOR_CHARS, "context", 2,
                       PL_FUNCTOR_CHARS, ":", 2, PL_CHARS, "math_n", PL_FUNCTOR_CHARS, "/", 2, PL_CHARS,
                       predicate.name, PL_INT, predicate.arity, PL_CHARS, message.c_str()) &&
         PL_raise_exception(error);
}

bool isPlainAscii(const char* text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i)
    if (text[i] == '\0' || static_cast<unsigned char>(text[i]) >= 0x80) return false;
  return true;
}

// Adds the value of a bound argument; false with a Prolog exception raised
// where no value can hold the term.
bool addValue(Arguments& argv, term_t term, int type, bool isText) {
  switch (type) {
    case PL_INTEGER: {
      int value;
      if (!PL_get_integer_ex(term, &value)) return false;
      argv.add(value);
      return true;
    }
    case PL_ATOM:
    case PL_STRING: {
      bool isString = type == PL_STRING;
      char* text;
      std::size_t length;
      // A text of ASCII characters other than NUL is its own UTF-8 form,
      // read in place; any other is converted.
      bool inPlace =
          isString ? PL_get_string_chars(term, &text, &length) : PL_get_atom_nchars(term, &length, &text);
      if (!inPlace || !isPlainAscii(text, length)) {
        if (!PL_get_nchars(term, &length, &text,
                           CVT_ATOM | CVT_STRING | REP_UTF8 | BUF_STACK | CVT_EXCEPTION))
          return false;
        if (std::strlen(text) != length) return PL_domain_error("text_without_nul", term);
      }
      // The text constructor keeps a text that begins with a quote as it
      // is: such a String goes over in its quoted form.
      if (isString && text[0] == '"') {
        std::unique_ptr<char[]> quoted(new char[length + 3]);
        quoted[0] = '"';
        std::memcpy(quoted.get() + 1, text, length);
        std::memcpy(quoted.get() + length + 1, "\"", 2);
        argv.add(quoted.get(), true);
      } else {
        argv.add(text, isString);
      }
      return true;
    }
    default:
      return PL_type_error(isText ? "string" : "integer", term);
  }
}

bool deliver(term_t term, const CONSTANT& value) {
  if (value.isInt()) return PL_unify_integer(term, value.toInt());
  std::unique_ptr<const char[]> text(value.toString());
  std::size_t length = 0;
  bool ascii = true;
  for (; text[length]; ++length) ascii = ascii && static_cast<unsigned char>(text[length]) < 0x80;
  // The same string either way; the plain path skips decoding.
  if (ascii) return PL_unify_string_nchars(term, length, text.get());
  return PL_unify_chars(term, PL_STRING | REP_UTF8, length, text.get());
}

foreign_t evaluate(const Predicate& predicate, term_t t0) noexcept {
  try {
    int open = predicate.arity;
    int types[maxArity];
    for (int i = 0; i < predicate.arity; ++i) {
      types[i] = PL_term_type(t0 + i);
      if (types[i] != PL_VARIABLE) continue;
      if (open != predicate.arity) return PL_instantiation_error(t0 + i);
      open = i;
    }
    EntryPoint entry = predicate.byOpen[open];
    if (!entry) return raiseNoPattern(predicate, open);
    Arguments argv;
    for (int i = 0; i < predicate.arity; ++i) {
      if (i == open)
        argv.add();
      else if (!addValue(argv, t0 + i, types[i], predicate.isText[i]))
        return false;
    }
    if (!entry(argv.data())) return false;
    return open == predicate.arity || deliver(t0 + open, argv.data()[open]);
  } catch (const std::bad_alloc&) {
    return PL_resource_error("memory");
  }
}

template <std::size_t P>
foreign_t call(term_t t0, int, control_t) {
  return evaluate(predicates[P], t0);
}

template <std::size_t... P>
void registerAll(std::index_sequence<P...>) {
  (PL_register_foreign_in_module("math_n", predicates[P].name, predicates[P].arity,
                                 reinterpret_cast<pl_function_t>(&call<P>), PL_FA_VARARGS),
   ...);
}

}  // namespace

// Found by name when library(math_n) loads this object.
extern "C" __attribute__((visibility("default"))) install_t install_math_n() {
  registerAll(std::make_index_sequence<predicates.size()>());
}
