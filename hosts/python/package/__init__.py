"""The math_N arithmetic predicates over 32-bit integers as Python functions.

math_n.addNat(3, 4) is 7: the last argument, left out, is open; None marks
any other open argument (math_n.addNat(None, 4, 7) is 3), and with every
argument given the call checks the relation (True or False). A compute call
whose relation fails returns None. An int, or any object with __index__ but
a bool, is an Integer; a str (as UTF-8) or a bytes-like object a String; a
math_n.Symbol a Symbol. help(math_n.addNat) gives the relation and its
patterns; math_n.clingo offers them to clingo.
"""
from typing import SupportsIndex

from ._math_n import *  # noqa: F401,F403
from ._math_n import __all__, patterns  # noqa: F401

# Whatever an argument can be, for annotations.
Value = SupportsIndex | str | bytes | bytearray | memoryview
