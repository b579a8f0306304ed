"""list_resources over the library's search: every name of the find list,
filtered with PyVISA's query syntax. The library closes a find list itself
after its last entry, so only a list of one entry is closed here."""

import ctypes
import os
import re
import threading
from typing import List, Tuple

from pyvisa import rname
from pyvisa.constants import StatusCode

from .clibrary import FIND_BUFFER_SIZE, CLibrary

# The transports the library can search one at a time; a query that can
# only match one of them spares the others (and the network broadcast).
_TRANSPORT_WORDS = ("ASRL", "USB", "TCPIP")
_LEADING_WORD = re.compile(r"[A-Za-z]+")
# "ASRL*" is "ASR" and any number of "L": the word is not fixed then.
_REPEATS_OF_LAST_LETTER = ("*", "+")
# The library's network part answers every expression, by broadcasting; this
# variable, read at each search, leaves it out.
_NETWORK_SEARCH_VARIABLE = "KVVISA_NETWORK_SEARCH"
_WITHOUT_NETWORK = ("ASRL", "USB")
# The variable is the process's: searches that set it take turns.
_environment_lock = threading.Lock()


def library_expression(query: str) -> str:
    """The library's search expression for a PyVISA query: the one
    transport the query's fixed beginning names, else every transport."""
    if "|" in query:
        return ""
    match = _LEADING_WORD.match(query)
    if match is None:
        return ""
    word = match.group(0).upper()
    repeated = query[match.end() : match.end() + 1] in _REPEATS_OF_LAST_LETTER
    return word if word in _TRANSPORT_WORDS and not repeated else ""


def found_names(lib: CLibrary, manager: int, expression: str) -> Tuple[List[str], int]:
    """Every resource name the library's search gives, and its status."""
    find_list = ctypes.c_uint32(0)
    count = ctypes.c_uint32(0)
    description = ctypes.create_string_buffer(FIND_BUFFER_SIZE)
    status = lib.viFindRsrc(
        manager, expression.encode("ascii"), ctypes.byref(find_list), ctypes.byref(count), description
    )
    if status == StatusCode.error_resource_not_found:
        return [], StatusCode.success
    if status < 0:
        return [], status
    names = [description.value.decode("ascii", "replace")]
    for _ in range(count.value - 1):
        status = lib.viFindNext(find_list.value, description)
        if status < 0:
            return names, status
        names.append(description.value.decode("ascii", "replace"))
    if count.value == 1:
        lib.viClose(find_list.value)
    return names, StatusCode.success


def _found_names_without_network(lib: CLibrary, manager: int, expression: str) -> Tuple[List[str], int]:
    with _environment_lock:
        if _NETWORK_SEARCH_VARIABLE in os.environ:
            # the user's own choice
            return found_names(lib, manager, expression)
        os.environ[_NETWORK_SEARCH_VARIABLE] = "off"
        try:
            return found_names(lib, manager, expression)
        finally:
            del os.environ[_NETWORK_SEARCH_VARIABLE]


def list_resources(lib: CLibrary, manager: int, query: str) -> Tuple[Tuple[str, ...], int]:
    expression = library_expression(query)
    if expression in _WITHOUT_NETWORK:
        names, status = _found_names_without_network(lib, manager, expression)
    else:
        names, status = found_names(lib, manager, expression)
    return rname.filter(names, query), status
