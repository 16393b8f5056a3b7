"""The extension's functions against SQLite's own over one million-row table.

Usage (from the source tree, after building):
  /usr/bin/python3 hosts/sqlite/bench.py build-native/hosts/sqlite/mod_math_n.so [ROWS] [ROUNDS]

Each query runs ROUNDS times (default 7), the queries taking turns. Printed:
the median CPU time per row of each, and the median over the rounds of each
pair's ratio within a round, which a busy machine disturbs less.
"""
import statistics
import sqlite3
import sys
import time

# (ours, SQLite's own): each pair over the same rows, in one run.
PAIRS = [
    ("sum(addNat(x, 4))", "sum(max(x, 4))"),
    ("sum(addNat(x, 4))", "sum(x + 4)"),
    ("sum(logNat(10, x))", "sum(ln(x) / ln(10))"),
    ("sum(length(n2sNat(x)))", "sum(length(CAST(x AS TEXT)))"),
]


def main(module, rows=1_000_000, rounds=7):
    db = sqlite3.connect(":memory:")
    db.enable_load_extension(True)
    db.load_extension(module)
    db.execute("CREATE TABLE numbers(x INTEGER)")
    db.execute("WITH RECURSIVE k(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM k WHERE x < ?)"
               "INSERT INTO numbers SELECT x FROM k", (rows,))
    expressions = ["sum(x)"] + sorted({e for pair in PAIRS for e in pair})
    times = {e: [] for e in expressions}
    for _ in range(rounds):
        for expression in expressions:
            start = time.process_time()
            db.execute(f"SELECT {expression} FROM numbers").fetchone()
            times[expression].append((time.process_time() - start) / rows * 1e9)
    ns = {e: statistics.median(t) for e, t in times.items()}
    ratio = {pair: statistics.median(a / b for a, b in zip(times[pair[0]], times[pair[1]])) for pair in PAIRS}
    print(f"SQLite {sqlite3.sqlite_version}, {rows} rows, median of {rounds} runs, CPU ns per row")
    print(f"  {'sum(x)':32} {ns['sum(x)']:6.1f}  (the scan alone)")
    for ours, theirs in PAIRS:
        print(f"  {ours:32} {ns[ours]:6.1f}  {theirs:32} {ns[theirs]:6.1f}  ratio {ratio[ours, theirs]:.2f}")


if __name__ == "__main__":
    main(sys.argv[1], *(int(a) for a in sys.argv[2:]))
