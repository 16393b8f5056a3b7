"""The math_N arithmetic predicates over 32-bit integers as Python functions.

math_n.addNat(3, 4) is 7: the last argument, left out, is open; None marks
any other open argument (math_n.addNat(None, 4, 7) is 3), and with every
argument given the call checks the relation (True or False). A compute call
whose relation fails returns None. An int is an Integer, a str (as UTF-8) or
bytes a String, a math_n.Symbol a Symbol. help(math_n.addNat) gives the
relation and its patterns; math_n.clingo offers them to clingo.
"""
from ._math_n import *  # noqa: F401,F403
from ._math_n import __all__, patterns  # noqa: F401
