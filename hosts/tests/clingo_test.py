"""Answer-set programs over the predicates, grounded and solved by clingo
through a host's math_n.clingo, their answer sets against plain Python:
clingo_test.py python|lua, with clingo at MATH_N_CLINGO and the host's
module where that language finds it."""
import json
import math
import os
import re
import subprocess
import sys
import unittest


def wrapped(number):
    return (number + 2**31) % 2**32 - 2**31


def fibonacci(count):
    numbers = [0, 1]
    while len(numbers) < count:
        numbers.append(wrapped(numbers[-2] + numbers[-1]))
    return numbers


RULES = """
fib(0, 0). fib(1, 1).
fib(N + 1, @addNat(A, B)) :- fib(N - 1, A), fib(N, B), N < 59.
gcd(X, Y, @gcdNat(X, Y)) :- X = 0..12, Y = 0..12.
log(Y, @logNat(10, Y)) :- Y = -2..1000.
even(X) :- X = 1..9, @evenNat(X) = true.
odd(X) :- X = 1..9, not @evenNat(X) = true.
triple(X, @multNat(X, 3, 6)) :- X = 1..2.
bits(X, @d2bNat(X)) :- X = 0..9.
number(@s2nNat("12")). number(@s2nNat(abc)). number(@s2nNat(f(1))).
{ pick(X) : X = 1..30 }.
:- pick(X), not @modNat(X, 7) = 3.
:- not pick(_).
"""
# Each way a program reaches the externals, by scripting language; in
# Python also the adapter module as the grounding's context.
SCRIPTS = {
    "python": {
        "import *": "#script (python)\nfrom math_n.clingo import *\n#end.\n",
        "context": """#script (python)
import math_n.clingo
def main(control):
    control.ground([("base", [])], context=math_n.clingo)
    control.solve()
#end.
""",
    },
    "lua": {"require": '#script (lua) require("math_n.clingo") #end.\n'},
}
LANGUAGE = sys.argv.pop(1)

EXPECTED = (
    {f"fib({n},{f})" for n, f in enumerate(fibonacci(60))}
    | {f"gcd({x},{y},{math.gcd(x, y)})" for x in range(13) for y in range(13)}
    | {f"log({y},{int(math.log(y) / math.log(10))})" for y in range(1, 1001)}  # 1000 gives 2
    | {f"even({x})" for x in range(2, 10, 2)} | {f"odd({x})" for x in range(1, 10, 2)}
    | {"triple(1,false)", "triple(2,true)"}
    | {f'bits({x},"{x:b}")' for x in range(1, 10)} | {'bits(0,"")'}  # no digits for 0
    | {"number(12)"}
)
PICKS = [x for x in range(1, 31) if x % 7 == 3]
# Each answer set: the rules' atoms and a non-empty choice of the picks.
ANSWERS = sorted(
    sorted(EXPECTED | {f"pick({x})" for x, chosen in zip(PICKS, f"{mask:0{len(PICKS)}b}") if chosen == "1"})
    for mask in range(1, 2 ** len(PICKS))
)


def answer_sets(program):
    run = subprocess.run([os.environ["MATH_N_CLINGO"], "--outf=2", "0", "-"], input=program,
                         capture_output=True, text=True)
    if run.returncode not in (10, 30):  # satisfiable, every model found
        raise AssertionError(f"clingo exited with {run.returncode}:\n{run.stderr}")
    return sorted(sorted(witness["Value"]) for witness in json.loads(run.stdout)["Call"][0]["Witnesses"])


# Debian 13's clingo is built with Lua only; the ctest runs skip on "clingo has no Python".
NAME = {"python": "Python", "lua": "Lua"}[LANGUAGE]
CONFIGURATION = re.search(r"libclingo.*\nConfiguration: (.*)", subprocess.run(
    [os.environ["MATH_N_CLINGO"], "--version"], capture_output=True, text=True).stdout)[1]


class Clingo(unittest.TestCase):
    @unittest.skipIf(f"without {NAME}" in CONFIGURATION, f"clingo has no {NAME} ({CONFIGURATION})")
    def test_programs(self):
        for name, script in SCRIPTS[LANGUAGE].items():
            with self.subTest(script=name):
                self.assertEqual(answer_sets(script + RULES), ANSWERS)


if __name__ == "__main__":
    unittest.main()
