"""The math_n module as Python code calls it: the shared edge-case table,
the errors, the argument types, a module per interpreter, memory over a
million calls and out of memory, and math_n.clingo's
conversions against a stand-in for clingo's symbols."""
import dataclasses
import functools
import importlib
import importlib.util
import os
import resource
import sys
import tracemalloc
import types
import unittest
import unittest.mock

import numpy

import edge_table
import math_n

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
    as bytes, as a memoryview and, where the same bytes, as str."""
    function = getattr(math_n, row.predicate)
    args = [value(term) for term in row.args]
    forms = [args]
    if args and args[-1] is None:
        forms.append(args[:-1])
    if any(isinstance(arg, bytes) for arg in args):
        forms.append([memoryview(arg) if isinstance(arg, bytes) else arg for arg in args])
    if any(isinstance(arg, bytes) and arg.isascii() for arg in args):
        forms.append([arg.decode() if isinstance(arg, bytes) and arg.isascii() else arg for arg in args])
    results = [function(*form) for form in forms]
    if any(isinstance(result, bytes) for result in results):
        raise AssertionError("a text delivered as bytes, not str")
    return {answer(result) for result in results}


def failures(rows):
    wrong = []
    for row in rows:
        got = run(row)
        if got != {row.result}:
            wrong.append(f"line {row.line}: {row.text} gave {got}, expected {row.result!r}")
    return wrong


class EdgeTable(unittest.TestCase):
    def test_every_row(self):
        self.assertEqual(failures(ROWS), [])
        # Every row is expressible: bytes carry any text, math_n.Symbol a symbol.
        print(f"\nedge table: {len(ROWS)} rows run, 0 not expressible")
        self.assertEqual(len(ROWS), 300)


@dataclasses.dataclass
class Index:
    """Any object that is an integer by __index__."""
    number: object

    def __index__(self):
        return self.number


# (call, exception, what its message must say)
ERRORS = [
    ("addNat(2**31, 1)", OverflowError, "addNat() argument 1: 2147483648 does not fit"),
    ("addNat(1, 2, 2**64)", OverflowError, "argument 3: an int of 65 bits does not fit in 32 bits"),
    ("addNat(10**5000, 1)", OverflowError, "argument 1: an int of 16610 bits does not fit in 32 bits"),
    ("addNat(numpy.int64(2**40), 1)", OverflowError, "argument 1: 1099511627776 does not fit"),
    ("addNat(1, Index(2**31))", OverflowError, "argument 2: 2147483648 does not fit"),
    ("addNat(1.0, 2)", TypeError,
     "addNat() argument 1 must be int, str, a bytes-like object or math_n.Symbol, not float"),
    ("addNat(1, True)", TypeError, "argument 2 must be int, str, a bytes-like object or math_n.Symbol, not bool"),
    ("addNat(1, Index('2'))", TypeError, "__index__ returned non-int"),
    ("addNat(None, None, 3)", ValueError, "addNat has no entry point for pattern ooi; it offers iii, iio, ioi, oii"),
    ("addNat(None, 4)", ValueError, "no entry point for pattern oio"),
    ("evenNat(None)", ValueError, "evenNat has no entry point for pattern o; it offers i"),
    ("evenNat()", TypeError, "evenNat() takes 1 argument (0 given)"),
    ("addNat(1)", TypeError, "addNat() takes 2 or 3 arguments (1 given)"),
    ("addNat(1, 2, 3, 4)", TypeError, "(4 given)"),
    ("addNat(1, y=2)", TypeError, "keyword"),
    ("s2nNat('1\\0')", ValueError, "s2nNat() argument 1: embedded null character"),
    ("n2sNat(None, b'\\0')", ValueError, "argument 2: embedded null"),
    ("n2sNat(None, memoryview(b'1\\0'))", ValueError, "argument 2: embedded null"),
    ("combNat(1, 2, Symbol('a\\0'))", ValueError, "argument 3: embedded null"),
    ("s2nNat('x' * 10**7 + '\\ud800')", ValueError,
     "s2nNat() argument 1: 'utf-8' codec can't encode character '\\ud800' in position 10000000"),
    ("setattr(Symbol, 'text', 1)", TypeError, "immutable type"),
    ("type('Name', (Symbol,), {})", TypeError, "not an acceptable base type"),
]

# (expression, result): how values cross, beyond the edge table's forms; the
# result's type counts, where the table's True equals 1.
VALUES = [
    ("addNat(2**31 - 1, -2**31)", -1),
    ("addNat(numpy.int64(3), numpy.uint8(4))", 7),
    ("addNat(Index(3), 4, Index(7))", True),
    ("addNat(type('Int', (int,), {})(3), 4)", 7),
    ("s2nNat(bytearray(b'12'))", 12),
    ("s2nNat(memoryview(b'123')[:2])", 12),  # no NUL after its bytes
    ("s2nNat(Symbol('12'))", None),  # a Symbol is no text
    ("s2nNat(type('Text', (str,), {})('12'))", 12),  # any other str is one
    ("n2sNat(None, '\\u0661')", 0),  # UTF-8 bytes, not a Unicode digit
    ("evenNat(4)", True),
    ("divNat(1, 0, 0)", False),
    ("repr(Symbol('a'))", "Symbol('a')"),
    ("(Symbol('a') == 'a', 'a' == Symbol('a'), Symbol('a') != 'a')", (False, False, True)),
    ("(Symbol('a') == Symbol('a'), Symbol('a') == Symbol('b'))", (True, False)),
    ("len({Symbol('a'), 'a', Symbol('a')})", 2),
]


def evaluate(call, module=math_n):
    return eval(call, {"Symbol": module.Symbol, "Index": Index, "numpy": numpy}, vars(module))


def statm(field):
    """The process's mapped (0) or resident (1) bytes."""
    with open("/proc/self/statm") as lines:
        return int(lines.read().split()[field]) * os.sysconf("SC_PAGE_SIZE")


class Calls(unittest.TestCase):
    def test_errors(self):
        for call, error, message in ERRORS:
            with self.subTest(call=call):
                with self.assertRaises(error) as raised:
                    evaluate(call)
                self.assertIn(message, str(raised.exception))
                self.assertLess(len(str(raised.exception)), 200)

    def test_values(self):
        for call, result in VALUES:
            with self.subTest(call=call):
                got = evaluate(call)
                self.assertEqual((type(got), got), (type(result), result))

    def test_memory_error_while_encoding(self):
        text = "\u20ac" * 50_000_000  # 100 MB as a str, 150 MB in UTF-8
        mapped = statm(0)
        limits = resource.getrlimit(resource.RLIMIT_AS)
        resource.setrlimit(resource.RLIMIT_AS, (mapped + (100 << 20), limits[1]))
        try:
            with self.assertRaises(MemoryError):
                math_n.s2nNat(text)
        finally:
            resource.setrlimit(resource.RLIMIT_AS, limits)

    def test_memory_stays_flat(self):
        for x in range(100_000):  # the allocators' pools settle
            math_n.s2nNat(math_n.n2sNat(x))
        before = statm(1)
        for x in range(1_000_000):
            math_n.s2nNat(math_n.n2sNat(x))
        growth = statm(1) - before
        # A text not released would be at least 16 bytes a call: 16 MB here.
        self.assertLess(growth, 2 << 20, f"resident memory grew by {growth} bytes")


class PerInterpreter(unittest.TestCase):
    def test_each_module_its_own(self):
        found = importlib.util.find_spec("math_n._math_n")
        other = importlib.util.module_from_spec(found)
        found.loader.exec_module(other)
        self.assertIsNot(other.Symbol, math_n.Symbol)
        self.assertEqual((evaluate("s2nNat(Symbol('1'))", other), other.addNat(3, 4)), (None, 7))

    def test_subinterpreter(self):
        interpreters = importlib.import_module("_interpreters" if sys.version_info >= (3, 13) else "_xxsubinterpreters")
        interpreter = interpreters.create()
        try:
            failed = interpreters.run_string(interpreter, "import math_n\n"
                                             "assert math_n.s2nNat(math_n.Symbol('1')) is None\n"
                                             "assert math_n.addNat(3, 4) == 7\n")
            self.assertIsNone(failed)
        finally:
            interpreters.destroy(interpreter)


def adapter(version):
    """math_n.clingo over a stand-in for clingo's module at `version`: symbols
    of three types, whose .number and .string answer None for another type
    up to 5.4 and raise from 5.5 on."""
    raises = tuple(map(int, version.split(".")[:2])) >= (5, 5)

    @dataclasses.dataclass
    class Symbol:
        type: str
        value: object

        def read(self, type):
            if self.type != type and raises:
                raise RuntimeError("a symbol of another type")
            return self.value if self.type == type else None

        number = property(lambda self: self.read("Number"))
        string = property(lambda self: self.read("String"))

    clingo = types.ModuleType("clingo")
    clingo.__version__, clingo.SymbolType = version, types.SimpleNamespace(Number="Number", String="String")
    for type in ("Number", "String", "Function"):
        setattr(clingo, type, functools.partial(Symbol, type))
    with unittest.mock.patch.dict(sys.modules, {"clingo": clingo}):
        sys.modules.pop("math_n.clingo", None)
        return importlib.import_module("math_n.clingo"), clingo


# (call, result): clingo's symbols in and out, N a Number, S a String, F a
# Function.
CLINGO_CALLS = [
    ("addNat(N(3), N(4))", "N(7)"),
    ("addNat(N(3), N(4), N(7))", "F('true')"),
    ("addNat(N(3), N(4), N(8))", "F('false')"),
    ("subNat(N(3), N(5))", "[]"),
    ("s2nNat(S('12'))", "N(12)"),
    ("s2nNat(F('12'))", "[]"),
    ("d2bNat(N(5))", "S('101')"),
    ("evenNat(N(3))", "F('false')"),
]


class Clingo(unittest.TestCase):
    def test_symbols(self):
        for version in ["5.4.1", "5.5.0", "5.7.1"]:
            module, clingo = adapter(version)
            names = {"N": clingo.Number, "S": clingo.String, "F": clingo.Function}
            for call, result in CLINGO_CALLS:
                with self.subTest(version=version, call=call):
                    self.assertEqual(eval(call, names, vars(module)), eval(result, names))

    def test_docstrings(self):
        module, _ = adapter("5.4.1")
        self.assertEqual(module.addNat.__doc__.splitlines()[0], math_n.addNat.__doc__.splitlines()[0])
        self.assertIn("@addNat(X, Y) is the last argument", module.addNat.__doc__)
        self.assertTrue(module.evenNat.__doc__.endswith("\n@evenNat(X) is true or false."))


@unittest.skipUnless(os.environ.get("MATH_N_FAIL_NEW_SIZE"), "needs fail_new.cpp preloaded")
class OutOfMemory(unittest.TestCase):
    """With fail_new.cpp preloaded: the library's new[] for a 29-byte text
    fails, and every call with one is a MemoryError that holds on to
    nothing."""

    def test_each_text_and_clingo(self):
        text = "0" * 27 + "42"
        module, clingo = adapter("5.4.1")
        symbol = clingo.String(text)
        array, view = bytearray(text.encode()), memoryview(text.encode())
        tracemalloc.start()
        for function, arg in [(math_n.s2nNat, arg) for arg in (text, text.encode(), array, view)] + [
                (module.s2nNat, symbol)]:
            with self.subTest(arg=arg):
                held = sys.getrefcount(arg), sys.getrefcount(symbol.value), tracemalloc.get_traced_memory()[0]
                for _ in range(1000):
                    with self.assertRaises(MemoryError):
                        function(arg)
                now = sys.getrefcount(arg), sys.getrefcount(symbol.value), tracemalloc.get_traced_memory()[0]
                self.assertEqual(now[:2], held[:2])
                self.assertLess(now[2] - held[2], 16_000, "bytes still allocated")
        tracemalloc.stop()
        array.append(0)  # no buffer of either is still held
        view.release()
        self.assertEqual((math_n.s2nNat("42"), module.s2nNat(clingo.String("42"))), (42, clingo.Number(42)))

if __name__ == "__main__":
    unittest.main()
