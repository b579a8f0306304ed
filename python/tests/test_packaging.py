"""`pip install ./python` works without downloads, and what it installs is
the backend PyVISA finds under its name."""

import os
import shutil
import subprocess
import sys
from pathlib import Path

PACKAGE_SOURCES = Path(__file__).resolve().parent.parent
INSTALL_S = 120

USE_INSTALLED = """
import pyvisa, pyvisa_kvvisa
print(pyvisa_kvvisa.__file__)
manager = pyvisa.ResourceManager("@kvvisa")
print(type(manager.visalib).__name__)
"""


def test_pip_installs_the_backend_without_downloads(tmp_path):
    sources = tmp_path / "sources"
    # A copy: building in place would leave build folders in the sources.
    shutil.copytree(PACKAGE_SOURCES, sources, ignore=shutil.ignore_patterns("__pycache__", "tests"))
    venv = tmp_path / "venv"
    subprocess.run(
        [sys.executable, "-m", "venv", "--system-site-packages", "--without-pip", str(venv)], check=True
    )
    python = venv / "bin" / "python"
    install = subprocess.run(
        [sys.executable, "-m", "pip", "--python", str(python), "install",
         "--no-index", "--no-build-isolation", str(sources)],
        capture_output=True,
        text=True,
        timeout=INSTALL_S,
    )
    assert install.returncode == 0, install.stdout + install.stderr
    # Away from the sources, so only the installed copy can be imported.
    used = subprocess.run(
        [str(python), "-c", USE_INSTALLED], capture_output=True, text=True, cwd=tmp_path,
        env={"KVVISA_LIBRARY": os.environ["KVVISA_LIBRARY"]},
    )
    assert used.returncode == 0, used.stderr
    module_file, wrapper = used.stdout.split()
    assert Path(module_file).is_relative_to(venv)
    assert wrapper == "KvVisaLibrary"
