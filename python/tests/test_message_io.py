"""Message-based I/O as a PyVISA user does it, against a line-based
instrument on 127.0.0.1 and z5r-sim."""

import struct
import time

import pytest
import pyvisa
from pyvisa import constants
from pyvisa.resources import TCPIPSocket

from conftest import IDENTITY

TIMEOUT_MS = 300
SIGNATURE = 0x55AA
KV_SET, KV_GET = 3, 4
P_MODE = 3
FREQUENCY_STEP_MODE = 3
HEADER = struct.Struct("<HHhHBBHI")


def test_query_identity_through_a_socket_resource(rm, line_instrument):
    name, peer = line_instrument
    instrument = rm.open_resource(name, read_termination="\n")
    assert isinstance(instrument, TCPIPSocket)
    assert instrument.query("*IDN?") == IDENTITY.decode()
    assert peer.received == [b"*IDN?"]


@pytest.mark.parametrize(
    "write_termination, read_termination, encoding, text",
    [
        ("\r\n", "\n", "ascii", "MEAS:VOLT?"),
        ("\n", "\n", "utf-8", "Grüße 5 µV"),
        ("\n", None, "latin-1", "Grüße"),
    ],
)
def test_terminations_and_encodings(rm, line_instrument, write_termination, read_termination, encoding, text):
    name, peer = line_instrument
    instrument = rm.open_resource(
        name, write_termination=write_termination, read_termination=read_termination, encoding=encoding
    )
    answer = instrument.query(text)
    # Without a read termination the message ends where the data pauses.
    assert answer == text + ("" if read_termination else "\n")
    assert peer.received == [text.encode(encoding)]


def test_several_answers_in_one_arrival_are_read_one_by_one(rm, line_instrument):
    name, _ = line_instrument
    instrument = rm.open_resource(name, read_termination="\n")
    instrument.write_raw(b"first\nsecond\nthird\n")
    assert [instrument.read() for _ in range(3)] == ["first", "second", "third"]


def test_raw_transfers_and_counted_reads(rm, line_instrument):
    name, _ = line_instrument
    instrument = rm.open_resource(name)
    instrument.write_raw(b"0123456789\n")
    assert instrument.read_bytes(4) == b"0123"
    assert instrument.read_bytes(3) == b"456"
    assert instrument.read_raw() == b"789\n"


@pytest.mark.parametrize("read_termination", ["\n", None])
def test_a_read_times_out_after_the_time_set(rm, line_instrument, read_termination):
    name, _ = line_instrument
    instrument = rm.open_resource(name, read_termination=read_termination, timeout=TIMEOUT_MS)
    assert instrument.timeout == TIMEOUT_MS
    instrument.write("SILENT")
    started = time.monotonic()
    with pytest.raises(pyvisa.VisaIOError) as raised:
        instrument.read()
    assert raised.value.error_code == constants.StatusCode.error_timeout
    assert time.monotonic() - started >= TIMEOUT_MS / 1000


def test_clear_drops_what_was_not_read_and_the_session_goes_on(rm, line_instrument):
    name, _ = line_instrument
    instrument = rm.open_resource(name, read_termination="\n")
    instrument.write("stale")
    instrument.read_bytes(1)
    instrument.clear()
    assert instrument.query("fresh") == "fresh"


def packet(command, *values):
    body = struct.pack("<%dh" % (1 + len(values)), P_MODE, *values)
    return HEADER.pack(SIGNATURE, command, -0x8000, len(body), len(values), 0x20, 0, 0) + body


def test_packets_through_raw_writes_and_counted_reads(rm, simulator):
    instrument = rm.open_resource(simulator)
    instrument.write_raw(packet(KV_SET, 0, FREQUENCY_STEP_MODE))
    instrument.write_raw(packet(KV_GET, 0))
    answers = []
    for _ in range(2):
        header = HEADER.unpack(instrument.read_bytes(HEADER.size))
        body = instrument.read_bytes(header[3])
        answers.append((header[0], header[1], header[2], struct.unpack("<%dh" % (len(body) // 2), body)))
    assert answers == [
        (SIGNATURE, KV_SET, 0, (P_MODE, 0, FREQUENCY_STEP_MODE)),
        (SIGNATURE, KV_GET, 0, (P_MODE, 0, FREQUENCY_STEP_MODE)),
    ]


@pytest.mark.parametrize("write_termination", ["\r\n", "\n"])
def test_text_lines_through_the_text_layer(rm, simulator, write_termination):
    instrument = rm.open_resource(
        simulator + "::TCS", read_termination="\n", write_termination=write_termination
    )
    assert isinstance(instrument, TCPIPSocket)
    assert instrument.query("P_FREQUENCY = 0 2000000000") == "P_FREQUENCY = 0 2000000000"
    assert instrument.query("P_FREQUENCY ? 0") == "P_FREQUENCY ? 0 2000000000"
    assert instrument.query("KV_RESET") == "KV_RESET"
