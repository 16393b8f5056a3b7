"""Side by side, in one run: math_n's calls against Python's own and against
minimal.plus (bench/minimal.cpp, the least an extension function does for
addNat), and clingo grounding a million external calls through
math_n.clingo against a pure-Python external function. From the build tree
of a configuration with MATH_N_BENCHMARKS (native):

    PYTHONPATH=build-native/hosts/python:build-native/hosts/python/bench /usr/bin/python3 \
        hosts/python/bench/bench.py [--instructions]

Each figure is the best of several rounds, the contenders taking turns in
each round, so that a busy machine slows both alike. With --instructions,
the instructions each call executes instead, counted by valgrind's
callgrind, which no other load on the machine changes.
"""
import math
import operator
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import timeit

import math_n
import minimal

ROUNDS = 7
NUMBERS = list(range(100_000, 200_000))
CALLS = [
    ("math_n.addNat(x, 4)", "minimal.plus(x, 4)"),
    ("math_n.addNat(x, 4)", "math.gcd(x, 4)"),
    # gcd(x, 4) is 1, 2 or 4, ints Python keeps; a sum is a new int each time.
    ("math_n.addNat(x, 4)", "operator.add(x, 4)"),
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
COUNTED = 100_000  # calls under callgrind, which runs some fifty times slower


def instructions(command, program=None):
    # A fixed hash seed: the same dictionary probes in every run.
    run = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null", *command],
                         input=program, capture_output=True, text=True, env={**os.environ, "PYTHONHASHSEED": "0"})
    return int(re.search(r"Collected : (\d+)", run.stderr)[1])


def count_instructions():
    """Instructions per call: each run less the same run without the call."""
    print(f"instructions per call, counted by callgrind over {COUNTED:,} calls:")
    loop = "import math, math_n, minimal, operator\ndef loop():\n    for x in range(100_000, {}):\n        {}\nloop()\n"

    def python(statement):
        return instructions([sys.executable, "-c", loop.format(100_000 + COUNTED, statement)])

    empty = python("pass")
    for ours, theirs in CALLS:
        mine, other = python(ours) - empty, python(theirs) - empty
        print(f"  {ours:22} {mine / COUNTED:6.0f}   {theirs:16} {other / COUNTED:6.0f}   ratio {mine / other:.2f}")
    clingo = shutil.which("clingo")
    if not clingo:
        return
    calls = {}
    for name, script, call in [("math_n.clingo", ADAPTER, "@addNat(X, 4)"), ("pure Python", PLUS, "@plus(X, 4)")]:
        program = script + "p(X, {}) :- X = 1..{}.\n#show.\n"
        counted = instructions([clingo, "--quiet=2", "-"], program.format(call, COUNTED))
        calls[name] = counted - instructions([clingo, "--quiet=2", "-"], program.format("X + 4", COUNTED))
        print(f"  clingo grounding {call:14} via {name:14} {calls[name] / COUNTED:6.0f}")
    print(f"  ratio {calls['math_n.clingo'] / calls['pure Python']:.2f}")


def per_call(statement):
    names = {"math": math, "math_n": math_n, "minimal": minimal, "operator": operator, "numbers": NUMBERS}
    loop = timeit.Timer(f"for x in numbers: {statement}", globals=names)
    return loop.timeit(1) / len(NUMBERS) * 1e9


def clingo_seconds(clingo, path):
    start = time.perf_counter()
    subprocess.run([clingo, "--quiet=2", path], check=False, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    if sys.argv[1:] == ["--instructions"]:
        return count_instructions()
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
