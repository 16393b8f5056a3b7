// The SQLite loadable extension: every entry point of the library as an SQL
// function named after it, plus the predicate's own name for the last-open
// pattern and for the check. One adapter serves them all; each function's
// user data is its row below, so a call looks nothing up.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "math_N.h"

namespace {

using EntryPoint = bool (*)(CONSTANT*);

struct Function {
  const char* name;     // as SQL calls it, for error messages
  const char* pattern;  // one letter per predicate argument
  EntryPoint entry;
};

constexpr Function entryPoints[] = {
#define ENTRY_POINT(predicate, pattern, ...) {#predicate "_" #pattern, #pattern, predicate##_##pattern},
#include "entry_points.def"
#undef ENTRY_POINT
};
constexpr const char* predicateNames[] = {
#define ENTRY_POINT(predicate, ...) #predicate,
#include "entry_points.def"
#undef ENTRY_POINT
};
constexpr std::size_t rows = std::size(entryPoints);
constexpr std::size_t maxArity = 3;

// The rows the short name serves: all given (the check), or only the last open.
constexpr bool hasShortName(const char* pattern) {
  std::size_t length = std::char_traits<char>::length(pattern);
  for (std::size_t i = 0; i + 1 < length; ++i)
    if (pattern[i] != 'i') return false;
  return true;
}

struct ShortNames {
  Function functions[rows]{};
  std::size_t count = 0;
};

constexpr ShortNames shortNames = [] {
  ShortNames names;
  for (std::size_t row = 0; row < rows; ++row) {
    if (!hasShortName(entryPoints[row].pattern)) continue;
    names.functions[names.count] = entryPoints[row];
    names.functions[names.count++].name = predicateNames[row];
  }
  return names;
}();

static_assert([] {
  for (const Function& function : entryPoints)
    if (std::char_traits<char>::length(function.pattern) > maxArity) return false;
  return true;
}(), "the adapter keeps the arguments in an array of maxArity");

void reportArgument(sqlite3_context* context, const Function& function, int argument, const char* problem) {
  char* message = sqlite3_mprintf("%s: argument %d %s", function.name, argument, problem);
  if (!message) return sqlite3_result_error_nomem(context);
  sqlite3_result_error(context, message, -1);
  sqlite3_free(message);
}

// Only allocations throw in here; noexcept turns anything else into a stop
// rather than an exception unwinding through SQLite's C frames.
void call(sqlite3_context* context, int, sqlite3_value** values) noexcept try {
  const Function& function = *static_cast<const Function*>(sqlite3_user_data(context));
  CONSTANT argv[maxArity];
  int open = -1;
  bool anyNull = false;
  int given = 0;
  for (int position = 0; function.pattern[position]; ++position) {
    if (function.pattern[position] == 'o') {
      open = position;
      continue;
    }
    sqlite3_value* value = values[given++];
    switch (sqlite3_value_type(value)) {
      case SQLITE_INTEGER: {
        sqlite3_int64 number = sqlite3_value_int64(value);
        if (number < INT32_MIN || number > INT32_MAX)
          return reportArgument(context, function, given, "is outside the 32-bit integers");
        argv[position] = CONSTANT(static_cast<int>(number));
        break;
      }
      case SQLITE_TEXT: {
        auto text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        if (!text) return sqlite3_result_error_nomem(context);
        std::size_t length = sqlite3_value_bytes(value);
        if (std::strlen(text) != length)
          return reportArgument(context, function, given, "is a text with a NUL byte");
        // Quoted: the text constructor keeps a text that begins with a
        // quote as it is.
        std::string quoted;
        quoted.reserve(length + 2);
        quoted.append(1, '"').append(text, length).append(1, '"');
        argv[position] = CONSTANT(quoted.c_str(), true);
        break;
      }
      case SQLITE_NULL:
        anyNull = true;
        break;
      case SQLITE_FLOAT:
        return reportArgument(context, function, given, "is a REAL; the predicates take integers and texts");
      default:
        return reportArgument(context, function, given, "is a BLOB; the predicates take integers and texts");
    }
  }
  if (anyNull) return sqlite3_result_null(context);

  bool holds = function.entry(argv);
  if (open < 0) return sqlite3_result_int(context, holds);
  if (!holds) return sqlite3_result_null(context);
  const CONSTANT& result = argv[open];
  if (result.isInt()) return sqlite3_result_int(context, result.toInt());
  std::unique_ptr<const char[]> text(result.toString());
  sqlite3_result_text(context, text.get(), -1, SQLITE_TRANSIENT);
} catch (const std::bad_alloc&) {
  sqlite3_result_error_nomem(context);
}

int registerFunction(sqlite3* db, const Function& function) {
  int given = 0;
  for (const char* letter = function.pattern; *letter; ++letter) given += *letter == 'i';
  return sqlite3_create_function_v2(db, function.name, given,
                                    SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                    const_cast<Function*>(&function), call, nullptr, nullptr, nullptr);
}

}  // namespace

// SQLite derives this name from the file's (mod_math_n.so); CMake passes it in.
extern "C" __attribute__((visibility("default"))) int MATH_N_SQLITE_INIT(sqlite3* db, char**,
                                                                       const sqlite3_api_routines* api) {
  SQLITE_EXTENSION_INIT2(api);
  for (const Function& function : entryPoints)
    if (int status = registerFunction(db, function); status != SQLITE_OK) return status;
  for (std::size_t i = 0; i < shortNames.count; ++i)
    if (int status = registerFunction(db, shortNames.functions[i]); status != SQLITE_OK) return status;
  return SQLITE_OK;
}
