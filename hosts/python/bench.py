"""Side by side, in one run: math_n's calls against Python's own, and clingo
grounding a million external calls through math_n.clingo against a
pure-Python external function. From the build tree:

    PYTHONPATH=build-native/hosts/python /usr/bin/python3 hosts/python/bench.py

Each figure is the best of several rounds, the contenders taking turns in
each round, so that a busy machine slows both alike.
"""
import math
import os
import shutil
import subprocess
import sys
import tempfile
import time
import timeit

import math_n

ROUNDS = 7
NUMBERS = list(range(100_000, 200_000))
CALLS = [
    ("math_n.addNat(x, 4)", "math.gcd(x, 4)"),
    ("math_n.n2sNat(x)", "str(x)"),
]
GROUND = 1_000_000
PLUS = "#script (python)\nfrom clingo import Number\ndef plus(x, y):\n    return Number(x.number + y.number)\n#end.\n"
ADAPTER = "#script (python)\nfrom math_n.clingo import *\n#end.\n"
PROGRAMS = [
    ("@addNat(X,4) via math_n.clingo", ADAPTER + f"p(X, @addNat(X, 4)) :- X = 1..{GROUND}.\n#show.\n"),
    ("@plus(X,4) in pure Python", PLUS + f"p(X, @plus(X, 4)) :- X = 1..{GROUND}.\n#show.\n"),
    ("X+4, no external function", f"p(X, X + 4) :- X = 1..{GROUND}.\n#show.\n"),
]


def per_call(statement):
    loop = timeit.Timer(f"for x in numbers: {statement}", globals={"math": math, "math_n": math_n, "numbers": NUMBERS})
    return loop.timeit(1) / len(NUMBERS) * 1e9


def clingo_seconds(clingo, path):
    start = time.perf_counter()
    subprocess.run([clingo, "--quiet=2", path], check=False, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    print(f"Python {sys.version.split()[0]}, {os.cpu_count()} cores; best of {ROUNDS} rounds")
    print("\nns per call, in a loop over 100,000 numbers (the loop included):")
    for pair in CALLS:
        best = dict.fromkeys(pair, math.inf)
        for _ in range(ROUNDS):
            for statement in pair:
                best[statement] = min(best[statement], per_call(statement))
        ours, theirs = pair
        print(f"  {ours:22} {best[ours]:6.1f}   {theirs:16} {best[theirs]:6.1f}   ratio {best[ours] / best[theirs]:.2f}")
    clingo = shutil.which("clingo")
    if not clingo:
        print("\nclingo: not found")
        return
    with tempfile.TemporaryDirectory() as scratch:
        paths = []
        for number, (_, program) in enumerate(PROGRAMS):
            paths.append(os.path.join(scratch, f"{number}.lp"))
            with open(paths[-1], "w") as out:
                out.write(program)
        best = [math.inf] * len(PROGRAMS)
        for _ in range(ROUNDS // 2):
            for number, path in enumerate(paths):
                best[number] = min(best[number], clingo_seconds(clingo, path))
    print(f"\nclingo grounding {GROUND:,} calls (whole run, best of {ROUNDS // 2}):")
    for (name, _), seconds in zip(PROGRAMS, best):
        print(f"  {name:32} {seconds:6.3f} s")
    plain = best[2]
    ours, theirs = best[0] - plain, best[1] - plain
    print(f"  the external calls alone: {ours / GROUND * 1e9:.0f} ns against {theirs / GROUND * 1e9:.0f} ns, "
          f"ratio {ours / theirs:.2f}; whole runs {best[0] / best[1]:.2f}")


if __name__ == "__main__":
    main()
