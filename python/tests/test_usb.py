"""USB bridges: USB...::RAW resources of devices the scripted D2XX library
(KVVISA_D2XX_LIBRARY, set by the build) plays. Each device echoes what is
written to it; the script file lists the devices present."""

import os
import subprocess
import sys
import threading
import time
from pathlib import Path

import pytest
import pyvisa
from pyvisa import constants
from pyvisa.resources import USBRaw

TIMEOUT_MS = 300
# Long enough that only the device's going away can end the read first.
LONG_TIMEOUT_MS = 60000
VANISH_AFTER_S = 0.2
SERIAL = "FT12AB34"
OTHER_SERIAL = "FT99"
STATUS = constants.StatusCode


class Bridges:
    """The devices present, as the fake library's script file says."""

    def __init__(self, script: Path) -> None:
        self.script = script

    def present(self, *lines: str) -> None:
        # Written whole and renamed: the library reads the script at every call.
        draft = self.script.with_suffix(".draft")
        draft.write_text("".join(line + "\n" for line in lines))
        draft.replace(self.script)


PLUGGED = ("device %s Korvel bridge A" % SERIAL, "device %s Korvel bridge B" % OTHER_SERIAL)


@pytest.fixture
def bridges(tmp_path, monkeypatch):
    library = os.environ.get("KVVISA_D2XX_LIBRARY")
    if not library or not Path(library).is_file():
        pytest.fail("KVVISA_D2XX_LIBRARY does not name the built scripted D2XX library")
    # The searches here look for bridges only.
    monkeypatch.setenv("KVVISA_NETWORK_SEARCH", "off")
    monkeypatch.setenv("KV_FAKE_D2XX_SCRIPT", str(tmp_path / "d2xx-script"))
    plugged = Bridges(tmp_path / "d2xx-script")
    plugged.present(*PLUGGED)
    return plugged


def name_of(serial: str) -> str:
    return "USB0::0x0403::0x6001::%s::RAW" % serial


@pytest.mark.parametrize(
    "query, found",
    [
        ("USB?*::RAW", ("USB::0::0::%s::RAW" % SERIAL, "USB::0::0::%s::RAW" % OTHER_SERIAL)),
        ("USB?*::FT99::RAW", ("USB::0::0::%s::RAW" % OTHER_SERIAL,)),
        ("USB?*::INSTR", ()),
    ],
)
def test_bridges_are_listed_with_the_query_syntax(rm, bridges, query, found):
    assert rm.list_resources(query) == found


@pytest.mark.parametrize(
    "name, manufacturer_id, model_code",
    [
        # as the search lists it
        ("USB::0::0::%s::RAW" % SERIAL, 0, 0),
        (name_of(SERIAL), 0x0403, 0x6001),
        ("USB0::1027::24577::%s::0::RAW" % SERIAL, 0x0403, 0x6001),
    ],
)
def test_a_bridge_opens_as_a_usb_raw_resource(rm, bridges, name, manufacturer_id, model_code):
    instrument = rm.open_resource(name, read_termination="\n", write_termination="\n")
    assert isinstance(instrument, USBRaw)
    assert (instrument.manufacturer_id, instrument.model_code) == (manufacturer_id, model_code)
    assert instrument.serial_number == SERIAL
    assert instrument.query("*IDN?") == "*IDN?"


@pytest.mark.parametrize(
    "name",
    [
        name_of("FT000000"),
        # a bridge's channels have serial numbers of their own
        "USB0::0x0403::0x6001::%s::1::RAW" % SERIAL,
    ],
)
def test_a_name_no_bridge_answers_is_not_found(rm, bridges, name):
    with pytest.raises(pyvisa.VisaIOError) as raised:
        rm.open_resource(name)
    assert raised.value.error_code == STATUS.error_resource_not_found


@pytest.mark.parametrize("read_limit", [None, 1, 3])
def test_reads_end_at_the_termination_the_count_or_a_pause(rm, bridges, read_limit):
    if read_limit is not None:
        # the device hands over its bytes a few at a time
        bridges.present(*PLUGGED, "read-limit %s %d" % (SERIAL, read_limit))
    instrument = rm.open_resource(name_of(SERIAL), read_termination="\n")
    instrument.write_raw(b"first\nsecond\n0123456789")
    assert [instrument.read(), instrument.read()] == ["first", "second"]
    assert instrument.read_bytes(4) == b"0123"
    assert instrument.read_raw() == b"456789"


def test_a_read_times_out_after_the_time_set(rm, bridges):
    instrument = rm.open_resource(name_of(SERIAL), timeout=TIMEOUT_MS)
    started = time.monotonic()
    with pytest.raises(pyvisa.VisaIOError) as raised:
        instrument.read_raw()
    assert raised.value.error_code == STATUS.error_timeout
    assert time.monotonic() - started >= TIMEOUT_MS / 1000


def test_clear_reopens_the_device_without_what_was_not_read(rm, bridges):
    instrument = rm.open_resource(name_of(SERIAL), read_termination="\n", write_termination="\n")
    instrument.write("stale")
    # the rest of the answer waits in the backend, the next one in the device
    instrument.read_bytes(1)
    instrument.write("old")
    instrument.clear()
    assert instrument.query("fresh") == "fresh"


def test_a_read_waiting_on_a_device_that_goes_away_ends(rm, bridges):
    instrument = rm.open_resource(name_of(SERIAL), timeout=LONG_TIMEOUT_MS)
    unplug = threading.Timer(VANISH_AFTER_S, bridges.present, args=(PLUGGED[1],))
    unplug.start()
    try:
        with pytest.raises(pyvisa.VisaIOError) as raised:
            instrument.read_raw()
    finally:
        unplug.join()
    assert raised.value.error_code == STATUS.error_io


@pytest.mark.parametrize(
    "operation, status",
    [
        pytest.param(lambda r: r.read_raw(), STATUS.error_connection_lost, id="read"),
        pytest.param(lambda r: r.write_raw(b"x"), STATUS.error_connection_lost, id="write"),
        # the device is closed, and cannot be opened again
        pytest.param(lambda r: r.clear(), STATUS.error_resource_not_found, id="clear"),
    ],
)
def test_a_device_gone_away_answers_with_an_error(rm, bridges, operation, status):
    instrument = rm.open_resource(name_of(SERIAL))
    other = rm.open_resource(name_of(OTHER_SERIAL), read_termination="\n", write_termination="\n")
    bridges.present(PLUGGED[1])
    with pytest.raises(pyvisa.VisaIOError) as raised:
        operation(instrument)
    assert raised.value.error_code == status
    assert other.query("unaffected") == "unaffected"
    instrument.close()


def test_clear_reopens_a_device_plugged_in_again(rm, bridges):
    instrument = rm.open_resource(name_of(SERIAL), read_termination="\n", write_termination="\n")
    bridges.present(PLUGGED[1])
    with pytest.raises(pyvisa.VisaIOError):
        instrument.clear()
    bridges.present(*PLUGGED)
    instrument.clear()
    assert instrument.query("back") == "back"


def test_a_program_that_exits_with_a_bridge_open_ends_cleanly(bridges):
    # Not through PyVISA, which closes its sessions first: the library closes
    # the bridge at the program's exit, after the D2XX library's own
    # destructors may have run.
    program = (
        "import ctypes, sys\n"
        "lib = ctypes.CDLL(sys.argv[1])\n"
        "rm, vi = ctypes.c_uint32(), ctypes.c_uint32()\n"
        "assert lib.viOpenDefaultRM(ctypes.byref(rm)) == 0\n"
        "assert lib.viOpen(rm, sys.argv[2].encode(), 0, 0, ctypes.byref(vi)) == 0\n"
    )
    ended = subprocess.run(
        [sys.executable, "-c", program, os.environ["KVVISA_LIBRARY"], name_of(SERIAL)],
        capture_output=True, text=True, timeout=60,
    )
    assert (ended.returncode, ended.stderr) == (0, "")
