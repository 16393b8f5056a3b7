"""The edge-case table (edge_cases.txt) for the hosts' Python-side tests.

Each row is `ATOM => ANSWER`: ANSWER is `true`, `false`, or `VAR = VALUE`.
Terms read as: int (an Integer), bytes (a String's text), Symbol,
Variable; the answer as True, False, or (variable name, int or bytes).
"""
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


_TOKEN = re.compile(r'\s*(?:(-?\d+)|"((?:[^"\\]|\\.)*)"|([a-z]\w*)|([A-Z_]\w*))\s*')
_ESCAPES = {'"': b'"', "\\": b"\\", "n": b"\n", "t": b"\t", "r": b"\r"}


def _text(quoted: str) -> bytes:
    out, at = bytearray(), 0
    while at < len(quoted):
        if quoted[at] != "\\":
            out += quoted[at].encode("latin-1")
            at += 1
        elif quoted[at + 1] == "x":
            out.append(int(quoted[at + 2:at + 4], 16))
            at += 4
        else:
            out += _ESCAPES[quoted[at + 1]]
            at += 2
    return bytes(out)


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
