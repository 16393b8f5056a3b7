// The extension compiled into a program (-DSQLITE_CORE) and registered for
// every connection with sqlite3_auto_extension, as an embedder does: its
// functions in threads that each have their own connection, memory running
// out inside a call, and a registration that fails.
#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <thread>
#include <vector>

extern "C" int sqlite3_modmathn_init(sqlite3*, char**, const sqlite3_api_routines*);

namespace {

// While set, every new[] fails: the texts of the library and of the core
// are new[] arrays, and nothing else here allocates one.
std::atomic<bool> failNew{false};

int failures = 0;

void expect(const std::string& got, const std::string& expected, const std::string& what) {
  if (got == expected) return;
  ++failures;
  std::fprintf(stderr, "%s: gave \"%s\", expected \"%s\"\n", what.c_str(), got.c_str(), expected.c_str());
}

sqlite3* open() {
  sqlite3* db = nullptr;
  if (sqlite3_open(":memory:", &db) == SQLITE_OK) return db;
  std::fprintf(stderr, "cannot open a database: %s\n", sqlite3_errmsg(db));
  std::exit(1);
}

// Returns: the first column of `sql`'s first row as text, or its error.
std::string answer(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  int status = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
  if (status == SQLITE_OK) status = sqlite3_step(statement);
  std::string result;
  if (status == SQLITE_ROW) {
    auto text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    result = text ? text : "NULL";
  } else {
    result = "error " + std::to_string(status) + ": " + sqlite3_errmsg(db);
  }
  sqlite3_finalize(statement);
  return result;
}

}  // namespace

void* operator new[](std::size_t size) {
  if (failNew) throw std::bad_alloc();
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

int main() {
  sqlite3_auto_extension(reinterpret_cast<void (*)()>(sqlite3_modmathn_init));

  // Each thread checks 40,001 rows of every kind of call against SQLite's
  // own arithmetic and CAST.
  std::vector<std::string> counts(4);
  std::vector<std::thread> threads;
  for (std::string& count : counts) {
    threads.emplace_back([&count] {
      sqlite3* db = open();
      count = answer(db,
                     "WITH RECURSIVE k(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM k WHERE x < 40000) "
                     "SELECT count(*) FROM k WHERE addNat(x, 7) IS NOT x + 7 OR NOT multNat(x, 3, x * 3) "
                     "OR n2sNat(x) IS NOT CAST(x AS TEXT) OR s2nNat(CAST(-x AS TEXT)) IS NOT -x "
                     "OR b2dNat(d2bNat(x)) IS NOT x");
      sqlite3_close(db);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::string& count : counts) expect(count, "0", "rows a thread found wrong");

  sqlite3* db = open();
  failNew = true;
  for (const char* sql : {"SELECT n2sNat(7)", "SELECT s2nNat('12')", "SELECT s2nNat('\"1\"')"})
    expect(answer(db, sql), "error 7: out of memory", std::string(sql) + " while new[] fails");
  failNew = false;
  expect(answer(db, "SELECT n2sNat(7)"), "7", "SELECT n2sNat(7) once new[] works again");

  // SQLite refuses to redefine a function while a statement runs.
  sqlite3_stmt* running = nullptr;
  sqlite3_prepare_v2(db, "SELECT addNat(1, 2) UNION ALL SELECT 3", -1, &running, nullptr);
  sqlite3_step(running);
  char* error = nullptr;
  int status = sqlite3_modmathn_init(db, &error, nullptr);
  expect(std::to_string(status) + ": " + (error ? error : "no message"),
         "5: mod_math_n: cannot create addNat_iii: unable to delete/modify user-function due to active statements",
         "a registration while a statement runs");
  sqlite3_free(error);
  sqlite3_finalize(running);
  sqlite3_close(db);

  std::printf("%d failed\n", failures);
  return failures ? 1 : 0;
}
