"""Prints the folder under an installation prefix where this Python finds
packages: the one of its own search path under the prefix (Debian's
dist-packages for /usr and /usr/local), else the standard layout's."""

import sys
import sysconfig
from pathlib import Path

PACKAGE_FOLDERS = ("dist-packages", "site-packages")


def site_folder(prefix: Path) -> Path:
    for entry in sys.path:
        path = Path(entry)
        if path.name in PACKAGE_FOLDERS and path.parent.parent.parent == prefix:
            return path
    layout = {"base": str(prefix), "platbase": str(prefix)}
    return Path(sysconfig.get_path("purelib", "posix_prefix", vars=layout))


if __name__ == "__main__":
    print(site_folder(Path(sys.argv[1])))
