"""The resource manager: loading the library, opening and closing, the
search, and PyVISA's errors for what the library cannot do."""

import os
import shutil
import socket
import subprocess
import sys
from pathlib import Path

import pytest
import pyvisa
from pyvisa import constants

from conftest import PEER_WAIT_S

NAMESPACE_SEARCH_S = 60


def test_a_library_named_in_the_specification_is_loaded(line_instrument):
    library = os.environ["KVVISA_LIBRARY"]
    manager = pyvisa.ResourceManager(library + "@kvvisa")
    try:
        assert Path(manager.visalib.library_path.path) == Path(library)
        instrument = manager.open_resource(line_instrument[0], read_termination="\n")
        assert instrument.query("ping") == "ping"
    finally:
        manager.close()


def test_a_missing_library_is_reported_with_where_it_was_looked_for(monkeypatch, tmp_path):
    missing = tmp_path / "libKvVISA.so"
    monkeypatch.setenv("KVVISA_LIBRARY", str(missing))
    with pytest.raises(OSError, match="KVVISA_LIBRARY"):
        pyvisa.ResourceManager("@kvvisa")


def test_closing_the_manager_closes_its_resources(line_instrument):
    manager = pyvisa.ResourceManager("@kvvisa")
    name, peer = line_instrument
    instrument = manager.open_resource(name, read_termination="\n")
    instrument.query("ping")
    manager.close()
    assert peer.hung_up.wait(PEER_WAIT_S)
    with pytest.raises(pyvisa.errors.InvalidSession):
        instrument.query("ping")


def test_closing_a_resource_ends_its_connection(rm, line_instrument):
    name, peer = line_instrument
    with rm.open_resource(name, read_termination="\n") as instrument:
        instrument.query("ping")
    assert peer.hung_up.wait(PEER_WAIT_S)


@pytest.mark.parametrize(
    "operation",
    [
        lambda r: r.read_stb(),
        lambda r: r.assert_trigger(),
        lambda r: r.lock_excl(),
        lambda r: r.enable_event(constants.EventType.service_request, constants.EventMechanism.queue),
    ],
)
def test_what_the_library_cannot_do_is_not_supported(rm, line_instrument, operation):
    instrument = rm.open_resource(line_instrument[0])
    with pytest.raises(pyvisa.VisaIOError) as raised:
        operation(instrument)
    assert raised.value.error_code == constants.StatusCode.error_nonsupported_operation


def test_an_attribute_the_session_lacks_is_not_supported(rm, line_instrument):
    instrument = rm.open_resource(line_instrument[0])
    with pytest.raises(pyvisa.VisaIOError) as raised:
        instrument.get_visa_attribute(constants.ResourceAttribute.gpib_primary_address)
    assert raised.value.error_code == constants.StatusCode.error_nonsupported_attribute


def test_nobody_listening_is_resource_not_found(rm):
    # A port held without listening: nobody else can listen on it meanwhile.
    with socket.socket() as held:
        held.bind(("127.0.0.1", 0))
        with pytest.raises(pyvisa.VisaIOError) as raised:
            rm.open_resource("TCPIP::127.0.0.1::%d::SOCKET" % held.getsockname()[1])
    assert raised.value.error_code == constants.StatusCode.error_resource_not_found


LIST_EVERYTHING = """
import pyvisa
manager = pyvisa.ResourceManager("@kvvisa")
print("\\n".join(manager.list_resources("?*")))
"""


def test_a_search_of_every_transport_in_a_network_of_its_own(serial_port):
    # The network part broadcasts: it runs in a new network namespace,
    # where it finds no interface to broadcast on.
    if os.environ.get("KV_SKIP_NETNS_TESTS") == "1":
        pytest.skip("KV_SKIP_NETNS_TESTS=1: the search broadcasts, and namespaces are not to be built")
    unshare = shutil.which("unshare")
    if unshare is None or os.geteuid() != 0:
        pytest.fail("a search of the network needs root and unshare for a namespace of its own")
    result = subprocess.run(
        [unshare, "--net", sys.executable, "-c", LIST_EVERYTHING],
        capture_output=True,
        text=True,
        timeout=NAMESPACE_SEARCH_S,
    )
    assert result.returncode == 0, result.stderr
    assert result.stdout.split() == [serial_port[0]]
