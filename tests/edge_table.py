"""The edge-case table (edge_cases.txt) for the hosts' Python-side tests.

Each row is `ATOM => ANSWER`: ANSWER is `true`, `false`, or `VAR = VALUE`.
Terms read as: int (an Integer), bytes (a String's text), Symbol,
Variable; the answer as True, False, or (variable name, int or bytes).
"""
import codecs
import re
from typing import NamedTuple, Union


class Symbol(str):
    """A Symbol's text."""


class Variable(str):
    """The name of a variable: the open argument, or `_`."""


Term = Union[int, bytes, Symbol, Variable]


class Row(NamedTuple):
    line: int
    text: str  # the atom as written
    predicate: str
    args: list
    answer: object  # True, False, or (variable, value)

    @property
    def result(self):
        """What a host's call gives: a check its truth, a compute call the
        value, or None where the relation fails."""
        if isinstance(self.answer, tuple):
            return self.answer[1]
        return None if not self.answer and any(isinstance(a, Variable) for a in self.args) else self.answer


_TOKEN = re.compile(r'\s*(?:(-?\d+)|"((?:[^"\\]|\\.)*)"|([a-z]\w*)|([A-Z_]\w*))\s*')


def _text(quoted: str) -> bytes:
    # The table's escapes (\xHH \" \\ \n \t \r) are Python's bytes escapes.
    return codecs.escape_decode(quoted.encode("latin-1"))[0]


def _term(match) -> Term:
    number, string, symbol, variable = match.groups()
    if number is not None:
        return int(number)
    if string is not None:
        return _text(string)
    return Symbol(symbol) if symbol is not None else Variable(variable)


def _terms(text: str, where: str) -> list:
    terms, at = [], 0
    while True:
        match = _TOKEN.match(text, at)
        if not match:
            raise ValueError(f"{where}: no term at {text[at:]!r}")
        terms.append(_term(match))
        at = match.end()
        if at == len(text):
            return terms
        if text[at] != ",":
            raise ValueError(f"{where}: expected ',' at {text[at:]!r}")
        at += 1


def rows(path: str) -> list:
    """Returns: every row of the table at `path`, in order."""
    table = []
    with open(path, encoding="latin-1") as lines:
        for number, line in enumerate(lines, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("%"):
                continue
            where = f"{path}:{number}"
            atom, answer = (part.strip() for part in line.rsplit(" => ", 1))
            name, args = re.fullmatch(r"(\w+)\((.*)\)", atom).groups()
            if answer in ("true", "false"):
                expected = answer == "true"
            else:
                variable, value = answer.split(" = ", 1)
                expected = (variable, _term(_TOKEN.fullmatch(value)))
            table.append(Row(number, atom, name, _terms(args, where), expected))
    return table
