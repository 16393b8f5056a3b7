"""The SQLite extension through SQLite's own interface, each case a query.

Usage: sqlite_test.py edge_cases|queries MODULE TESTS_DIR SQLITE3
  edge_cases: every row of TESTS_DIR/edge_cases.txt as a query;
  queries:    the table below (conversions, NULLs, errors, schema uses,
              UTF-16), the values SQLite's INTEGER affinity takes, and the
              README's CSV file imported by the SQLITE3 shell.
"""
import sqlite3
import subprocess
import sys


class Error(str):
    """The message a query must fail with."""


# The rows of edge_cases.txt that SQL answers otherwise, with SQL's answer:
# a TEXT where an integer is wanted is the integer it holds.
SQL_ANSWERS = {
    'combNat(5, "2", Z)': 10,
    'permNat(5, "2", Z)': 20,
}

# (statements separated by ';', the last one's only row, or its Error)
QUERIES = [
    ("SELECT addNat(3,4), addNat_oii(4,7), addNat(3,4,7), logNat(10,1000), d2bNat(10), s2nNat('12')",
     (7, 3, 1, 2, b"1010", 12)),
    ("SELECT subNat(3,5), divNat(7,0), subNat(3,5,-2), divNat_iii(7,0,0)", (None, None, 0, 0)),
    ("SELECT addNat(NULL,4), addNat(3,NULL), addNat(3,4,NULL), s2nNat(NULL), evenNat(NULL), n2sNat_oi(NULL)",
     (None,) * 6),
    # A TEXT or REAL that holds an integer where one is wanted, an INTEGER
    # where a text is: as SQLite stores them in a column of that type.
    ("SELECT addNat('3',4), addNat(' +3 ','4.0',7), addNat('1e3',-0.0), addNat('-0.0',1), s2nNat(-12), "
     "s2nNat_ii(12,12), d2bNat_oi(101), n2sNat_ii(7,'007')", (7, 1, 1000, 1, -12, 1, 5, 1)),
    ("CREATE TABLE t(bits NUMERIC, n TEXT); INSERT INTO t VALUES('101','12');"
     "SELECT typeof(bits), b2dNat(bits), addNat(n,n), typeof(n) FROM t", (b"integer", 5, 24, b"text")),
    # A text is the whole TEXT, also where it begins with a quote.
    ("""SELECT s2nNat('"1"'), s2nNat('1'), d2bNat_oi('"1"')""", (0, 1, 0)),
    ("SELECT typeof(d2bNat(5)), typeof(n2sNat(-7)), typeof(b2dNat('101')), typeof(evenNat(2))",
     (b"text", b"text", b"integer", b"integer")),
    ("SELECT addNat(2147483648,1)", Error("addNat: argument 1 is outside the 32-bit integers")),
    ("SELECT addNat_oii(4,-2147483649)", Error("addNat_oii: argument 2 is outside the 32-bit integers")),
    ("SELECT addNat(1,'4294967296')", Error("addNat: argument 2 is outside the 32-bit integers")),
    ("SELECT multNat(3,4,12.5)", Error("multNat: argument 3 (REAL) is not an integer")),
    ("SELECT gcdNat('12abc',4)", Error("gcdNat: argument 1 (TEXT) is not an integer")),
    ("SELECT d2bNat_oi(x'31')", Error("d2bNat_oi: argument 1 (BLOB) is not a text")),
    ("SELECT s2nNat(1.0)", Error("s2nNat: argument 1 (REAL) is not a text")),
    ("SELECT s2nNat(CAST(x'310032' AS TEXT))", Error("s2nNat: argument 1 is a text with a NUL byte")),
    # An error in any argument wins over a NULL in another.
    ("SELECT addNat(NULL,'abc')", Error("addNat: argument 2 (TEXT) is not an integer")),
    ("SELECT addNat(1,2,3,4)", Error("wrong number of arguments to function addNat()")),
    ("SELECT addNat_oii(1,2,3)", Error("wrong number of arguments to function addNat_oii()")),
    ("SELECT subNat(1)", Error("wrong number of arguments to function subNat()")),
    # Deterministic: an expression index and a generated column.
    ("CREATE TABLE t(x INTEGER, y AS (addNat(x,1))); CREATE INDEX t_sum ON t(addNat(x,2));"
     "INSERT INTO t VALUES (1),(2); SELECT sum(y), count(*) FROM t WHERE addNat(x,2) = 4", (3, 1)),
    # Innocuous: allowed in a view and a trigger while the schema is not trusted.
    ("PRAGMA trusted_schema=OFF; CREATE VIEW v AS SELECT multNat(6,7) AS p; SELECT p FROM v", (42,)),
    ("PRAGMA trusted_schema=OFF; CREATE TABLE t(x); CREATE TABLE log(y);"
     "CREATE TRIGGER t_log AFTER INSERT ON t BEGIN INSERT INTO log VALUES (n2sNat(addNat(new.x,1))); END;"
     "INSERT INTO t VALUES (41); SELECT y FROM log", (b"42",)),
    # UTF-16 databases: texts read and delivered in the database's encoding.
    ("PRAGMA encoding='UTF-16le'; CREATE TABLE t(s TEXT); INSERT INTO t VALUES (' -42'), ('101');"
     "SELECT group_concat(s2nNat(s)), group_concat(b2dNat(s)), hex(d2bNat(5)) FROM t",
     (b"-42,101", b"0,5", b"310030003100")),
    ("PRAGMA encoding='UTF-16be'; SELECT s2nNat(' 7'), hex(n2sNat(-7)), length(d2bNat(-1))",
     (7, b"002D0037", 32)),
]

# Values where an integer is wanted, as Python's sqlite3 binds them: each
# is taken as SQLite's INTEGER affinity stores it, or refused.
AFFINITY = ["12", " 12 ", "+12", "-12", "1e3", "1.0", "1.5", "-0.0", "0x10", "12abc", "", "1 2", ".5e1",
            "2147483647", "-2147483648", "2147483648", "99999999999999999999", "-9223372036854775808",
            4.0, -0.0, 1.5, 2147483648.0, -2.0**63, 1e300, float("inf")]

def connect(module):
    db = sqlite3.connect(":memory:")
    db.text_factory = bytes
    db.enable_load_extension(True)
    db.load_extension(module)
    return db


def run(db, statements):
    try:
        *script, last = statements.rsplit(";", 1)
        db.executescript(";".join(script))
        return db.execute(last).fetchone()
    except sqlite3.Error as error:
        return Error(error)


def sql(term):
    return f"CAST(x'{term.hex()}' AS TEXT)" if isinstance(term, bytes) else str(term)


def edge_cases(module, tests):
    sys.path.insert(0, tests)
    import edge_table

    db = connect(module)
    failures, inexpressible, queries, rows = [], [], 0, edge_table.rows(f"{tests}/edge_cases.txt")
    for row in rows:
        symbols = [a for a in row.args if isinstance(a, edge_table.Symbol)]
        if symbols:
            inexpressible.append(f"  line {row.line}: {row.text}: the Symbol {symbols[0]} has no SQL value")
            continue
        pattern = "".join("o" if isinstance(a, edge_table.Variable) else "i" for a in row.args)
        names = [f"{row.predicate}_{pattern}"]
        if "o" not in pattern[:-1]:
            names.append(row.predicate)
        given = ", ".join(sql(a) for a in row.args if not isinstance(a, edge_table.Variable))
        expected = SQL_ANSWERS.get(row.text, row.result)
        if row.text in SQL_ANSWERS and row.result == expected:
            failures.append(f"  line {row.line}: {row.text}: listed as answered otherwise in SQL, but is not")
        for name in names:
            query = f"SELECT {name}({given})"
            got, queries = run(db, query), queries + 1
            if got != (expected,):
                failures.append(f"  line {row.line}: {row.text}: {query} gave {got!r}, expected {expected!r}")
    print(f"{len(rows) - len(inexpressible)} of {len(rows)} rows run ({queries} queries); "
          f"{len(inexpressible)} not expressible in SQL:", *inexpressible, sep="\n")
    print("answered otherwise in SQL:", *(f"  {text}: {answer}" for text, answer in SQL_ANSWERS.items()), sep="\n")
    return failures


def affinity(module):
    """Each AFFINITY value where an integer is wanted against what a column of
    INTEGER affinity stores for it."""
    db = connect(module)
    db.execute("CREATE TABLE stored(v INTEGER)")
    failures = []
    for value in AFFINITY:
        stored, kind = db.execute("INSERT INTO stored VALUES (?) RETURNING v, typeof(v)", (value,)).fetchone()
        if kind != b"integer":
            given = db.execute("SELECT upper(typeof(?))", (value,)).fetchone()[0].decode()
            expected = Error(f"addNat: argument 1 ({given}) is not an integer")
        elif -2**31 <= stored < 2**31:
            expected = (stored,)
        else:
            expected = Error("addNat: argument 1 is outside the 32-bit integers")
        try:
            got = db.execute("SELECT addNat(?, 0)", (value,)).fetchone()
        except sqlite3.Error as error:
            got = Error(error)
        if got != expected:
            failures.append(f"  addNat({value!r}, 0) gave {got!r}, expected {expected!r}")
    return failures


def csv_import(module, shell):
    """The shell's .import stores TEXT in a new table (the README's example)."""
    got = subprocess.run([shell, ":memory:", f".load {module}", ".import --csv /dev/stdin sums",
                          "SELECT typeof(a), addNat(a, b), a + b FROM sums WHERE addNat(a, b, c)"],
                         input="a,b,c\n3,4,7\n5,2,8\n", capture_output=True, text=True)
    expected = "text|7|7\n"
    return [] if got.stdout == expected else [f"  .import --csv gave {got.stdout!r} {got.stderr!r}, expected {expected!r}"]


def queries(module, shell):
    failures = []
    for statements, expected in QUERIES:
        got = run(connect(module), statements)
        if got != expected:
            failures.append(f"  {statements}\n    gave {got!r}, expected {expected!r}")
    failures += affinity(module) + csv_import(module, shell)
    print(f"{len(QUERIES)} queries, {len(AFFINITY)} values against INTEGER affinity, a CSV import run")
    return failures


if __name__ == "__main__":
    part, module, tests, shell = sys.argv[1:]
    failures = edge_cases(module, tests) if part == "edge_cases" else queries(module, shell)
    print(f"{len(failures)} failed", *failures, sep="\n")
    sys.exit(1 if failures else 0)
