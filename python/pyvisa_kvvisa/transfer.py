"""Reads and writes as PyVISA expects them, over a library whose reads
wait for an exact count: wait for the first byte within the time left, take
whatever else has arrived with a zero time-out, keep what lies beyond the
message for the next read."""

import ctypes
import math
import re
import time
from typing import Optional, Tuple

from pyvisa import constants
from pyvisa.constants import StatusCode

from .clibrary import CLibrary
from .resource_names import Transport
from .session import READ_CHUNK, Session

VI_ATTR_TMO_VALUE = constants.VI_ATTR_TMO_VALUE
VI_TMO_INFINITE = constants.VI_TMO_INFINITE
_TMO = StatusCode.error_timeout
# A monitor with nothing published yet answers "busy" after its own wait.
_NOTHING_YET = (StatusCode.error_timeout, StatusCode.error_resource_busy)
# How long the data must pause before a message without a termination
# character counts as complete on a socket.
QUIET_GAP_MS = 10
# A line end the text layer takes: it sends a line only once CR LF ends it.
_BARE_LINE_FEED = re.compile(rb"(?<!\r)\n")


class Deadline:
    def __init__(self, timeout_ms: int) -> None:
        self.end = None if timeout_ms == VI_TMO_INFINITE else time.monotonic() + timeout_ms / 1000

    def remaining_ms(self) -> int:
        if self.end is None:
            return VI_TMO_INFINITE
        # Rounded up, so the library never gives up before the time set.
        return max(0, math.ceil((self.end - time.monotonic()) * 1000))

    def passed(self) -> bool:
        return self.end is not None and time.monotonic() >= self.end


def _set_library_timeout(lib: CLibrary, session: Session, timeout_ms: int) -> int:
    if session.library_timeout_ms == timeout_ms:
        return StatusCode.success
    status = lib.viSetAttribute(session.handle, VI_ATTR_TMO_VALUE, timeout_ms)
    if status >= 0:
        session.library_timeout_ms = timeout_ms
    return status


def _library_read(lib: CLibrary, session: Session, count: int, timeout_ms: int) -> Tuple[bytes, int]:
    status = _set_library_timeout(lib, session, timeout_ms)
    if status < 0:
        return b"", status
    got = ctypes.c_uint32(0)
    status = lib.viRead(session.handle, session.buffer, min(count, READ_CHUNK), ctypes.byref(got))
    return ctypes.string_at(session.buffer, got.value), status


def _take(session: Session, size: int, status: StatusCode) -> Tuple[bytes, StatusCode]:
    data = bytes(session.pending[:size])
    del session.pending[:size]
    return data, status


def _message_from_pending(
    session: Session, count: int, at_pause: bool
) -> Optional[Tuple[bytes, StatusCode]]:
    pending = session.pending
    if session.ends_at_termchar():
        end = pending.find(session.termchar, 0, count)
        if end >= 0:
            return _take(session, end + 1, StatusCode.success_termination_character_read)
    if len(pending) >= count:
        return _take(session, count, StatusCode.success_max_count_read)
    if at_pause and pending:
        return _take(session, len(pending), StatusCode.success)
    return None


def read_stream(lib: CLibrary, session: Session, count: int) -> Tuple[bytes, int]:
    """Up to `count` bytes ending at a termination character, at a pause in
    the data (sockets) or at the count; a time-out keeps what came."""
    deadline = Deadline(session.timeout_ms)
    at_pause = False
    looked_for_waiting_answer = False
    while True:
        message = _message_from_pending(session, count, at_pause)
        if message is not None:
            return message
        if not looked_for_waiting_answer and session.expects_waiting_answer():
            looked_for_waiting_answer = True
            waiting, status = _library_read(lib, session, READ_CHUNK, session.immediate_ms)
            session.found_waiting_answer(bool(waiting))
            session.pending += waiting
            if waiting:
                continue
            if status < 0 and status not in _NOTHING_YET:
                return b"", status
        awaiting_pause = session.ends_at_pause() and bool(session.pending)
        wait_ms = deadline.remaining_ms()
        if awaiting_pause:
            wait_ms = min(wait_ms, QUIET_GAP_MS)
        first, status = _library_read(lib, session, 1, wait_ms)
        if first:
            session.pending += first
            rest, status = _library_read(lib, session, READ_CHUNK, session.immediate_ms)
            session.pending += rest
            if status >= 0 or status in _NOTHING_YET:
                continue
            return b"", status
        if status < 0 and status not in _NOTHING_YET:
            return b"", status
        if awaiting_pause:
            at_pause = True
        elif deadline.passed():
            return b"", _TMO


def read_line(lib: CLibrary, session: Session, count: int) -> Tuple[bytes, int]:
    """The text layer: each line the library gives (one packet, ended by a
    zero byte) is one message, ended by the termination character when one
    is enabled."""
    if not session.pending:
        deadline = Deadline(session.timeout_ms)
        while True:
            piece, status = _library_read(lib, session, READ_CHUNK, deadline.remaining_ms())
            session.partial_line += piece
            if status == StatusCode.success:
                break
            if status == StatusCode.success_max_count_read:
                continue
            if status == StatusCode.error_resource_busy and not deadline.passed():
                continue
            return b"", status
        line = bytes(session.partial_line).rstrip(b"\0")
        session.partial_line.clear()
        if session.termchar_enabled:
            line += bytes((session.termchar,))
        session.pending += line
    if len(session.pending) > count:
        return _take(session, count, StatusCode.success_max_count_read)
    end = (
        StatusCode.success_termination_character_read
        if session.termchar_enabled
        else StatusCode.success
    )
    return _take(session, count, end)


def read(lib: CLibrary, session: Session, count: int) -> Tuple[bytes, int]:
    if session.transport is Transport.TEXT:
        return read_line(lib, session, count)
    return read_stream(lib, session, count)


def _library_write(lib: CLibrary, session: Session, data: bytes, timeout_ms: int) -> Tuple[int, int]:
    status = _set_library_timeout(lib, session, timeout_ms)
    if status < 0:
        return 0, status
    sent = ctypes.c_uint32(0)
    status = lib.viWrite(session.handle, data, len(data), ctypes.byref(sent))
    return min(sent.value, len(data)), status


def write(lib: CLibrary, session: Session, data: bytes) -> Tuple[int, int]:
    """All of `data` within the time-out; the text layer gets CR LF line ends."""
    if session.transport is Transport.TEXT:
        _, status = _library_write(lib, session, _BARE_LINE_FEED.sub(b"\r\n", bytes(data)), session.timeout_ms)
        return (len(data) if status >= 0 else 0), status
    deadline = Deadline(session.timeout_ms)
    payload = bytes(data)
    done = 0
    if session.writes_at_once_first:
        # What fits at once goes without changing the library's time-out
        # (reads leave it at zero); the rest waits within the time left.
        done, status = _library_write(lib, session, payload, session.immediate_ms)
        if status != _TMO:
            return done, status
    sent, status = _library_write(lib, session, payload[done:], deadline.remaining_ms())
    return done + sent, status


def available(lib: CLibrary, session: Session) -> int:
    """Bytes received and not yet read, without waiting."""
    if session.transport is not Transport.TEXT:
        rest, _ = _library_read(lib, session, READ_CHUNK, session.immediate_ms)
        session.pending += rest
    return len(session.pending)


def clear(lib: CLibrary, session: Session) -> int:
    session.discard_received()
    # The library reconnects within its time-out; that is the user's. A link
    # already lost refuses the time-out: the reconnect's status tells then.
    _set_library_timeout(lib, session, session.timeout_ms)
    status = lib.viClear(session.handle)
    # A reopened session has the time-out the library gives it (a USB
    # bridge's is 2000 ms): the next transfer sets its own again.
    session.library_timeout_ms = None
    return status
