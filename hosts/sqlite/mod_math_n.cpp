// The SQLite loadable extension: every entry point of the library as an SQL
// function named after it, plus the predicate's own name for the last-open
// pattern and for the check. Values convert as SQLite converts a value
// stored in a column, exactly or not at all; the core decides the rest.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "core.h"

// SQLite's loader derives this name from the file's, mod_math_n.so; a
// program that compiles this file in may name it otherwise.
#ifndef MATH_N_SQLITE_INIT
#define MATH_N_SQLITE_INIT sqlite3_modmathn_init
#endif

namespace {

using namespace math_n_host;

// An SQL function: a predicate with its open argument (arity: the check),
// under its entry point's name or, `brief`, the predicate's own.
struct Function {
  const Predicate* predicate = nullptr;
  int open = 0;
  bool brief = false;

  std::string name() const {
    return brief ? predicate->name : predicate->name + ('_' + patternOf(*predicate, open));
  }
};

// Each entry point under its own name, and under the predicate's where it
// is the check or computes the last argument.
constexpr auto functions = [] {
  constexpr std::size_t count = [] {
    std::size_t count = 0;
    for (const Predicate& predicate : predicates)
      for (int open = 0; open <= predicate.arity; ++open)
        if (predicate.byOpen[open]) count += open >= predicate.arity - 1 ? 2 : 1;
    return count;
  }();
  std::array<Function, count> table{};
  std::size_t at = 0;
  for (const Predicate& predicate : predicates) {
    for (int open = predicate.arity; open >= 0; --open) {
      if (!predicate.byOpen[open]) continue;
      table[at++] = {&predicate, open, false};
      if (open >= predicate.arity - 1) table[at++] = {&predicate, open, true};
    }
  }
  return table;
}();

void releaseText(void* text) { delete[] static_cast<char*>(text); }

void reportArgument(sqlite3_context* context, const Function& function, int argument, const char* problem) noexcept try {
  char* message = sqlite3_mprintf("%s: argument %d %s", function.name().c_str(), argument, problem);
  if (!message) return sqlite3_result_error_nomem(context);
  sqlite3_result_error(context, message, -1);
  sqlite3_free(message);
} catch (const std::bad_alloc&) {
  sqlite3_result_error_nomem(context);
}

// Returns: whether `real` is an integer as SQLite's INTEGER affinity takes
// one, of 64 bits, then `given`.
bool exactInteger(double real, Given& given) {
  if (real != std::trunc(real) || !(real > -0x1p63 && real < 0x1p63)) return false;
  given = Given::integer(std::int64_t(real));
  return true;
}

// Returns: whether SQLite has the text of `value` (else it ran out of
// memory), then `given`.
[[gnu::always_inline]] inline bool textOf(sqlite3_value* value, Given& given) {
  auto chars = reinterpret_cast<const char*>(sqlite3_value_text(value));
  if (!chars) return false;
  given = Given::string(chars, sqlite3_value_bytes(value));
  return true;
}

// Returns: whether `value`, SQL's argument `argument` of `function`, has a
// given in a slot that takes a text (`text`) or an integer, then `given`;
// if not, the call's result is set.
bool convert(sqlite3_context* context, const Function& function, bool text, int argument, sqlite3_value* value,
             Given& given) {
  int type = sqlite3_value_type(value);
  if (type == SQLITE_NULL) {
    given = Given::unknown();
    return true;
  }
  if (text) {
    // An INTEGER's text is its decimal numeral, which SQLite writes here.
    if (type == SQLITE_TEXT || type == SQLITE_INTEGER) {
      if (textOf(value, given)) return true;
      sqlite3_result_error_nomem(context);
      return false;
    }
    // A REAL's text is rounded to 15 digits, so it is not taken.
    reportArgument(context, function, argument, type == SQLITE_FLOAT ? "(REAL) is not a text" : "(BLOB) is not a text");
    return false;
  }
  // A TEXT converts as a column of INTEGER affinity converts it: the
  // numeral that is an integer, spaces around it, a sign, an exponent.
  int number = type == SQLITE_TEXT ? sqlite3_value_numeric_type(value) : type;
  if (number == SQLITE_INTEGER) {
    given = Given::integer(sqlite3_value_int64(value));
    return true;
  }
  if (number == SQLITE_FLOAT && exactInteger(sqlite3_value_double(value), given)) return true;
  reportArgument(context, function, argument,
                 type == SQLITE_FLOAT  ? "(REAL) is not an integer"
                 : type == SQLITE_TEXT ? "(TEXT) is not an integer"
                                       : "(BLOB) is not an integer");
  return false;
}

// Sets the call's result to `answer`'s. Inlined, so that the answer a
// function can give is all that is left of it.
[[gnu::always_inline]] inline void deliver(sqlite3_context* context, const Function& function, Answer&& answer) {
  const Predicate& predicate = *function.predicate;
  int argument = answer.at + (answer.at < function.open);
  switch (answer.kind) {
    case Answer::Holds:
      return sqlite3_result_int(context, 1);
    case Answer::Fails:
      if (function.open == predicate.arity) return sqlite3_result_int(context, 0);
      [[fallthrough]];
    case Answer::Unknown:
      return sqlite3_result_null(context);
    case Answer::Number:
      return sqlite3_result_int(context, answer.number);
    case Answer::Text:
      // SQLite takes the delivered copy, and releases it. Without a length
      // it counts the bytes itself and knows a NUL ends them; given one, it
      // copies the text again as soon as it needs that NUL.
      return sqlite3_result_text(context, answer.text.release(), -1, releaseText);
    case Answer::OutOfRange:
      return reportArgument(context, function, argument, "is outside the 32-bit integers");
    case Answer::TextWithNul:
      return reportArgument(context, function, argument, "is a text with a NUL byte");
    case Answer::NoPattern:  // every function's pattern is exported
    case Answer::OutOfMemory:
      return sqlite3_result_error_nomem(context);
  }
}

// A call with any value not of its slot's own type: each converted first.
void callConverted(sqlite3_context* context, const Function& function, sqlite3_value** values) noexcept {
  const Predicate& predicate = *function.predicate;
  Given given[maxArity];
  for (int at = 0, argument = 0; at < predicate.arity; ++at) {
    if (at == function.open) continue;
    sqlite3_value* value = values[argument++];
    if (!convert(context, function, predicate.isText[at], argument, value, given[at])) return;
  }
  deliver(context, function, math_n_host::call(predicate, function.open, given));
}

// Returns: whether `value` is of the type a slot that takes a text (`text`)
// or an integer stores as it is, then `given`.
template <bool text>
[[gnu::always_inline]] inline bool take(sqlite3_value* value, Given& given) {
  if constexpr (text) {
    return sqlite3_value_type(value) == SQLITE_TEXT && textOf(value, given);
  } else {
    if (sqlite3_value_type(value) != SQLITE_INTEGER) return false;
    given = Given::integer(sqlite3_value_int64(value));
    return true;
  }
}

// One instance per function, so that its predicate, open argument and
// slots' kinds are constants the compiler folds into the core's checks.
template <std::size_t index, std::size_t... at>
void call(sqlite3_context* context, sqlite3_value** values, std::index_sequence<at...>) noexcept {
  constexpr const Function& function = functions[index];
  constexpr const Predicate& predicate = *function.predicate;
  constexpr int open = function.open;
  Given given[maxArity];
  // Slot `at` is SQL's argument `at + 1` before the open one, `at` after it.
  if (!((int(at) == open || take<predicate.isText[at]>(values[int(at) - (int(at) > open)], given[at])) && ...))
    return callConverted(context, function, values);
  deliver(context, function, math_n_host::call(predicate, open, given));
}

template <std::size_t index>
void call(sqlite3_context* context, int, sqlite3_value** values) noexcept {
  call<index>(context, values, std::make_index_sequence<functions[index].predicate->arity>());
}

template <std::size_t... index>
constexpr std::array<void (*)(sqlite3_context*, int, sqlite3_value**), sizeof...(index)> callsOf(
    std::index_sequence<index...>) {
  return {call<index>...};
}
constexpr auto calls = callsOf(std::make_index_sequence<functions.size()>());

}  // namespace

extern "C" __attribute__((visibility("default"))) int MATH_N_SQLITE_INIT(sqlite3* db, char** error,
                                                                         const sqlite3_api_routines* api) {
  SQLITE_EXTENSION_INIT2(api);
  for (std::size_t index = 0; index < functions.size(); ++index) {
    const Function& function = functions[index];
    const Predicate& predicate = *function.predicate;
    int given = function.open == predicate.arity ? predicate.arity : predicate.arity - 1;
    std::string name = function.name();
    int status = sqlite3_create_function_v2(db, name.c_str(), given,
                                            SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                            const_cast<Function*>(&function), calls[index], nullptr, nullptr, nullptr);
    if (status != SQLITE_OK) {
      if (error) *error = sqlite3_mprintf("mod_math_n: cannot create %s: %s", name.c_str(), sqlite3_errmsg(db));
      return status;
    }
  }
  return SQLITE_OK;
}
