// The one call every engine's host makes: the library's decisions about an
// atom, taken here once. A host turns its engine's values into `Given`s,
// calls `call`, and turns the `Answer` into its engine's value or error;
// which entry point, the argument checks, the quote rule, the argument
// vector, out of memory and the delivered value are all decided here.
#ifndef MATH_N_HOSTS_CORE_H
#define MATH_N_HOSTS_CORE_H

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "registry.h"

namespace math_n_host {

// One argument of a call, as a host hands it over: built by the functions
// below, so that only what its kind uses is written. Texts are borrowed for
// the call, and must be followed by a NUL at `text[length]`, as every
// engine's own strings are.
struct Given {
  // Unknown: a value the engine does not know (SQL's NULL); the call then
  // answers Unknown, unless another argument is refused.
  enum Kind : unsigned char { Open, Integer, String, Symbol, Unknown };
  Kind kind;
  union {
    std::int64_t number;  // Integer: any value; those outside 32 bits are refused
    std::size_t length;   // String, Symbol
  };
  const char* text;  // String, Symbol

  static Given open() { return make(Open); }
  static Given unknown() { return make(Unknown); }
  static Given integer(std::int64_t number) {
    Given given = make(Integer);
    given.number = number;
    return given;
  }
  static Given string(const char* text, std::size_t length) { return make(String, text, length); }
  static Given symbol(const char* text, std::size_t length) { return make(Symbol, text, length); }

 private:
  static Given make(Kind kind, const char* text = nullptr, std::size_t length = 0) {
    Given given;
    given.kind = kind;
    given.length = length;
    given.text = text;
    return given;
  }
};

struct Answer {
  enum Kind : unsigned char {
    Fails,        // the relation does not hold, a guard refused, or a kind the library does not take
    Holds,        // a check holds
    Number,       // a compute call delivered `number`
    Text,         // a compute call delivered `text`, `length` bytes and a NUL
    NoPattern,    // the library exports no entry point for the open arguments given
    OutOfRange,   // argument `at` is an integer outside 32 bits
    TextWithNul,  // argument `at` is a text with a NUL byte, which the library's texts end at
    OutOfMemory,
    Unknown,      // an argument was Unknown
  };
  Answer(Kind kind, int at = -1, int number = 0) : kind(kind), at(at), number(number) {}

  Kind kind;
  int at;  // OutOfRange, TextWithNul: the argument, counted from 0
  int number;
  std::unique_ptr<const char[]> text;
  std::size_t length = 0;
};

namespace detail {

// Returns: the value of the given argument `given`.
[[gnu::always_inline]] inline CONSTANT valueOf(const Given& given) {
  switch (given.kind) {
    case Given::Integer:
      return CONSTANT(static_cast<int>(given.number));
    case Given::String:
      // The text constructor keeps a text that begins with a quote as it
      // is; only such a text needs its quoted form made here.
      if (given.text[0] == '"') {
        std::unique_ptr<char[]> quoted(new char[given.length + 3]);
        quoted[0] = '"';
        std::memcpy(&quoted[1], given.text, given.length);
        std::memcpy(&quoted[given.length + 1], "\"", 2);
        return CONSTANT(quoted.get(), true);
      }
      return CONSTANT(given.text, true);
    case Given::Symbol:
      return CONSTANT(given.text, false);
    default:
      return CONSTANT();
  }
}

// Returns: what `entry` answers on the argument vector of `given`, whose
// argument `open` (`arity`: none) it computes. The vector is built in
// argument order, each value in its place; should one allocation fail,
// those built before it are destroyed.
template <std::size_t... at>
[[gnu::always_inline]] inline Answer run(EntryPoint entry, int open, const Given* given,
                                         std::index_sequence<at...>) {
  CONSTANT argv[] = {(int(at) == open ? CONSTANT() : valueOf(given[at]))...};
  if (!entry(argv)) return {Answer::Fails};
  if (open == int(sizeof...(at))) return {Answer::Holds};
  if (argv[open].isInt()) return {Answer::Number, -1, argv[open].toInt()};
  Answer answer{Answer::Text};
  answer.text.reset(argv[open].toString());
  answer.length = std::strlen(answer.text.get());
  return answer;
}

}  // namespace detail

// Returns: what `entry`, which computes argument `open` of `arity` (`arity`:
// none, a check), answers on `given`, one per argument, once every given
// value is known to be one the library can take.
[[gnu::always_inline]] inline Answer call(EntryPoint entry, int arity, int open, const Given* given) noexcept {
  bool unknown = false;
  for (int at = 0; at < arity; ++at) {
    if (at == open) continue;
    const Given& each = given[at];
    switch (each.kind) {
      case Given::Integer:
        if (each.number < INT32_MIN || each.number > INT32_MAX) return {Answer::OutOfRange, at};
        break;
      case Given::String:
      case Given::Symbol:
        if (std::memchr(each.text, '\0', each.length)) return {Answer::TextWithNul, at};
        break;
      case Given::Unknown:
        unknown = true;
        break;
      case Given::Open:
        return {Answer::NoPattern};
    }
  }
  if (unknown) return {Answer::Unknown};
  try {
    static_assert(maxArity == 3);
    switch (arity) {
      case 1:
        return detail::run(entry, open, given, std::make_index_sequence<1>());
      case 2:
        return detail::run(entry, open, given, std::make_index_sequence<2>());
      default:
        return detail::run(entry, open, given, std::make_index_sequence<3>());
    }
  } catch (const std::bad_alloc&) {
    // The library throws nothing else; anything else stops the process
    // here rather than unwinding through an engine's C frames.
    return {Answer::OutOfMemory};
  }
}

// Returns: the outcome of `predicate` on `given`, one per argument: the
// entry point that computes argument `open` (`arity`: the check, -1:
// several, which none does) called as above.
[[gnu::always_inline]] inline Answer call(const Predicate& predicate, int open, const Given* given) noexcept {
  if (open < 0 || open > predicate.arity || !predicate.byOpen[open]) return {Answer::NoPattern};
  return call(predicate.byOpen[open], predicate.arity, open, given);
}

// Returns: the argument `given` leaves open: its position, `arity` when
// none is (a check), or -1 when more than one is.
inline int openArgument(const Given* given, int arity) {
  int open = arity;
  for (int at = 0; at < arity; ++at) {
    if (given[at].kind != Given::Open) continue;
    if (open != arity) return -1;
    open = at;
  }
  return open;
}

// Returns: the pattern a call spells, `o` for each Open argument.
inline std::string spelledPattern(const Given* given, int arity) {
  std::string pattern;
  for (int at = 0; at < arity; ++at) pattern += given[at].kind == Given::Open ? 'o' : 'i';
  return pattern;
}

// Returns: why a call of `predicate` with `pattern` has no entry point,
// naming those the library offers.
inline std::string noPatternMessage(const Predicate& predicate, std::string_view pattern) {
  std::string message = predicate.name;
  message.append(" has no entry point for pattern ").append(pattern).append("; it offers ");
  for (const std::string& offered : offeredPatterns(predicate))
    message.append(offered).append(", ");
  message.resize(message.size() - 2);
  return message;
}

}  // namespace math_n_host

#endif
