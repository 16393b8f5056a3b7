"""Writes library(math_n)'s module file from its template, the registry of
entry points and the README's table of relations:

    pldoc.py ENTRY_POINTS_DEF README MODULE_IN MODULE_OUT

The template's @EXPORTS@ becomes the predicates, @DOCS@ a PlDoc comment
per predicate (a mode line per pattern and the relation in the table's
words) and the same as the facts the template records for help/1. The
registry and the table are read by the Python host's generator, the one
reader of the table.
"""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "python"))
import generate  # noqa: E402

ARGUMENT_NAMES = "XYZ"


def mode(pattern, names):
    return ", ".join(("-" if role == "o" else "+") + names[at] for at, role in enumerate(pattern))


def comment(name, patterns, relation):
    lines = [f"%!  {name}({mode(pattern, ARGUMENT_NAMES)}) is semidet." for pattern in patterns]
    return "\n".join(lines + ["%", f"%   {relation}."])


def prolog_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'


def main(definitions, readme, template, out):
    predicates, _ = generate.registry(definitions)
    relations = generate.relations(readme, predicates)
    text = pathlib.Path(template).read_text(encoding="utf-8")
    head, tail = text.split("@DOCS@")
    head = head.replace("@EXPORTS@", ", ".join(f"{name}/{len(next(iter(p)))}" for name, p in predicates.items()))
    comments, facts = [], []
    line = head.count("\n") + 1
    for name, patterns in predicates.items():
        arity = len(next(iter(patterns)))
        text = comment(name, patterns, relations[name])
        modes = ", ".join(f"{name}({mode(pattern, ['any'] * arity)})" for pattern in patterns)
        comments.append(text + "\n")
        facts.append(f"documentation({name}/{arity}, {line}, [{modes}],\n"
                     f"              {prolog_string(relations[name] + '.')},\n"
                     f"              {prolog_string(text)}).")
        line += text.count("\n") + 2
    text = head + "\n".join(comments) + tail.replace("@FACTS@", "\n".join(facts))
    pathlib.Path(out).write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main(*sys.argv[1:])
