"""What the backend keeps for one open session: the library handle, what
the name says about the resource, and the attributes PyVISA expects a
session to hold that the library does not (time-out, termination, ...)."""

import ctypes
import threading
from typing import Optional

from pyvisa import constants, rname

from .resource_names import Transport

# PyVISA's and the VISA standard's default time-out.
DEFAULT_TIMEOUT_MS = 2000
# After a read that found no answer waiting, this many reads wait for the
# answer at once before looking for a waiting one again.
WAITING_ANSWER_RETRY = 8
# A time-out of 0 reads or writes only what can move at once, on sockets and
# serial ports; a USB bridge's own time-out of 0 may mean "no limit".
IMMEDIATE_MS = 0
USB_IMMEDIATE_MS = 1

# The most one library read asks for: what arrived beyond a message waits
# in the session for the next read.
READ_CHUNK = 65536


class Session:
    def __init__(
        self,
        handle: int,
        name: str,
        parsed: rname.ResourceName,
        layers: tuple,
        transport: Transport,
    ) -> None:
        self.handle = handle
        self.name = name
        self.parsed = parsed
        self.layers = layers
        self.transport = transport
        self.timeout_ms = DEFAULT_TIMEOUT_MS
        self.termchar = ord("\n")
        self.termchar_enabled = False
        self.send_end = True
        self.suppress_end = False
        # A serial port's reads end at the termination character by default.
        self.serial_end_in = constants.SerialTermination.termination_char
        # Bytes received but not yet handed to PyVISA; for the text layer,
        # the rest of the current line.
        self.pending = bytearray()
        # A text-layer line arriving in pieces.
        self.partial_line = bytearray()
        # The time-out the library session has now; None until first set.
        self.library_timeout_ms: Optional[int] = None
        self.buffer = ctypes.create_string_buffer(READ_CHUNK)
        usb = parsed.interface_type_const == constants.InterfaceType.usb
        self.immediate_ms = USB_IMMEDIATE_MS if usb else IMMEDIATE_MS
        self.writes_at_once_first = transport is not Transport.TEXT and not usb
        self._waiting_answer_skips = 0
        # PyVISA users may share a resource between threads.
        self.lock = threading.Lock()

    @property
    def is_serial(self) -> bool:
        return self.transport is Transport.SERIAL

    def ends_at_termchar(self) -> bool:
        return self.termchar_enabled or (
            self.is_serial and self.serial_end_in == constants.SerialTermination.termination_char
        )

    def ends_at_pause(self) -> bool:
        """A pause in the data ends a message, as on any VISA socket."""
        return self.transport is Transport.STREAM and not self.suppress_end

    def expects_waiting_answer(self) -> bool:
        """Whether to look for an answer that already arrived before waiting
        for one: one library call instead of three when it is there."""
        if self._waiting_answer_skips:
            self._waiting_answer_skips -= 1
            return False
        return True

    def found_waiting_answer(self, found: bool) -> None:
        if not found:
            self._waiting_answer_skips = WAITING_ANSWER_RETRY

    def discard_received(self) -> None:
        self.pending.clear()
        self.partial_line.clear()
