"""Where libKvVISA.so is: named by the caller or the environment, else the
installed product's, else the one of the build tree these sources sit in."""

import os
from pathlib import Path
from typing import Iterator, List

LIBRARY_FILE = "libKvVISA.so"
ENVIRONMENT_VARIABLE = "KVVISA_LIBRARY"
# The product installs its application folder (the library with the protocol
# library and description the text layer needs beside it) as <prefix>/lib/z5r.
APPLICATION_FOLDER = Path("z5r")
SYSTEM_PREFIXES = (Path("/usr/local"), Path("/usr"))


# Installed with the product, the package is <prefix>/lib/python3*/*-packages/
# pyvisa_kvvisa, so <prefix>/lib is three folders above it.
_LIB_ABOVE_PACKAGE = 3


def _installed_beside_package() -> Iterator[Path]:
    parents = Path(__file__).resolve().parent.parents
    if len(parents) > _LIB_ABOVE_PACKAGE - 1:
        yield parents[_LIB_ABOVE_PACKAGE - 1] / APPLICATION_FOLDER / LIBRARY_FILE


def _installed_on_system() -> Iterator[Path]:
    for prefix in SYSTEM_PREFIXES:
        yield prefix / "lib" / APPLICATION_FOLDER / LIBRARY_FILE
    # The copy for C programs works too, only without the text layer's files.
    for prefix in SYSTEM_PREFIXES:
        yield prefix / "lib" / LIBRARY_FILE


def _build_tree() -> Iterator[Path]:
    sources = Path(__file__).resolve().parent.parent.parent
    yield sources / "build" / "app" / LIBRARY_FILE


def candidates() -> List[Path]:
    """The places tried, in order, when no library was named."""
    named = os.environ.get(ENVIRONMENT_VARIABLE)
    if named:
        return [Path(named)]
    return [*_installed_beside_package(), *_installed_on_system(), *_build_tree()]


def locate() -> Path:
    """The library to load, or OSError naming every place tried."""
    tried = candidates()
    for path in tried:
        if path.is_file():
            return path
    raise OSError(
        "%s not found; set %s or install the product. Tried: %s"
        % (LIBRARY_FILE, ENVIRONMENT_VARIABLE, ", ".join(str(p) for p in tried))
    )
