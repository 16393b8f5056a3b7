"""The predicates as clingo external functions.

In a program: `#script (python) from math_n.clingo import * #end.`, then
`@addNat(3,4)` is 7. Through the API, pass this module as the context:
`control.ground([("base", [])], context=math_n.clingo)`.

A Number is an int and a String a str; any other symbol goes over as a
Symbol, which no predicate accepts. A compute call delivers a Number or a
String; a check that holds yields the constant `true`; whatever fails
yields no value, so the rule instance drops out.
"""
import clingo as _clingo

from . import _math_n

globals().update(_math_n._clingo_externals(_clingo.Number, _clingo.String, _clingo.Function("true")))
__all__ = list(_math_n.patterns)
