from typing import SupportsIndex, TypeAlias

from ._math_n import *
from ._math_n import __all__ as __all__, patterns as patterns

Value: TypeAlias = SupportsIndex | str | bytes | bytearray | memoryview
