"""The extension's functions against SQLite's own over one table of rows.

Usage (from the source tree, after building):
  /usr/bin/python3 hosts/sqlite/bench/bench.py build-native/hosts/sqlite/mod_math_n.so [ROWS] [ROUNDS]
  /usr/bin/python3 hosts/sqlite/bench/bench.py --instructions build-native/hosts/sqlite/mod_math_n.so \
      build-native/hosts/sqlite/add2.so

Each query runs ROUNDS times (default 7), the queries taking turns. Printed:
the median CPU time per row of each, and the median over the rounds of each
pair's ratio within a round, which a busy machine disturbs less.

With --instructions, the instructions each row costs instead, counted by
valgrind's callgrind in the sqlite3 shell over 100,000 rows (no other load
on the machine changes them), less those of the scan alone, `sum(x)`;
add2.so is bench/add2.cpp, the least a function doing addNat's work costs.
"""
import re
import shutil
import statistics
import sqlite3
import subprocess
import sys
import tempfile
import time

# (ours, SQLite's own): each pair over the same rows, in one run.
PAIRS = [
    ("sum(addNat(x, 4))", "sum(max(x, 4))"),
    ("sum(addNat(x, 4))", "sum(x + 4)"),
    ("sum(logNat(10, x))", "sum(ln(x) / ln(10))"),
    ("sum(length(n2sNat(x)))", "sum(length(CAST(x AS TEXT)))"),
]
COUNTED = 100_000
TABLE = ("CREATE TABLE numbers(x INTEGER); WITH RECURSIVE k(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM k "
         "WHERE x < {}) INSERT INTO numbers SELECT x FROM k")


def instructions(modules, expression):
    """Returns: the instructions of one shell run of `expression` over the
    table, and those of them in the library."""
    loads = [argument for module in modules for argument in ("-cmd", f".load {module}")]
    with tempfile.NamedTemporaryFile() as counts:
        subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={counts.name}", shutil.which("sqlite3"),
                        ":memory:", *loads, TABLE.format(COUNTED) + f"; SELECT {expression} FROM numbers"],
                       capture_output=True, check=True)
        functions = subprocess.run(["callgrind_annotate", "--threshold=100", counts.name], capture_output=True, text=True).stdout
    total = int(re.search(r"^\s*([\d,]+) .*PROGRAM TOTALS", functions, re.M)[1].replace(",", ""))
    inside = sum(int(count.replace(",", "")) for count in re.findall(r"^\s*([\d,]+) .*\[.*/libmath_N[^]/]*\]$",
                                                                     functions, re.M))
    return total, inside


def count_instructions(module, add2):
    print(f"SQLite {sqlite3.sqlite_version}: instructions per row over the scan, callgrind, {COUNTED:,} rows")
    scan, _ = instructions([module, add2], "sum(x)")
    for expression in ["sum(x + 4)", "sum(max(x, 4))", "sum(add2(x, 4))", "sum(addNat(x, 4))",
                       "sum(length(CAST(x AS TEXT)))", "sum(length(n2sNat(x)))"]:
        total, library = instructions([module, add2], expression)
        print(f"  {expression:30} {(total - scan) / COUNTED:6.0f}  (in the library: {library / COUNTED:.0f})")


def main(module, rows=1_000_000, rounds=7):
    db = sqlite3.connect(":memory:")
    db.enable_load_extension(True)
    db.load_extension(module)
    db.executescript(TABLE.format(int(rows)))
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
    if sys.argv[1] == "--instructions":
        count_instructions(*sys.argv[2:])
    else:
        main(sys.argv[1], *(int(a) for a in sys.argv[2:]))
