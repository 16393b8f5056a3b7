"""The package's type stubs: against the module as it runs (mypy's
stubtest), and under mypy --strict for the README's calls and the types of
what calls return, where a wrong stub accepts a wrong call or type."""
import os
import re
import subprocess
import sys
import tempfile
import unittest

README = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "README.md")

# Each `ignore` must be needed, or --strict reports it unused.
CALLS = """
import math_n
total: int | None = math_n.addNat(3, 4, None)
holds: bool = math_n.addNat(3, 4, 7)
digits: str | None = math_n.d2bNat(10)
number: int | None = math_n.s2nNat(memoryview(b"42"))
value: math_n.Value = 42
math_n.s2nNat(42)  # type: ignore[call-overload]
math_n.addNat("3", 4)  # type: ignore[call-overload]
math_n.evenNat(4, None)  # type: ignore[call-arg]
wrong: int = math_n.subNat(3, 5)  # type: ignore[assignment]
"""


def mypy(*args, directory):
    # math_n.clingo imports clingo's module, which only clingo's own
    # Python has on Debian 12.
    config = os.path.join(directory, "mypy.ini")
    with open(config, "w") as out:
        out.write("[mypy]\n[mypy-clingo]\nignore_missing_imports = True\n")
    run = subprocess.run([sys.executable, "-m", *args, "--mypy-config-file" if "stubtest" in args[0] else
                          "--config-file", config], capture_output=True, text=True, cwd=directory)
    return run.returncode, run.stdout + run.stderr


class Stubs(unittest.TestCase):
    def test_stubtest(self):
        with tempfile.TemporaryDirectory() as directory:
            allowed = os.path.join(directory, "allowlist")
            with open(allowed, "w") as out:
                out.write("math_n.clingo\n")
            status, report = mypy("mypy.stubtest", "--allowlist", allowed, "math_n", directory=directory)
            self.assertEqual(status, 0, report)

    def test_strict_calls(self):
        with open(README, encoding="utf-8") as readme:
            calls = "".join(re.findall(r"```python\n(.*?)```", readme.read(), re.S)) + CALLS
        with tempfile.TemporaryDirectory() as directory:
            with open(os.path.join(directory, "calls.py"), "w") as out:
                out.write(calls)
            status, report = mypy("mypy", "--strict", "calls.py", directory=directory)
            self.assertEqual(status, 0, report)


if __name__ == "__main__":
    unittest.main()
