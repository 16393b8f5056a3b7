"""Writes the edge-case table, read by edge_table.py, as a Lua chunk:
edge_rows.py TESTS_DIR OUTPUT. Given (symbol, open), it returns each row as
{line, text, predicate, args, expected}, a variable's arg being `open`.
"""
import sys

sys.path.insert(0, sys.argv[1])
import edge_table  # noqa: E402


def quoted(data):
    return '"' + "".join(chr(b) if 32 <= b < 127 and b not in b'"\\' else f"\\{b:03d}" for b in data) + '"'


def lua(term):
    if isinstance(term, edge_table.Variable):
        return "open"
    if isinstance(term, edge_table.Symbol):
        return f"symbol({quoted(term.encode('latin-1'))})"
    if isinstance(term, bytes):
        return quoted(term)
    return str(term).lower()  # an int, or True and False


rows = edge_table.rows(f"{sys.argv[1]}/edge_cases.txt")
with open(sys.argv[2], "w") as out:
    out.write("local symbol, open = ...\nreturn {\n")
    for row in rows:
        args = ", ".join(lua(term) for term in row.args)
        out.write(f"  {{{row.line}, {quoted(row.text.encode('latin-1'))}, \"{row.predicate}\", {{{args}}}, {'nil' if row.result is None else lua(row.result)}}},\n")
    out.write("}\n")
