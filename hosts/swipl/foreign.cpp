// The foreign part of library(math_n): one Prolog predicate per predicate of
// the registry. Each is an instance of one adapter, and within it each
// pattern, so that the arity, which arguments are texts and the entry point
// are constants in its code: a call reads its arguments into givens, leaves
// every decision about them to the core and unifies the open argument with
// what was delivered.
#include <SWI-Prolog.h>

#include <cstdint>
#include <string>
#include <utility>

#include "core.h"

namespace {

using namespace math_n_host;

bool isAscii(const char* text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
  return true;
}

// A bound argument of the type PL_term_type gives as a given; false with a
// Prolog exception raised where no value can hold it.
bool readTyped(term_t term, int type, bool isText, Given& value) {
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

// The argument `term` as a given, an unbound one as open. An integer where
// one is expected is read without asking for its type: each question is a
// call into SWI-Prolog.
[[gnu::always_inline]] inline bool read(term_t term, bool isText, Given& value) {
  std::int64_t number;
  if (!isText && PL_get_int64(term, &number)) {
    value = Given::integer(number);
    return true;
  }
  int type = PL_term_type(term);
  if (type == PL_VARIABLE) {
    value = Given::open();
    return true;
  }
  return readTyped(term, type, isText, value);
}

// Returns: whether `term` holds what a slot that takes a text (`isText`) or
// an integer takes as it is, an integer or a string of ASCII characters;
// then `value`.
template <bool isText>
[[gnu::always_inline]] inline bool take(term_t term, Given& value) {
  if constexpr (isText) {
    char* text;
    std::size_t length;
    if (!PL_get_string_chars(term, &text, &length) || !isAscii(text, length)) return false;
    value = Given::string(text, length);
  } else {
    std::int64_t number;
    if (!PL_get_int64(term, &number)) return false;
    value = Given::integer(number);
  }
  return true;
}

bool deliverText(term_t term, const Answer& answer) {
  // The same string either way; the plain path skips decoding.
  if (isAscii(answer.text.get(), answer.length))
    return PL_unify_string_nchars(term, answer.length, answer.text.get());
  return PL_unify_chars(term, PL_STRING | REP_UTF8, answer.length, answer.text.get());
}

// The open arguments given have no entry point (several open included):
// error(instantiation_error, context(math_n:multNat/3, Message)), as
// Prolog's own predicates raise for a mode they lack; print_message/2 shows
// the message, which names the patterns the library offers.
int raiseNoPattern(const Predicate& predicate, const Given* given) {
  std::string message = noPatternMessage(predicate, spelledPattern(given, predicate.arity));
  term_t error = PL_new_term_ref();
  return PL_unify_term(error, PL_FUNCTOR_CHARS, "error", 2, PL_CHARS, "instantiation_error", PL_FUNCTOR_CHARS,
                       "context", 2, PL_FUNCTOR_CHARS, ":", 2, PL_CHARS, "math_n", PL_FUNCTOR_CHARS, "/", 2,
                       PL_CHARS, predicate.name, PL_INT, predicate.arity, PL_CHARS, message.c_str()) &&
         PL_raise_exception(error);
}

// The answers that are not a plain outcome, each as its Prolog error.
[[gnu::cold]] foreign_t raise(const Predicate& predicate, term_t t0, const Given* given, const Answer& answer) {
  switch (answer.kind) {
    case Answer::NoPattern:
      return raiseNoPattern(predicate, given);
    case Answer::OutOfRange:
      return PL_representation_error("int");
    case Answer::TextWithNul:
      return PL_domain_error("text_without_nul", t0 + answer.at);
    default:  // OutOfMemory; Prolog has no unknown values
      return PL_resource_error("memory");
  }
}

[[gnu::always_inline]] inline foreign_t outcome(const Predicate& predicate, term_t t0, int open, const Given* given,
                                                const Answer& answer) {
  switch (answer.kind) {
    case Answer::Fails:
      return false;
    case Answer::Holds:
      return true;
    case Answer::Number:
      return PL_unify_integer(t0 + open, answer.number);
    case Answer::Text:
      return deliverText(t0 + open, answer);
    default:
      return raise(predicate, t0, given, answer);
  }
}

// A call whose open argument has an entry point: one instance per pattern,
// so that the core's checks and the entry point are constants in its code.
template <std::size_t P, int open>
[[gnu::always_inline]] inline foreign_t callPattern(term_t t0, const Given* given) {
  return outcome(predicates[P], t0, open, given, call(predicates[P], open, given));
}

// Any other call: the core decides what it is (several arguments open, or
// a pattern the library does not export).
[[gnu::cold]] foreign_t callOther(const Predicate& predicate, term_t t0, int open, const Given* given) {
  return outcome(predicate, t0, open, given, call(predicate, open, given));
}

template <std::size_t P, int... open>
foreign_t byPattern(term_t t0, int at, const Given* given, std::integer_sequence<int, open...>) {
  foreign_t result = 0;
  bool called = ((at == open && predicates[P].byOpen[open] ? (result = callPattern<P, open>(t0, given), true) : false) ||
                 ...);
  return called ? result : callOther(predicates[P], t0, at, given);
}

template <std::size_t P, std::size_t... at>
foreign_t callPredicate(term_t t0, std::index_sequence<at...>) {
  constexpr const Predicate& predicate = predicates[P];
  constexpr int last = predicate.arity - 1;
  Given given[predicate.arity];
  // The usual call leaves the last argument open and gives the others as
  // their slots take them: their kinds are then constants, which the
  // compiler folds into the core's checks.
  if constexpr (predicate.byOpen[last] != nullptr) {
    if (PL_is_variable(t0 + last) && ((int(at) == last || take<predicate.isText[at]>(t0 + at, given[at])) && ...)) {
      given[last] = Given::open();
      return callPattern<P, last>(t0, given);
    }
  }
  // Any other call: each argument as what it holds.
  if (!(read(t0 + at, predicate.isText[at], given[at]) && ...)) return false;
  return byPattern<P>(t0, openArgument(given, predicate.arity), given,
                      std::make_integer_sequence<int, predicate.arity + 1>());
}

template <std::size_t P>
foreign_t foreignPredicate(term_t t0, int, control_t) noexcept {
  return callPredicate<P>(t0, std::make_index_sequence<predicates[P].arity>());
}

template <std::size_t... P>
void registerAll(std::index_sequence<P...>) {
  (PL_register_foreign_in_module("math_n", predicates[P].name, predicates[P].arity,
                                 reinterpret_cast<pl_function_t>(&foreignPredicate<P>), PL_FA_VARARGS),
   ...);
}

}  // namespace

// Found by name when library(math_n) loads this object.
extern "C" __attribute__((visibility("default"))) install_t install_math_n() {
  registerAll(std::make_index_sequence<predicates.size()>());
}
