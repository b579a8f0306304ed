"""Resource names as PyVISA parses them, plus the library's layer tokens:
`...::SOCKET::TCS` (text layer) and `...::HOOK` (traffic monitor) name the
resource underneath and open it through a layer."""

import enum
from typing import Optional, Tuple

from pyvisa import constants, rname
from pyvisa.highlevel import ResourceInfo

TEXT_LAYER = "TCS"
MONITOR_LAYER = "HOOK"
_LAYERS = (TEXT_LAYER, MONITOR_LAYER)
_SEPARATOR = "::"


class Transport(enum.Enum):
    """How the backend moves a session's bytes."""

    STREAM = "stream"  # TCP socket, USB bridge, monitor: a pause ends a message
    SERIAL = "serial"  # serial port: only a count or a termination ends one
    TEXT = "text"  # text layer: each read brings one line


def split_layers(name: str) -> Tuple[str, Tuple[str, ...]]:
    """The resource underneath and the layer tokens after it, in order.
    Layer tokens are case-sensitive, as the library reads them."""
    parts = name.split(_SEPARATOR)
    layers = []
    while len(parts) > 1 and parts[-1] in _LAYERS:
        layers.insert(0, parts.pop())
    return _SEPARATOR.join(parts), tuple(layers)


def parse(name: str) -> Tuple[rname.ResourceName, Tuple[str, ...]]:
    """PyVISA's parse of the resource underneath; InvalidResourceName when
    PyVISA would refuse it."""
    base, layers = split_layers(name)
    return rname.parse_resource_name(base), layers


def resource_info(name: str) -> ResourceInfo:
    parsed, layers = parse(name)
    try:
        board = int(getattr(parsed, "board", 0) or 0)
    except ValueError:
        board = 0
    canonical = _SEPARATOR.join((str(parsed),) + layers)
    return ResourceInfo(parsed.interface_type_const, board, parsed.resource_class, canonical, None)


def library_name(name: str, parsed: rname.ResourceName, layers: Tuple[str, ...]) -> Optional[str]:
    """The name viOpen takes for the resource, or None for one the library
    cannot reach. PyVISA hands over its canonical name; the library's USB
    names have no interface number (a bridge's channels have serial numbers
    of their own), so only interface 0 exists."""
    if parsed.interface_type_const != constants.InterfaceType.usb:
        return name
    try:
        if int(parsed.usb_interface_number or 0) != 0:
            return None
    except ValueError:
        return None
    base = "USB%s::%s::%s::%s::RAW" % (
        parsed.board, parsed.manufacturer_id, parsed.model_code, parsed.serial_number
    )
    return _SEPARATOR.join((base,) + layers)


def transport_of(parsed: rname.ResourceName, layers: Tuple[str, ...]) -> Transport:
    if layers and layers[-1] == TEXT_LAYER:
        return Transport.TEXT
    if parsed.interface_type_const == constants.InterfaceType.asrl and not layers:
        return Transport.SERIAL
    return Transport.STREAM
