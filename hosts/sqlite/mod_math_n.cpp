// The SQLite loadable extension: every entry point of the library as an SQL
// function named after it, plus the predicate's own name for the last-open
// pattern and for the check. One adapter serves them all; each function's
// user data is its row below, so a call looks nothing up.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include <array>
#include <string>

#include "core.h"

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

void reportArgument(sqlite3_context* context, const Function& function, int argument, const char* problem) {
  char* message = sqlite3_mprintf("%s: argument %d %s", function.name().c_str(), argument, problem);
  if (!message) return sqlite3_result_error_nomem(context);
  sqlite3_result_error(context, message, -1);
  sqlite3_free(message);
}

// One instance per function, so that its predicate and open argument are
// constants the compiler folds into the argument loops.
template <std::size_t index>
void call(sqlite3_context* context, int, sqlite3_value** values) noexcept try {
  constexpr const Function& function = functions[index];
  constexpr const Predicate& predicate = *function.predicate;
  Given given[maxArity];
  for (int at = 0, next = 0; at < predicate.arity; ++at) {
    if (at == function.open) continue;
    sqlite3_value* value = values[next++];
    switch (sqlite3_value_type(value)) {
      case SQLITE_INTEGER:
        given[at] = Given::integer(sqlite3_value_int64(value));
        break;
      case SQLITE_TEXT: {
        auto text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        if (!text) return sqlite3_result_error_nomem(context);
        given[at] = Given::string(text, sqlite3_value_bytes(value));
        break;
      }
      case SQLITE_NULL:
        given[at] = Given::unknown();
        break;
      case SQLITE_FLOAT:
        return reportArgument(context, function, next, "is a REAL; the predicates take integers and texts");
      default:
        return reportArgument(context, function, next, "is a BLOB; the predicates take integers and texts");
    }
  }
  Answer answer = call(predicate, function.open, given);
  // The SQL argument a problem is with, counted from 1 over those given.
  int argument = answer.at + (answer.at > function.open ? 0 : 1);
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
      // SQLite takes the delivered copy, and releases it.
      return sqlite3_result_text(context, answer.text.release(), int(answer.length), releaseText);
    case Answer::OutOfRange:
      return reportArgument(context, function, argument, "is outside the 32-bit integers");
    case Answer::TextWithNul:
      return reportArgument(context, function, argument, "is a text with a NUL byte");
    case Answer::NoPattern:  // every function's pattern is exported
    case Answer::OutOfMemory:
      return sqlite3_result_error_nomem(context);
  }
} catch (const std::bad_alloc&) {
  sqlite3_result_error_nomem(context);
}

template <std::size_t... index>
constexpr std::array<void (*)(sqlite3_context*, int, sqlite3_value**), sizeof...(index)> callsOf(
    std::index_sequence<index...>) {
  return {call<index>...};
}
constexpr auto calls = callsOf(std::make_index_sequence<functions.size()>());

}  // namespace

// SQLite derives this name from the file's (mod_math_n.so); CMake passes it in.
extern "C" __attribute__((visibility("default"))) int MATH_N_SQLITE_INIT(sqlite3* db, char**,
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
    if (status != SQLITE_OK) return status;
  }
  return SQLITE_OK;
}
