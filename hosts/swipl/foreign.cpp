// The foreign part of library(math_n): one Prolog predicate per predicate of
// the registry. A call picks the entry point from which arguments are bound,
// hands the bound ones over as CONSTANTs and unifies the open one with what
// the entry point delivered.
#include <SWI-Prolog.h>

#include <cstdint>
#include <string>
#include <utility>

#include "core.h"

namespace {

using namespace math_n_host;

// error(existence_error(entry_point, multNat_oii), context(math_n:multNat/3,
// Message)): print_message/2 shows the message, which names the patterns
// the library offers.
int raiseNoPattern(const Predicate& predicate, const Given* given) {
  std::string pattern = spelledPattern(given, predicate.arity);
  std::string entry = std::string(predicate.name) + '_' + pattern;
  std::string message = noPatternMessage(predicate, pattern);
  term_t error = PL_new_term_ref();
  return PL_unify_term(error, PL_FUNCTOR_CHARS, "error", 2, PL_FUNCTOR_CHARS, "existence_error", 2, PL_CHARS,
                       "entry_point", PL_CHARS, entry.c_str(), PL_FUNCTOR_CHARS, "context", 2,
                       PL_FUNCTOR_CHARS, ":", 2, PL_CHARS, "math_n", PL_FUNCTOR_CHARS, "/", 2, PL_CHARS,
                       predicate.name, PL_INT, predicate.arity, PL_CHARS, message.c_str()) &&
         PL_raise_exception(error);
}

bool isAscii(const char* text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
  return true;
}

// The bound argument `term` as a given value; false with a Prolog exception
// raised where no value can hold the term.
bool given(term_t term, int type, bool isText, Given& value) {
  switch (type) {
    case PL_INTEGER: {
      std::int64_t number;
      // Beyond 64 bits is beyond 32 bits too.
      value = Given::integer(PL_get_int64(term, &number) ? number : INT64_MAX);
      return true;
    }
    case PL_ATOM:
    case PL_STRING: {
      bool isString = type == PL_STRING;
      char* text;
      std::size_t length;
      // A text of ASCII characters is its own UTF-8 form, read in place;
      // any other is converted.
      bool inPlace =
          isString ? PL_get_string_chars(term, &text, &length) : PL_get_atom_nchars(term, &length, &text);
      if ((!inPlace || !isAscii(text, length)) &&
          !PL_get_nchars(term, &length, &text, CVT_ATOM | CVT_STRING | REP_UTF8 | BUF_STACK | CVT_EXCEPTION))
        return false;
      value = isString ? Given::string(text, length) : Given::symbol(text, length);
      return true;
    }
    default:
      return PL_type_error(isText ? "string" : "integer", term);
  }
}

bool deliver(term_t term, const Answer& answer) {
  if (answer.kind == Answer::Number) return PL_unify_integer(term, answer.number);
  // The same string either way; the plain path skips decoding.
  if (isAscii(answer.text.get(), answer.length))
    return PL_unify_string_nchars(term, answer.length, answer.text.get());
  return PL_unify_chars(term, PL_STRING | REP_UTF8, answer.length, answer.text.get());
}

foreign_t evaluate(const Predicate& predicate, term_t t0) noexcept {
  Given values[maxArity];
  int open = predicate.arity;
  for (int i = 0; i < predicate.arity; ++i) {
    int type = PL_term_type(t0 + i);
    if (type == PL_VARIABLE) {
      if (open != predicate.arity) return PL_instantiation_error(t0 + i);
      open = i;
      values[i] = Given::open();
    } else if (!given(t0 + i, type, predicate.isText[i], values[i])) {
      return false;
    }
  }
  Answer answer = call(predicate, open, values);
  switch (answer.kind) {
    case Answer::Fails:
      return false;
    case Answer::Holds:
      return true;
    case Answer::Number:
    case Answer::Text:
      return deliver(t0 + open, answer);
    case Answer::NoPattern:
      return raiseNoPattern(predicate, values);
    case Answer::OutOfRange:
      return PL_representation_error("int");
    case Answer::TextWithNul:
      return PL_domain_error("text_without_nul", t0 + answer.at);
    case Answer::OutOfMemory:
    case Answer::Unknown:  // Prolog has no unknown values
      break;
  }
  return PL_resource_error("memory");
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
