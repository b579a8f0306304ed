"""A PyVISA backend over libKvVISA.so: `pyvisa.ResourceManager('@kvvisa')`."""

from .highlevel import KvVisaLibrary, __version__

WRAPPER_CLASS = KvVisaLibrary

__all__ = ["KvVisaLibrary", "WRAPPER_CLASS", "__version__"]
