"""The library's C exports as ctypes functions, with the argument types of
its headers (ViSession, ViStatus and ViAttr are 32 bits, ViAttrState 64)."""

import ctypes
from ctypes import POINTER, c_char_p, c_int32, c_uint16, c_uint32, c_uint64, c_void_p
from pathlib import Path

ViStatus = c_int32
ViSession = c_uint32
ViUInt32 = c_uint32

# What the library's find functions write: name, a zero, annotation, a zero.
FIND_BUFFER_SIZE = 256

_SIGNATURES = {
    "viOpenDefaultRM": [POINTER(ViSession)],
    "viFindRsrc": [ViSession, c_char_p, POINTER(ViSession), POINTER(ViUInt32), c_char_p],
    "viFindNext": [ViSession, c_char_p],
    "viOpen": [ViSession, c_char_p, ViUInt32, ViUInt32, POINTER(ViSession)],
    "viClose": [ViSession],
    "viSetAttribute": [ViSession, c_uint32, c_uint64],
    "viGetAttribute": [ViSession, c_uint32, c_void_p],
    "viRead": [ViSession, c_void_p, ViUInt32, POINTER(ViUInt32)],
    "viWrite": [ViSession, c_char_p, ViUInt32, POINTER(ViUInt32)],
    "viClear": [ViSession],
    "viFlush": [ViSession, c_uint16],
    "viStatusDesc": [ViSession, ViStatus, c_char_p],
}


class CLibrary:
    """The loaded library: one attribute per export the backend calls."""

    def __init__(self, path: Path) -> None:
        self.path = path
        self.dll = ctypes.CDLL(str(path))
        for name, argtypes in _SIGNATURES.items():
            function = getattr(self.dll, name)
            function.argtypes = argtypes
            function.restype = ViStatus
            setattr(self, name, function)
