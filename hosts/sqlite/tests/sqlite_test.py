"""The SQLite extension through SQLite's own interface, each case a query.

Usage: sqlite_test.py edge_cases|queries MODULE TESTS_DIR
  edge_cases: every row of TESTS_DIR/edge_cases.txt as a query;
  queries:    the table below (NULLs, errors, schema uses, recursive CTEs).
"""
import sqlite3
import sys


class Error(str):
    """The message a query must fail with."""


# (statements separated by ';', the last one's only row, or its Error)
QUERIES = [
    ("SELECT addNat(3,4), addNat_oii(4,7), addNat(3,4,7), logNat(10,1000), d2bNat(10), s2nNat('12')",
     (7, 3, 1, 2, b"1010", 12)),
    ("SELECT subNat(3,5), divNat(7,0), subNat(3,5,-2), divNat_iii(7,0,0)", (None, None, 0, 0)),
    ("SELECT addNat(NULL,4), addNat(3,NULL), addNat(3,4,NULL), s2nNat(NULL), evenNat(NULL), n2sNat_oi(NULL)",
     (None,) * 6),
    # The library decides kinds: TEXT for an Integer, INTEGER for a text.
    ("SELECT addNat('3',4), addNat('3',4,7), s2nNat(12), s2nNat_ii(12,12), d2bNat_oi(101)", (None, 0, None, 0, None)),
    # A text is the whole TEXT, also where it begins with a quote.
    ("""SELECT s2nNat('"1"'), s2nNat('1'), d2bNat_oi('"1"')""", (0, 1, 0)),
    ("SELECT typeof(d2bNat(5)), typeof(n2sNat(-7)), typeof(b2dNat('101')), typeof(evenNat(2))",
     (b"text", b"text", b"integer", b"integer")),
    ("SELECT addNat(2147483647,-2147483648), subNat_oii(1,2147483647)", (-1, -2147483648)),
    ("SELECT addNat(2147483648,1)", Error("addNat: argument 1 is outside the 32-bit integers")),
    ("SELECT addNat_oii(4,-2147483649)", Error("addNat_oii: argument 2 is outside the 32-bit integers")),
    ("SELECT multNat(3,4,12.0)", Error("multNat: argument 3 is a REAL; the predicates take integers and texts")),
    ("SELECT d2bNat_oi(x'31')", Error("d2bNat_oi: argument 1 is a BLOB; the predicates take integers and texts")),
    ("SELECT s2nNat(CAST(x'310032' AS TEXT))", Error("s2nNat: argument 1 is a text with a NUL byte")),
    # An error in any argument wins over a NULL in another.
    ("SELECT addNat(NULL,1.5)", Error("addNat: argument 2 is a REAL; the predicates take integers and texts")),
    ("SELECT addNat(1,2,3,4)", Error("wrong number of arguments to function addNat()")),
    ("SELECT addNat_oii(1,2,3)", Error("wrong number of arguments to function addNat_oii()")),
    ("SELECT subNat(1)", Error("wrong number of arguments to function subNat()")),
    # Deterministic: an expression index and a generated column.
    ("CREATE TABLE t(x INTEGER, y AS (addNat(x,1))); CREATE INDEX t_sum ON t(addNat(x,2));"
     "INSERT INTO t VALUES (1),(2); SELECT sum(y), count(*) FROM t WHERE addNat(x,2) = 4", (3, 1)),
    # Innocuous: allowed in a view while the schema is not trusted.
    ("PRAGMA trusted_schema=OFF; CREATE VIEW v AS SELECT multNat(6,7) AS p; SELECT p FROM v", (42,)),
    # Fibonacci, wrapping past 2^31 - 1 as addNat does.
    ("WITH RECURSIVE fib(n,a,b) AS (SELECT 1,0,1 UNION ALL SELECT n+1,b,addNat(a,b) FROM fib WHERE n < 48)"
     "SELECT group_concat(a) FROM (SELECT a FROM fib WHERE n IN (1,2,10,46,47,48) ORDER BY n)",
     (b"0,1,34,1134903170,1836311903,-1323752223",)),
    # Euclid's loop by modNat agrees with gcdNat on every pair of 1..12.
    ("WITH RECURSIVE k(v) AS (SELECT 1 UNION ALL SELECT v+1 FROM k WHERE v < 12),"
     "euclid(a0,b0,a,b,steps) AS (SELECT x.v,y.v,x.v,y.v,0 FROM k x, k y UNION ALL"
     " SELECT a0,b0,b,modNat(a,b),steps+1 FROM euclid WHERE b <> 0 AND steps < 20)"
     "SELECT count(*), sum(a = gcdNat(a0,b0)), sum(gcdNat(a0,b0,a)),"
     " (SELECT group_concat(a) FROM (SELECT a FROM euclid WHERE b = 0 AND a0 = 12 ORDER BY b0))"
     " FROM euclid WHERE b = 0", (144, 144, 144, b"1,2,3,4,1,6,1,4,3,2,1,12")),
]


def connect(module):
    db = sqlite3.connect(":memory:")
    db.text_factory = bytes
    db.enable_load_extension(True)
    db.load_extension(module)
    return db


def run(db, statements):
    try:
        for statement in statements.split(";"):
            row = db.execute(statement).fetchone()
        return row
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
        if "o" not in pattern:
            expected = int(row.answer)
        else:
            expected = row.answer[1] if isinstance(row.answer, tuple) else None
        for name in names:
            query = f"SELECT {name}({given})"
            got = run(db, query)
            queries += 1
            if got != (expected,):
                failures.append(f"  line {row.line}: {row.text}: {query} gave {got!r}, expected {expected!r}")
    print(f"{len(rows) - len(inexpressible)} of {len(rows)} rows run ({queries} queries); "
          f"{len(inexpressible)} not expressible in SQL:", *inexpressible, sep="\n")
    return failures


def queries(module):
    failures = []
    for statements, expected in QUERIES:
        got = run(connect(module), statements)
        if got != expected:
            failures.append(f"  {statements}\n    gave {got!r}, expected {expected!r}")
    print(f"{len(QUERIES)} queries run")
    return failures


if __name__ == "__main__":
    part, module, tests = sys.argv[1:]
    failures = edge_cases(module, tests) if part == "edge_cases" else queries(module)
    print(f"{len(failures)} failed", *failures, sep="\n")
    sys.exit(1 if failures else 0)
