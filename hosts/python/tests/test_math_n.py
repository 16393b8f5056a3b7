"""The math_n module as Python code calls it: the shared edge-case table,
the errors, several threads, and memory over a million calls."""
import ast
import os
import re
import threading
import unittest

import edge_table
import math_n

ROOT = os.path.dirname(os.path.abspath(os.environ["MATH_N_EDGE_CASES"]))
ROWS = edge_table.rows(os.environ["MATH_N_EDGE_CASES"])


def value(term):
    if isinstance(term, edge_table.Variable):
        return None
    return math_n.Symbol(term) if isinstance(term, edge_table.Symbol) else term


def answer(result):
    """A result in the table's terms: a delivered text as its bytes."""
    return result.encode() if isinstance(result, str) else result


def run(row):
    """Returns the answers the row's call gives, in every form that spells
    it: the last argument open by leaving it out and by None, and the texts
    as bytes and, where the same bytes, as str."""
    function = getattr(math_n, row.predicate)
    args = [value(term) for term in row.args]
    forms = [args]
    if args and args[-1] is None:
        forms.append(args[:-1])
    if any(isinstance(arg, bytes) and arg.isascii() for arg in args):
        forms.append([arg.decode() if isinstance(arg, bytes) and arg.isascii() else arg for arg in args])
    results = [function(*form) for form in forms]
    if any(isinstance(result, bytes) for result in results):
        raise AssertionError("a text delivered as bytes, not str")
    return {answer(result) for result in results}


def expected(row):
    opened = any(isinstance(term, edge_table.Variable) for term in row.args)
    if row.answer is True or row.answer is False:
        return row.answer if not opened or row.answer else None
    return row.answer[1]


def failures(rows):
    wrong = []
    for row in rows:
        got = run(row)
        if got != {expected(row)}:
            wrong.append(f"line {row.line}: {row.text} gave {got}, expected {expected(row)!r}")
    return wrong


class EdgeTable(unittest.TestCase):
    def test_every_row(self):
        self.assertEqual(failures(ROWS), [])
        # Every row is expressible: bytes carry any text, math_n.Symbol a symbol.
        print(f"\nedge table: {len(ROWS)} rows run, 0 not expressible")
        self.assertEqual(len(ROWS), 300)

    def test_from_threads(self):
        wrong = []
        threads = [threading.Thread(target=lambda: wrong.extend(failures(ROWS * 10))) for _ in range(4)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        self.assertEqual(wrong, [])


# (call, exception, what its message must say)
ERRORS = [
    ("addNat(2**31, 1)", OverflowError, "addNat() argument 1: 2147483648 does not fit"),
    ("addNat(1, -2**31 - 1)", OverflowError, "argument 2: -2147483649"),
    ("addNat(1, 2, 2**64)", OverflowError, "argument 3"),
    ("addNat(1.0, 2)", TypeError, "argument 1 must be int, str, bytes or math_n.Symbol, not float"),
    ("addNat(1, True)", TypeError, "argument 2 must be int, str, bytes or math_n.Symbol, not bool"),
    ("s2nNat(bytearray(b'1'))", TypeError, "not bytearray"),
    ("addNat(None, None, 3)", ValueError, "addNat has no entry point for pattern ooi; it offers iii, iio, ioi, oii"),
    ("addNat(None, 4)", ValueError, "no entry point for pattern oio"),
    ("multNat(None, 3, 4)", ValueError, "multNat has no entry point for pattern oii; it offers iii, iio"),
    ("evenNat()", ValueError, "evenNat has no entry point for pattern o; it offers i"),
    ("evenNat(None)", ValueError, "no entry point for pattern o"),
    ("addNat(1)", TypeError, "addNat() takes 2 or 3 arguments (1 given)"),
    ("addNat(1, 2, 3, 4)", TypeError, "(4 given)"),
    ("addNat(1, y=2)", TypeError, "keyword"),
    ("s2nNat('1\\0')", ValueError, "s2nNat() argument 1: embedded null character"),
    ("n2sNat(None, b'\\0')", ValueError, "argument 2: embedded null"),
    ("combNat(1, 2, Symbol('a\\0'))", ValueError, "argument 3: embedded null"),
    ("s2nNat('\\ud800')", ValueError, "argument 1: '\\ud800' has no UTF-8 form"),
]

# (call, result): how values cross.
VALUES = [
    ("addNat(2**31 - 1, -2**31)", -1),
    ("s2nNat('12')", 12),
    ("s2nNat(b'12')", 12),
    ("s2nNat(Symbol('12'))", None),  # a Symbol is no text
    ("s2nNat(type('Text', (str,), {})('12'))", 12),  # any other str is one
    ("s2nNat(b'\"12\"')", 0),  # quotes are characters of the text: no digits first
    ("n2sNat(None, '\\u0661')", 0),  # UTF-8 bytes, not a Unicode digit
    ("d2bNat(5)", "101"),
    ("s2nNat(None, -7)", "-7"),
    ("evenNat(4)", True),
    ("divNat(1, 0, 0)", False),
    ("divNat(1, 0)", None),
    ("addNat(3, 4, None)", 7),
]


class Calls(unittest.TestCase):
    def evaluate(self, call):
        return eval(call, {"Symbol": math_n.Symbol}, vars(math_n))

    def test_errors(self):
        for call, error, message in ERRORS:
            with self.subTest(call=call):
                with self.assertRaises(error) as raised:
                    self.evaluate(call)
                self.assertIn(message, str(raised.exception))

    def test_values(self):
        for call, result in VALUES:
            with self.subTest(call=call):
                got = self.evaluate(call)
                self.assertEqual((type(got), got), (type(result), result))

    def test_memory_stays_flat(self):
        def resident():
            with open("/proc/self/statm") as statm:
                return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")

        for x in range(100_000):  # the allocators' pools settle
            math_n.s2nNat(math_n.n2sNat(x))
        before = resident()
        for x in range(1_000_000):
            math_n.s2nNat(math_n.n2sNat(x))
        growth = resident() - before
        # A text not released would be at least 16 bytes a call: 16 MB here.
        self.assertLess(growth, 2 << 20, f"resident memory grew by {growth} bytes")


class Description(unittest.TestCase):
    def test_from_registry_and_readme(self):
        with open(os.path.join(ROOT, "..", "LIB", "entry_points.def")) as source:
            registry = {}
            for name, pattern in re.findall(r"^ENTRY_POINT\((\w+), *([io]+),", source.read(), re.M):
                registry.setdefault(name, []).append(pattern)
        with open(os.path.join(os.path.dirname(math_n.__file__), "__init__.pyi")) as stubs:
            defined = [node.name for node in ast.walk(ast.parse(stubs.read())) if isinstance(node, ast.FunctionDef)]
        with open(os.path.join(ROOT, "..", "README.md"), encoding="utf-8") as readme:
            table = readme.read().split("\n## Predicates\n", 1)[1]
        self.assertEqual(list(math_n.patterns), list(registry))
        self.assertEqual(math_n.__all__, ["Symbol", *registry])
        for name, patterns in registry.items():
            with self.subTest(predicate=name):
                function = getattr(math_n, name)
                relation = re.search(rf"^\| `{name}` \|.*\| (.+) \|$", table, re.M)[1].replace("`", "")
                self.assertEqual(list(math_n.patterns[name]), patterns)
                self.assertIn(relation, function.__doc__)
                self.assertEqual(function.__doc__.count(f"{name}("), len(patterns))
                self.assertEqual(defined.count(name), len(patterns))
                self.assertTrue(function.__text_signature__.startswith("(x"))


if __name__ == "__main__":
    unittest.main()
