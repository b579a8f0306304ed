"""Serial ports: a pseudo-terminal behind an ASRL name."""

import threading
import time

import pytest
import pyvisa
from pyvisa import constants
from pyvisa.resources import SerialInstrument


def test_query_over_a_serial_port(rm, serial_port):
    name, terminal = serial_port
    instrument = rm.open_resource(name)
    assert isinstance(instrument, SerialInstrument)
    instrument.write_termination = "\n"

    def answer():
        terminal.send(terminal.read_line().upper())

    peer = threading.Thread(target=answer)
    peer.start()
    # A serial read ends at the termination character even before one is set.
    assert instrument.query("volt?") == "VOLT?\n"
    peer.join()


@pytest.mark.parametrize(
    "attribute, value",
    [
        ("baud_rate", 115200),
        ("stop_bits", constants.StopBits.two),
        ("xon_char", "\x01"),
        ("end_input", constants.SerialTermination.none),
    ],
)
def test_serial_settings_are_kept(rm, serial_port, attribute, value):
    instrument = rm.open_resource(serial_port[0])
    setattr(instrument, attribute, value)
    assert getattr(instrument, attribute) == value


@pytest.mark.parametrize(
    "attribute, value",
    [
        # a pseudo-terminal has no parity
        ("parity", constants.Parity.even),
        ("flow_control", constants.ControlFlow.xon_xoff),
        ("end_output", constants.SerialTermination.termination_char),
    ],
)
def test_serial_settings_the_port_cannot_take_are_refused(rm, serial_port, attribute, value):
    instrument = rm.open_resource(serial_port[0])
    before = getattr(instrument, attribute)
    with pytest.raises(pyvisa.VisaIOError) as raised:
        setattr(instrument, attribute, value)
    assert raised.value.error_code == constants.StatusCode.error_nonsupported_attribute_state
    assert getattr(instrument, attribute) == before


def test_bytes_in_buffer_counts_what_arrived(rm, serial_port):
    name, terminal = serial_port
    instrument = rm.open_resource(name)
    terminal.send(b"12345")
    instrument.read_bytes(1)
    assert instrument.bytes_in_buffer == 4


def test_serial_ports_are_listed_with_the_query_syntax(rm, serial_port):
    name, _ = serial_port
    assert rm.list_resources("ASRL?*::INSTR") == (name,)
    assert rm.list_resources("ASRL[0-6]::INSTR") == ()


WRITE_TIMEOUT_MS = 300
# Far more than a pseudo-terminal holds while nobody reads the other side.
UNREAD_BYTES = 1 << 20


def test_a_write_nobody_takes_times_out_after_the_time_set(rm, serial_port):
    instrument = rm.open_resource(serial_port[0], timeout=WRITE_TIMEOUT_MS)
    started = time.monotonic()
    with pytest.raises(pyvisa.VisaIOError) as raised:
        instrument.write_raw(bytes(UNREAD_BYTES))
    assert raised.value.error_code == constants.StatusCode.error_timeout
    assert time.monotonic() - started >= WRITE_TIMEOUT_MS / 1000
