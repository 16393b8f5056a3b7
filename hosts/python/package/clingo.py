"""The predicates as clingo external functions.

In a program: `#script (python) from math_n.clingo import * #end.`, then
`@addNat(3,4)` is 7. Through the API, pass this module as the context:
`control.ground([("base", [])], context=math_n.clingo)`.

A term leaves no argument open, so clingo reaches two patterns of each
predicate: with the last argument left out, the compute call that delivers
it (`@addNat(X, Y)`), and with every argument given, the check
(`@addNat(X, Y, Z)`). A Number goes over as an int and a String as a str;
any other symbol as a math_n.Symbol, which no predicate accepts. A compute
call gives a Number or a String, or no value when the relation fails, so
that the rule instance drops out; a check gives the constant `true` or
`false`, so that `not @evenNat(X) = true` holds for an odd X.

This module imports clingo's Python module, which clingo's own `#script
(python)` provides; Debian 12 ships none for a plain python3.
"""
from functools import partial as _partial

import clingo as _clingo

from . import _math_n

# What _math_n._clingo_call builds clingo's values with and reads their
# types by; last, whether .number answers None for a symbol of another type
# (clingo 5.4; later versions raise).
_CLINGO = (_clingo.Number, _clingo.String, _clingo.Function("true"), _clingo.Function("false"),
           _clingo.SymbolType.Number, _clingo.SymbolType.String,
           tuple(map(int, _clingo.__version__.split(".")[:2])) < (5, 5))


def _doc(name):
    """The relation, from the Python function's summary line, and the two
    calls clingo can make."""
    patterns = _math_n.patterns[name]
    arity = len(patterns[0])
    lines = [getattr(_math_n, name).__doc__.splitlines()[0], ""]
    if "i" * (arity - 1) + "o" in patterns:
        lines.append(f"@{name}({', '.join('XYZ'[:arity - 1])}) is the last argument, a Number or a String;"
                     " no value when the relation fails.")
    lines.append(f"@{name}({', '.join('XYZ'[:arity])}) is true or false.")
    return "\n".join(lines)


def _external(name):
    external = _partial(_math_n._clingo_call, getattr(_math_n, name), _CLINGO)
    external.__doc__ = _doc(name)
    return external


globals().update((name, _external(name)) for name in _math_n.patterns)
__all__ = list(_math_n.patterns)
