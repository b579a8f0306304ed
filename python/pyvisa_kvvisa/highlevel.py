"""The PyVISA backend: PyVISA's calls on sessions of libKvVISA.so."""

import ctypes
import threading
from pathlib import Path
from typing import Any, Dict, Iterable, Optional, Tuple

from pyvisa import constants, highlevel, rname
from pyvisa.constants import StatusCode
from pyvisa.util import LibraryPath

from . import attributes, library_location, resource_names, search, transfer
from .clibrary import CLibrary
from .session import Session

__version__ = "1.0.0"

# The library answers what it does not implement with "not implemented";
# PyVISA users know that as "operation not supported".
_NOT_IMPLEMENTED = constants.VI_ERROR_NIMPL_OPER


def _as_status(status: int) -> StatusCode:
    if status == _NOT_IMPLEMENTED:
        return StatusCode.error_nonsupported_operation
    return StatusCode(status)


class KvVisaLibrary(highlevel.VisaLibraryBase):
    """PyVISA's middle layer over libKvVISA.so: `ResourceManager('@kvvisa')`
    or `ResourceManager('/path/libKvVISA.so@kvvisa')`."""

    @staticmethod
    def get_library_paths() -> Iterable[LibraryPath]:
        return (LibraryPath(str(library_location.locate()), "kvvisa"),)

    @staticmethod
    def get_debug_info() -> Dict[str, Any]:
        try:
            library = str(library_location.locate())
        except OSError as error:
            library = str(error)
        return {"Version": __version__, "Library": library}

    def _init(self) -> None:
        self.lib = CLibrary(Path(self.library_path.path))
        self.sessions: Dict[int, Session] = {}
        self._sessions_lock = threading.Lock()
        manager = ctypes.c_uint32(0)
        self.lib.viOpenDefaultRM(ctypes.byref(manager))
        self._manager = manager.value

    def _status(self, session: Optional[int], status: int) -> StatusCode:
        return self.handle_return_value(session, _as_status(status))

    def _session(self, session: int) -> Session:
        try:
            return self.sessions[session]
        except KeyError:
            self._status(session, StatusCode.error_invalid_object)
            raise

    # Resource manager

    def open_default_resource_manager(self) -> Tuple[int, StatusCode]:
        return self._manager, self._status(None, StatusCode.success)

    def list_resources(self, session: int, query: str = "?*::INSTR") -> Tuple[str, ...]:
        names, status = search.list_resources(self.lib, session, query)
        self._status(session, status)
        return names

    def parse_resource_extended(self, session: int, resource_name: str):
        try:
            info = resource_names.resource_info(resource_name)
        except rname.InvalidResourceName:
            return (
                highlevel.ResourceInfo(constants.InterfaceType.unknown, 0, None, None, None),
                StatusCode.error_invalid_resource_name,
            )
        return info, StatusCode.success

    def open(
        self,
        session: int,
        resource_name: str,
        access_mode: constants.AccessModes = constants.AccessModes.no_lock,
        open_timeout: int = constants.VI_TMO_IMMEDIATE,
    ) -> Tuple[int, StatusCode]:
        try:
            parsed, layers = resource_names.parse(resource_name)
        except rname.InvalidResourceName:
            return 0, self._status(None, StatusCode.error_invalid_resource_name)
        library_name = resource_names.library_name(resource_name, parsed, layers)
        if library_name is None:
            return 0, self._status(None, StatusCode.error_resource_not_found)
        handle = ctypes.c_uint32(0)
        status = self.lib.viOpen(
            session, library_name.encode("ascii"), int(access_mode), int(open_timeout), ctypes.byref(handle)
        )
        if status < 0:
            return 0, self._status(None, status)
        transport = resource_names.transport_of(parsed, layers)
        with self._sessions_lock:
            self.sessions[handle.value] = Session(handle.value, resource_name, parsed, layers, transport)
        return handle.value, self._status(handle.value, status)

    def close(self, session: int) -> StatusCode:
        if session == self._manager:
            # Sessions PyVISA did not wrap in a resource end with the manager.
            for handle in list(self.sessions):
                self.close(handle)
            return self._status(session, self.lib.viClose(session))
        with self._sessions_lock:
            known = self.sessions.pop(session, None)
        if known is None:
            return self._status(session, StatusCode.error_invalid_object)
        with known.lock:
            return self._status(session, self.lib.viClose(session))

    # Transfers

    def read(self, session: int, count: int) -> Tuple[bytes, StatusCode]:
        s = self._session(session)
        with s.lock:
            data, status = transfer.read(self.lib, s, count)
        return data, self._status(session, status)

    def write(self, session: int, data: bytes) -> Tuple[int, StatusCode]:
        s = self._session(session)
        with s.lock:
            written, status = transfer.write(self.lib, s, data)
        return written, self._status(session, status)

    def clear(self, session: int) -> StatusCode:
        s = self._session(session)
        with s.lock:
            return self._status(session, transfer.clear(self.lib, s))

    def flush(self, session: int, mask: constants.BufferOperation) -> StatusCode:
        s = self._session(session)
        with s.lock:
            if int(mask) & (constants.VI_READ_BUF | constants.VI_READ_BUF_DISCARD | constants.VI_IO_IN_BUF):
                s.discard_received()
            # Only serial ports have queues of their own; writes are not buffered.
            status = self.lib.viFlush(session, int(mask)) if s.is_serial else StatusCode.success
        return self._status(session, status)

    # Attributes

    def get_attribute(self, session: int, attribute) -> Tuple[Any, StatusCode]:
        s = self._session(session)
        with s.lock:
            value, status = attributes.get(self.lib, s, int(attribute))
        return value, self._status(session, status)

    def set_attribute(self, session: int, attribute, attribute_state: Any) -> StatusCode:
        s = self._session(session)
        with s.lock:
            status = attributes.set(self.lib, s, int(attribute), attribute_state)
        return self._status(session, status)

    def status_description(self, session: int, status: int) -> Tuple[str, StatusCode]:
        text = ctypes.create_string_buffer(256)
        self.lib.viStatusDesc(session, status, text)
        return text.value.decode("ascii", "replace"), StatusCode.success

    # Events: the library raises none, so none is ever enabled or queued.

    def disable_event(self, session: int, event_type, mechanism) -> StatusCode:
        self._session(session)
        return self._status(session, StatusCode.success)

    def discard_events(self, session: int, event_type, mechanism) -> StatusCode:
        self._session(session)
        return self._status(session, StatusCode.success)

    # Buffered transfers are the plain ones: the backend buffers reads itself.

    def buffer_read(self, session: int, count: int) -> Tuple[bytes, StatusCode]:
        return self.read(session, count)

    def buffer_write(self, session: int, data: bytes) -> Tuple[int, StatusCode]:
        return self.write(session, data)


# Operations the library does not have: PyVISA's "not supported" error.
_UNSUPPORTED_OPERATIONS = (
    "assert_interrupt_signal", "assert_trigger", "assert_utility_signal",
    "enable_event", "gpib_command", "gpib_control_atn", "gpib_control_ren",
    "gpib_pass_control", "gpib_send_ifc", "in_8", "in_16", "in_32", "in_64",
    "install_handler", "lock", "map_address", "map_trigger", "memory_allocation",
    "memory_free", "move", "move_asynchronously", "move_in", "move_out",
    "out_8", "out_16", "out_32", "out_64", "peek", "poke", "read_asynchronously",
    "read_memory", "read_stb", "read_to_file", "set_buffer", "terminate",
    "uninstall_handler", "unlock", "unmap_address", "unmap_trigger",
    "usb_control_in", "usb_control_out", "vxi_command_query", "wait_on_event",
    "write_asynchronously", "write_from_file", "write_memory",
)


def _unsupported(name: str):
    def operation(self: KvVisaLibrary, session: int, *args: Any, **kwargs: Any) -> StatusCode:
        return self._status(session, StatusCode.error_nonsupported_operation)

    operation.__name__ = name
    operation.__doc__ = "Not supported by libKvVISA.so: raises VisaIOError (VI_ERROR_NSUP_OPER)."
    return operation


for _name in _UNSUPPORTED_OPERATIONS:
    setattr(KvVisaLibrary, _name, _unsupported(_name))
