// The least an SQLite function doing addNat(x, y)'s work can cost: add2(x, y)
// takes two INTEGERs, refuses one outside 32 bits as the extension does, and
// returns their sum wrapped to 32 bits. The extension's boundary is measured
// against it (bench.py --instructions).
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include <cstdint>

namespace {

void add2(sqlite3_context* context, int, sqlite3_value** values) {
  std::uint32_t sum = 0;
  for (int at = 0; at < 2; ++at) {
    if (sqlite3_value_type(values[at]) != SQLITE_INTEGER) return sqlite3_result_null(context);
    sqlite3_int64 value = sqlite3_value_int64(values[at]);
    if (value < INT32_MIN || value > INT32_MAX) return sqlite3_result_error(context, "add2: outside 32 bits", -1);
    sum += std::uint32_t(value);
  }
  sqlite3_result_int(context, int(sum));
}

}  // namespace

// SQLite derives the name from the file's letters, add2.so.
extern "C" __attribute__((visibility("default"))) int sqlite3_add_init(sqlite3* db, char**,
                                                                      const sqlite3_api_routines* api) {
  SQLITE_EXTENSION_INIT2(api);
  return sqlite3_create_function_v2(db, "add2", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                    add2, nullptr, nullptr, nullptr);
}
