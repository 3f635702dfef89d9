#!/usr/bin/env python3
"""The headless runner on a real stravo-board (SQLite, free loopback port):
an autopilot lap submitted and ranked, a second player's faster lap fetched,
checked and driven as the rival's ghost, a taken name, the board stopped
while a lap is sent (it waits in the outbox and goes at the next start), and
boards that answer garbage, hang, reset the connection, send a huge body or
a proof that does not verify.

usage: board_client_test.py BUILD"""

import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import board_harness  # noqa: E402
from board_harness import Board, Checks, make_flying_lap, make_laps  # noqa: E402
from fake_board import FakeBoard  # noqa: E402

RUN_TIMEOUT = 120      # s for one runner
FAULT_TIMEOUT_MS = 1500  # each exchange with a fake board
FAULT_BOUND = 10.0     # s a runner may take against a fake board


class Runner:
    def __init__(self, build, folder, config):
        self.sim = f"{build}/stravo-sim"
        self.folder = folder
        self.env = dict(os.environ, XDG_CONFIG_HOME=config)

    def run(self, *args, env=None):
        start = time.monotonic()
        done = subprocess.run([self.sim, "--dir", self.folder, *args], capture_output=True, text=True,
                              timeout=RUN_TIMEOUT, env=dict(self.env, **(env or {})))
        return done.returncode, done.stdout + done.stderr, time.monotonic() - start

    def outbox(self):
        path = os.path.join(self.folder, "outbox")
        return sorted(os.listdir(path)) if os.path.isdir(path) else []


def start_board(build, work, port=None):
    """A board on SQLite in WORK; on PORT when given (a restart where the
    client expects it), else on a free one."""
    pick = board_harness.free_port
    if port is not None:
        board_harness.free_port = lambda: port
    try:
        board = Board(build, os.path.join(work, "board.sqlite"), os.path.join(work, "board-data"),
                      "--submit-interval-ms", "0")
    finally:
        board_harness.free_port = pick
    board.url = f"http://127.0.0.1:{board.port}"
    return board


def copy_data_set(source, folder):
    os.makedirs(folder)
    shutil.copytree(os.path.join(source, "data"), os.path.join(folder, "data"))


def check_real_board(c, build, work, alice, bob):
    board = start_board(build, work)
    try:
        ghost = os.path.join(alice.folder, "ghosts", "best.ghost")
        code, out, _ = alice.run("--board", board.url, "--name", "alice", "--submit", ghost)
        c.check("alice's lap accepted", code == 0 and "accepted as lap" in out, out)
        c.check("alice ranked first of one", "alice rank 1 / 1 1:20.18" in out, out)
        token_file = os.path.join(alice.env["XDG_CONFIG_HOME"], "stravo", "tokens")
        c.check("token file readable by the player only",
                os.path.exists(token_file) and stat.S_IMODE(os.stat(token_file).st_mode) == 0o600)
        c.check("outbox empty after 201", alice.outbox() == [])

        code, out, _ = bob.run("--board", board.url, "--name", "alice", "--submit", ghost)
        c.check("a taken name says so", code == 1 and "is taken" in out, out)
        c.check("the lap waits for another name", len(bob.outbox()) == 1, bob.outbox())
        for name in bob.outbox():
            os.remove(os.path.join(bob.folder, "outbox", name))

        code, out, _ = bob.run("--board", board.url, "--name", "bob", "--submit",
                               os.path.join(bob.folder, "ghosts", "best.ghost"))
        c.check("bob's faster lap leads", code == 0 and "bob rank 1 / 2 1:17.62" in out, out)

        code, out, _ = alice.run("--board", board.url, "--fetch-rival")
        c.check("alice now second", "alice rank 2 / 2" in out, out)
        c.check("bob is the rival, verified", "rival: bob 1:17.62 rank 1 verified" in out, out)
        rival = os.path.join(alice.folder, "ghosts", "rival.ghost")
        code, out, _ = alice.run("--ghost", rival, "--autopilot", "--ticks", "3000")
        ticks = re.search(r"ghost ticks: (\d+)", out)
        # The ghost starts at the first touch of the line, 20 m after the car.
        c.check("the rival drives as a ghost", code == 0 and ticks and int(ticks.group(1)) > 2500, out)

        # The board goes away while bob sends a lap; it goes at his next start.
        board.stop()
        code, out, _ = bob.run("--board", board.url, "--submit", os.path.join(bob.folder, "ghosts", "best.ghost"))
        c.check("offline: the lap waits", code == 5 and len(bob.outbox()) == 1, out)
        board = start_board(build, work, board.port)
        code, out, _ = bob.run("--board", board.url)
        c.check("next start: the lap is sent", code == 0 and "accepted as lap 3" in out and bob.outbox() == [], out)

        # A board on a new database no longer knows bob's token: his name is registered again.
        board.stop()
        os.remove(os.path.join(work, "board.sqlite"))
        board = start_board(build, work, board.port)
        code, out, _ = bob.run("--board", board.url, "--submit", os.path.join(bob.folder, "ghosts", "best.ghost"))
        c.check("a lost token: registered again and sent", code == 0 and "bob rank 1 / 1" in out, out)
    finally:
        board.stop()


def check_fake_boards(c, alice):
    env = {"STRAVO_BOARD_TIMEOUT_MS": str(FAULT_TIMEOUT_MS)}
    ghost = os.path.join(alice.folder, "ghosts", "best.ghost")
    for mode in ("garbage", "hang", "reset", "huge"):
        fake = FakeBoard(mode)
        try:
            token_file = os.path.join(alice.env["XDG_CONFIG_HOME"], "stravo", "tokens")
            with open(token_file, "a") as f:
                f.write(f"{fake.url}\talice\tfaketoken\n")
            code, out, took = alice.run("--board", fake.url, "--name", "alice", "--submit", ghost, env=env)
            c.check(f"{mode}: the lap waits in the outbox", code == 5 and len(alice.outbox()) == 1, out)
            c.check(f"{mode}: bounded in time", took < FAULT_BOUND, f"{took:.1f} s")
            for name in alice.outbox():
                os.remove(os.path.join(alice.folder, "outbox", name))
        finally:
            fake.stop()
    fake = FakeBoard("badproof")
    try:
        code, out, _ = alice.run("--board", fake.url, "--name", "alice", "--fetch-rival", env=env)
        c.check("a forged proof is refused", code == 1 and "rival refused" in out and "leader refused" in out, out)
    finally:
        fake.stop()
    code, out, _ = alice.run("--board", "file:///etc/passwd")
    c.check("other URLs refused with the usage line", code == 2 and "usage:" in out, out)


def main():
    build = sys.argv[1]
    c = Checks("board_client")
    work = tempfile.mkdtemp(prefix="stravo_board_client_")
    try:
        source = os.path.join(work, "source")
        make_laps(build, source)
        copy_data_set(source, os.path.join(work, "alice"))
        copy_data_set(source, os.path.join(work, "bob"))
        alice = Runner(build, os.path.join(work, "alice"), os.path.join(work, "config-alice"))
        bob = Runner(build, os.path.join(work, "bob"), os.path.join(work, "config-bob"))
        alice.run("--autopilot")
        make_flying_lap(build, bob.folder)
        check_real_board(c, build, work, alice, bob)
        check_fake_boards(c, alice)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return c.finish()


if __name__ == "__main__":
    sys.exit(main())
