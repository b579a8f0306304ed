"""A session's attributes: the serial settings the library applies to the
port, and the rest, which the backend keeps or reads off the resource name
(the library itself answers only the time-out and the serial settings)."""

import ctypes
from typing import Any, Callable, Dict, Optional, Tuple

from pyvisa import constants
from pyvisa.constants import InterfaceType, SerialTermination, StatusCode

from . import transfer
from .clibrary import CLibrary
from .session import Session

MANUFACTURER_NAME = "KvVISA"
IMPLEMENTATION_VERSION = 0x00010000
SPEC_VERSION = 0x00500800
IO_PROTOCOL_NORMAL = 1

# Applied by the library to the open port, with the widths it writes.
_LIBRARY_SERIAL = {
    constants.VI_ATTR_ASRL_BAUD: ctypes.c_uint32,
    constants.VI_ATTR_ASRL_DATA_BITS: ctypes.c_uint16,
    constants.VI_ATTR_ASRL_PARITY: ctypes.c_uint16,
    constants.VI_ATTR_ASRL_STOP_BITS: ctypes.c_uint16,
    constants.VI_ATTR_ASRL_XON_CHAR: ctypes.c_uint8,
    constants.VI_ATTR_ASRL_XOFF_CHAR: ctypes.c_uint8,
}

Getter = Callable[[Session], Any]

_EVERY_SESSION: Dict[int, Getter] = {
    constants.VI_ATTR_TMO_VALUE: lambda s: s.timeout_ms,
    constants.VI_ATTR_TERMCHAR: lambda s: s.termchar,
    constants.VI_ATTR_TERMCHAR_EN: lambda s: s.termchar_enabled,
    constants.VI_ATTR_SEND_END_EN: lambda s: s.send_end,
    constants.VI_ATTR_SUPPRESS_END_EN: lambda s: s.suppress_end,
    constants.VI_ATTR_RSRC_NAME: lambda s: s.name,
    constants.VI_ATTR_RSRC_CLASS: lambda s: s.parsed.resource_class,
    constants.VI_ATTR_INTF_TYPE: lambda s: s.parsed.interface_type_const,
    constants.VI_ATTR_INTF_NUM: lambda s: int(getattr(s.parsed, "board", 0) or 0),
    constants.VI_ATTR_RSRC_MANF_NAME: lambda s: MANUFACTURER_NAME,
    constants.VI_ATTR_RSRC_IMPL_VERSION: lambda s: IMPLEMENTATION_VERSION,
    constants.VI_ATTR_RSRC_SPEC_VERSION: lambda s: SPEC_VERSION,
    constants.VI_ATTR_RSRC_LOCK_STATE: lambda s: constants.AccessModes.no_lock,
    constants.VI_ATTR_IO_PROT: lambda s: IO_PROTOCOL_NORMAL,
}

_BY_INTERFACE: Dict[InterfaceType, Dict[int, Getter]] = {
    InterfaceType.tcpip: {
        constants.VI_ATTR_TCPIP_ADDR: lambda s: s.parsed.host_address,
        constants.VI_ATTR_TCPIP_HOSTNAME: lambda s: s.parsed.host_address,
        constants.VI_ATTR_TCPIP_PORT: lambda s: int(s.parsed.port),
        # the library sets both on every socket
        constants.VI_ATTR_TCPIP_NODELAY: lambda s: True,
        constants.VI_ATTR_TCPIP_KEEPALIVE: lambda s: True,
    },
    InterfaceType.usb: {
        constants.VI_ATTR_MANF_ID: lambda s: _usb_number(s.parsed.manufacturer_id),
        constants.VI_ATTR_MODEL_CODE: lambda s: _usb_number(s.parsed.model_code),
        constants.VI_ATTR_USB_SERIAL_NUM: lambda s: s.parsed.serial_number,
        constants.VI_ATTR_USB_INTFC_NUM: lambda s: int(s.parsed.usb_interface_number or 0),
    },
    InterfaceType.asrl: {
        constants.VI_ATTR_ASRL_END_IN: lambda s: s.serial_end_in,
        constants.VI_ATTR_ASRL_END_OUT: lambda s: SerialTermination.none,
        # the library opens every port without flow control
        constants.VI_ATTR_ASRL_FLOW_CNTRL: lambda s: constants.ControlFlow.none,
    },
}

# Values the library's serial sessions take besides their defaults: none.
_SERIAL_FIXED = {
    constants.VI_ATTR_ASRL_END_OUT: SerialTermination.none,
    constants.VI_ATTR_ASRL_FLOW_CNTRL: constants.ControlFlow.none,
}
_SERIAL_END_IN_TAKEN = (SerialTermination.none, SerialTermination.termination_char)
_MAX_TIMEOUT = constants.VI_TMO_INFINITE
_BYTE_RANGE = range(256)


def _usb_number(text: str) -> int:
    """A USB id as resource names write it: 0x and hexadecimal, or decimal."""
    return int(text, 16) if text.lower().startswith("0x") else int(text)


def _interface(session: Session) -> InterfaceType:
    return session.parsed.interface_type_const


def _serial_from_library(lib: CLibrary, session: Session, attribute: int) -> Tuple[Any, int]:
    value = _LIBRARY_SERIAL[attribute]()
    status = lib.viGetAttribute(session.handle, attribute, ctypes.byref(value))
    return value.value, status


def get(lib: CLibrary, session: Session, attribute: int) -> Tuple[Any, int]:
    if session.is_serial and attribute in _LIBRARY_SERIAL:
        return _serial_from_library(lib, session, attribute)
    if session.is_serial and attribute == constants.VI_ATTR_ASRL_AVAIL_NUM:
        return transfer.available(lib, session), StatusCode.success
    getter = _EVERY_SESSION.get(attribute) or _BY_INTERFACE.get(_interface(session), {}).get(attribute)
    if getter is None:
        return None, StatusCode.error_nonsupported_attribute
    return getter(session), StatusCode.success


def _set_serial(lib: CLibrary, session: Session, attribute: int, value: Any) -> Optional[int]:
    if attribute in _LIBRARY_SERIAL:
        status = lib.viSetAttribute(session.handle, attribute, int(value))
        # The library refuses a value the line does not take with "not found".
        if status == StatusCode.error_resource_not_found:
            return StatusCode.error_nonsupported_attribute_state
        return status
    if attribute == constants.VI_ATTR_ASRL_END_IN:
        if value not in _SERIAL_END_IN_TAKEN:
            return StatusCode.error_nonsupported_attribute_state
        session.serial_end_in = SerialTermination(value)
        return StatusCode.success
    if attribute in _SERIAL_FIXED:
        if value != _SERIAL_FIXED[attribute]:
            return StatusCode.error_nonsupported_attribute_state
        return StatusCode.success
    return None


def set(lib: CLibrary, session: Session, attribute: int, value: Any) -> int:
    if attribute == constants.VI_ATTR_TMO_VALUE:
        if not 0 <= int(value) <= _MAX_TIMEOUT:
            return StatusCode.error_nonsupported_attribute_state
        session.timeout_ms = int(value)
    elif attribute == constants.VI_ATTR_TERMCHAR:
        if int(value) not in _BYTE_RANGE:
            return StatusCode.error_nonsupported_attribute_state
        session.termchar = int(value)
    elif attribute == constants.VI_ATTR_TERMCHAR_EN:
        session.termchar_enabled = bool(value)
    elif attribute == constants.VI_ATTR_SEND_END_EN:
        session.send_end = bool(value)
    elif attribute == constants.VI_ATTR_SUPPRESS_END_EN:
        session.suppress_end = bool(value)
    elif session.is_serial and (serial := _set_serial(lib, session, attribute, value)) is not None:
        return serial
    elif attribute in _EVERY_SESSION or attribute in _BY_INTERFACE.get(_interface(session), {}):
        return StatusCode.error_attribute_read_only
    else:
        return StatusCode.error_nonsupported_attribute
    return StatusCode.success
