"""Real peers for the backend's tests: a line-based instrument on a
127.0.0.1 socket, z5r-sim as a child process, a pseudo-terminal behind a
serial port name. The build names the library and the simulator through
KVVISA_LIBRARY and Z5R_SIM."""

import os
import re
import socket
import subprocess
import threading
import uuid
from pathlib import Path

import pytest
import pyvisa

SIMULATOR_READY = re.compile(rb"z5r-sim ready port=(\d+) discovery=\d+ control=(\d+)\n")
PEER_WAIT_S = 10
IDENTITY = b"Korvel,LineEcho,0001,1.0"


@pytest.fixture
def rm():
    manager = pyvisa.ResourceManager("@kvvisa")
    yield manager
    manager.close()


class LinePeer:
    """Answers each line it receives ("\\n" ends it, a "\\r" before it is
    dropped): "*IDN?" with the identity, "SILENT" with nothing, anything else
    with the line itself. What it received is kept."""

    def __init__(self, connection_ends) -> None:
        self.received = []
        self.connection_ends = connection_ends
        self.hung_up = threading.Event()

    def answer(self, line: bytes):
        self.received.append(line)
        if line == b"*IDN?":
            return IDENTITY + self.connection_ends
        if line == b"SILENT":
            return b""
        return line + self.connection_ends


def serve_lines(connection: socket.socket, peer: LinePeer) -> None:
    pending = b""
    with connection:
        while True:
            try:
                chunk = connection.recv(65536)
            except OSError:
                return
            if not chunk:
                peer.hung_up.set()
                return
            pending += chunk
            while b"\n" in pending:
                line, pending = pending.split(b"\n", 1)
                connection.sendall(peer.answer(line.rstrip(b"\r")))


@pytest.fixture
def line_instrument():
    """(resource name, peer) of a line-based instrument on 127.0.0.1."""
    listener = socket.create_server(("127.0.0.1", 0))
    peer = LinePeer(b"\n")

    def accept_all():
        while True:
            try:
                connection, _ = listener.accept()
            except OSError:
                return
            threading.Thread(target=serve_lines, args=(connection, peer), daemon=True).start()

    thread = threading.Thread(target=accept_all, daemon=True)
    thread.start()
    yield "TCPIP::127.0.0.1::%d::SOCKET" % listener.getsockname()[1], peer
    # Wakes the accepting thread: closing alone does not.
    listener.shutdown(socket.SHUT_RDWR)
    listener.close()
    thread.join(PEER_WAIT_S)


@pytest.fixture
def simulator():
    """The resource name of a z5r-sim started for the test."""
    path = os.environ.get("Z5R_SIM")
    if not path or not Path(path).is_file():
        pytest.fail("Z5R_SIM does not name the built z5r-sim")
    process = subprocess.Popen(
        [path, "--address", "127.0.0.1", "--port", "0", "--discovery-port", "0", "--control-port", "0"],
        stdout=subprocess.PIPE,
    )
    try:
        ready = SIMULATOR_READY.fullmatch(process.stdout.readline())
        assert ready, "z5r-sim did not report ready"
        yield "TCPIP::127.0.0.1::%s::SOCKET" % ready.group(1).decode()
    finally:
        process.terminate()
        process.wait(PEER_WAIT_S)
        process.stdout.close()


class PseudoTerminal:
    """A pseudo-terminal whose device the serial port map names; the test
    plays the instrument on the other side."""

    def __init__(self) -> None:
        self.master, self.slave = os.openpty()
        self.device = os.ttyname(self.slave)

    def read_line(self) -> bytes:
        line = b""
        while not line.endswith(b"\n"):
            line += os.read(self.master, 1)
        return line

    def send(self, data: bytes) -> None:
        os.write(self.master, data)

    def close(self) -> None:
        os.close(self.master)
        os.close(self.slave)


SERIAL_PORT_NUMBER = 7


@pytest.fixture
def serial_port(tmp_path, monkeypatch):
    """(resource name, pseudo-terminal): ASRL7 is the terminal, and the only
    port there is."""
    terminal = PseudoTerminal()
    port_map = tmp_path / ("serial-ports-%s.conf" % uuid.uuid4().hex)
    port_map.write_text("ASRL%d = %s\ndefault = off\n" % (SERIAL_PORT_NUMBER, terminal.device))
    monkeypatch.setenv("KVVISA_SERIAL_PORTS", str(port_map))
    yield "ASRL%d::INSTR" % SERIAL_PORT_NUMBER, terminal
    terminal.close()
