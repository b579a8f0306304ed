#!/usr/bin/env python3
"""`query` of a short line through the KvVISA PyVISA backend against the
same exchange through pyvisa-py's socket backend, in the same run, to the
same line-echo peer (a child process on 127.0.0.1). Like the other
comparisons it runs with the peer on the benchmark's CPU ("same-core") and,
with two CPUs or more, on another ("split-core"); repetitions of the two
sides are interleaved and the medians compared.

Needs KVVISA_LIBRARY (or an installed or built library) and PyVISA with
pyvisa-py; bench/run.sh sets both."""

import os
import random
import statistics
import subprocess
import sys
import time

import pyvisa

REPETITIONS = 15
QUERIES_PER_REPETITION = 2000
WARM_UP_QUERIES = 200
QUESTION = "*IDN?"
ANSWER = "Korvel,LineEcho,0001,1.0"
GOAL_RATIO = 1.2

# The peer: answers every line with ANSWER, as fast as Python can.
PEER = r"""
import os, socket, sys, threading
cpu = int(sys.argv[1])
os.sched_setaffinity(0, {cpu})
listener = socket.create_server(("127.0.0.1", 0))
print(listener.getsockname()[1], flush=True)
answer = sys.argv[2].encode() + b"\n"

def serve(connection):
    connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    pending = b""
    while True:
        chunk = connection.recv(65536)
        if not chunk:
            break
        pending += chunk
        lines = pending.count(b"\n")
        pending = pending[pending.rfind(b"\n") + 1:]
        if lines:
            connection.sendall(answer * lines)
    connection.close()

while True:
    connection, _ = listener.accept()
    threading.Thread(target=serve, args=(connection,), daemon=True).start()
"""


def layouts():
    cpus = sorted(os.sched_getaffinity(0))
    found = [("same-core", cpus[0], cpus[0])]
    if len(cpus) > 1:
        found.append(("split-core", cpus[0], cpus[1]))
    return found


def open_query_session(manager, port):
    session = manager.open_resource(
        "TCPIP::127.0.0.1::%d::SOCKET" % port, read_termination="\n", write_termination="\n"
    )
    session.timeout = 5000
    for _ in range(WARM_UP_QUERIES):
        assert session.query(QUESTION) == ANSWER
    return session


def time_queries(session):
    started = time.perf_counter()
    for _ in range(QUERIES_PER_REPETITION):
        session.query(QUESTION)
    return (time.perf_counter() - started) / QUERIES_PER_REPETITION * 1e6


def run_layout(name, bench_cpu, peer_cpu, managers):
    os.sched_setaffinity(0, {bench_cpu})
    peer = subprocess.Popen(
        [sys.executable, "-c", PEER, str(peer_cpu), ANSWER], stdout=subprocess.PIPE, text=True
    )
    try:
        port = int(peer.stdout.readline())
        sessions = {side: open_query_session(m, port) for side, m in managers.items()}
        samples = {side: [] for side in sessions}
        for _ in range(REPETITIONS):
            order = list(sessions)
            random.shuffle(order)
            for side in order:
                samples[side].append(time_queries(sessions[side]))
        for session in sessions.values():
            session.close()
        return {side: statistics.median(values) for side, values in samples.items()}
    finally:
        peer.kill()
        peer.wait()


def main():
    managers = {"kvvisa": pyvisa.ResourceManager("@kvvisa"), "pyvisa-py": pyvisa.ResourceManager("@py")}
    print("PyVISA %s; %d repetitions of %d queries of %r" % (
        pyvisa.__version__, REPETITIONS, QUERIES_PER_REPETITION, QUESTION))
    within_goal = True
    for name, bench_cpu, peer_cpu in layouts():
        medians = run_layout(name, bench_cpu, peer_cpu, managers)
        ratio = medians["kvvisa"] / medians["pyvisa-py"]
        within_goal = within_goal and ratio <= GOAL_RATIO
        print("%-10s query via kvvisa %7.1f us  via pyvisa-py %7.1f us  ratio %.2f (goal <= %.1f)" % (
            name, medians["kvvisa"], medians["pyvisa-py"], ratio, GOAL_RATIO))
    for manager in managers.values():
        manager.close()
    if not within_goal:
        print("pyvisa_query_bench: above the goal", file=sys.stderr)


if __name__ == "__main__":
    main()
