// The SQLite loadable extension: every entry point of the library as an SQL
// function named after it, plus the predicate's own name for the last-open
// pattern and for the check. One adapter serves them all; each function's
// user data is its row below, so a call looks nothing up.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "math_N.h"

namespace {

using EntryPoint = bool (*)(CONSTANT*);

struct Function {
  const char* name;  // as SQL calls it, for error messages
  EntryPoint entry;
  int arity = 0;
  int open = -1;  // the argument computed, or -1 for a check

  // pattern: one letter per argument, i given, o computed.
  constexpr Function(const char* name, const char* pattern, EntryPoint entry) : name(name), entry(entry) {
    for (; pattern[arity]; ++arity)
      if (pattern[arity] == 'o') open = arity;
  }
};

// The rows the predicate's own name serves: all given (the check), or only
// the last open.
constexpr bool hasShortName(const char* pattern) {
  for (; pattern[0] && pattern[1]; ++pattern)
    if (pattern[0] != 'i') return false;
  return true;
}

constexpr int maxArity = 3;

// Each entry point under its own name, and under the predicate's (a null
// name where that serves another pattern).
struct Row {
  Function full, brief;
};
// clang-format off
constexpr Row registry[] = {
#define ENTRY_POINT(predicate, pattern, ...)                                    \
  {{#predicate "_" #pattern, #pattern, predicate##_##pattern},                  \
   {hasShortName(#pattern) ? #predicate : nullptr, #pattern, predicate##_##pattern}},
#include "entry_points.def"
#undef ENTRY_POINT
};
// clang-format on

static_assert(
    [] {
      for (const Row& row : registry)
        if (row.full.arity > maxArity) return false;
      return true;
    }(),
    "the adapter keeps the arguments in an array of maxArity");

void releaseText(void* text) { delete[] static_cast<char*>(text); }

void reportArgument(sqlite3_context* context, const Function& function, int argument, const char* problem) {
  char* message = sqlite3_mprintf("%s: argument %d %s", function.name, argument, problem);
  if (!message) return sqlite3_result_error_nomem(context);
  sqlite3_result_error(context, message, -1);
  sqlite3_free(message);
}

// What makes a value no argument of any predicate, or nullptr.
const char* problemWith(sqlite3_value* value, int type) {
  switch (type) {
    case SQLITE_INTEGER: {
      sqlite3_int64 number = sqlite3_value_int64(value);
      return number < INT32_MIN || number > INT32_MAX ? "is outside the 32-bit integers" : nullptr;
    }
    case SQLITE_TEXT: {
      auto text = reinterpret_cast<const char*>(sqlite3_value_text(value));
      if (!text) throw std::bad_alloc();
      return std::strlen(text) != std::size_t(sqlite3_value_bytes(value)) ? "is a text with a NUL byte"
                                                                          : nullptr;
    }
    case SQLITE_NULL:
      return nullptr;
    case SQLITE_FLOAT:
      return "is a REAL; the predicates take integers and texts";
    default:
      return "is a BLOB; the predicates take integers and texts";
  }
}

// A checked INTEGER or TEXT value.
CONSTANT argument(sqlite3_value* value, int type) {
  if (type == SQLITE_INTEGER) return CONSTANT(static_cast<int>(sqlite3_value_int64(value)));
  // Quoted: the text constructor keeps a text that begins with a quote as it is.
  std::string quoted;
  quoted.reserve(sqlite3_value_bytes(value) + 2);
  quoted.append(1, '"').append(reinterpret_cast<const char*>(sqlite3_value_text(value))).append(1, '"');
  return CONSTANT(quoted.c_str(), true);
}

// Only allocations throw in here; noexcept turns anything else into a stop
// rather than an exception unwinding through SQLite's C frames.
void call(sqlite3_context* context, int count, sqlite3_value** values) noexcept try {
  const Function& function = *static_cast<const Function*>(sqlite3_user_data(context));
  int types[maxArity];
  bool anyNull = false;
  for (int given = 0; given < count; ++given) {
    types[given] = sqlite3_value_type(values[given]);
    if (const char* problem = problemWith(values[given], types[given]))
      return reportArgument(context, function, given + 1, problem);
    anyNull |= types[given] == SQLITE_NULL;
  }
  if (anyNull) return sqlite3_result_null(context);

  // Each argument built in its place: one constructor call, no copy.
  int next = 0;
  auto build = [&](int position) -> CONSTANT {
    if (position >= function.arity || position == function.open) return CONSTANT();
    int at = next++;
    return argument(values[at], types[at]);
  };
  static_assert(maxArity == 3);
  CONSTANT argv[maxArity] = {build(0), build(1), build(2)};

  bool holds = function.entry(argv);
  if (function.open < 0) return sqlite3_result_int(context, holds);
  if (!holds) return sqlite3_result_null(context);
  const CONSTANT& result = argv[function.open];
  if (result.isInt()) return sqlite3_result_int(context, result.toInt());
  // SQLite takes the copy toString made, and releases it.
  sqlite3_result_text(context, result.toString(), -1, releaseText);
} catch (const std::bad_alloc&) {
  sqlite3_result_error_nomem(context);
}

int registerFunction(sqlite3* db, const Function& function) {
  int given = function.open < 0 ? function.arity : function.arity - 1;
  return sqlite3_create_function_v2(db, function.name, given,
                                    SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                    const_cast<Function*>(&function), call, nullptr, nullptr, nullptr);
}

}  // namespace

// SQLite derives this name from the file's (mod_math_n.so); CMake passes it in.
extern "C" __attribute__((visibility("default"))) int MATH_N_SQLITE_INIT(sqlite3* db, char**,
                                                                         const sqlite3_api_routines* api) {
  SQLITE_EXTENSION_INIT2(api);
  for (const Row& row : registry) {
    if (int status = registerFunction(db, row.full); status != SQLITE_OK) return status;
    if (!row.brief.name) continue;
    if (int status = registerFunction(db, row.brief); status != SQLITE_OK) return status;
  }
  return SQLITE_OK;
}
