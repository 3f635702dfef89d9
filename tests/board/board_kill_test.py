#!/usr/bin/env python3
"""Kill -9 of stravo-board while laps arrive, then a restart: every lap that
was answered 201 is there with its proof, no row is half written, and the
restarted board serves the same boards as the killed one had accepted.

usage: board_kill_test.py BUILD"""

import os
import random
import sqlite3
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from board_harness import Board, Checks, make_laps  # noqa: E402

ROUNDS = 3
SENDERS = 4
MAX_SUBMISSIONS = 200  # per sender and round, far more than fit before the kill


FIRST_LAP_WAIT = 60.0  # s for a round's first 201 (the first one makes the circuit)


def send(board, token, proof, accepted, lock):
    for _ in range(MAX_SUBMISSIONS):
        try:
            status, body = board.submit(token, proof)
        except OSError:
            return
        if status == 201:
            with lock:
                accepted.append((body["lap"], token, body["class"]))


def main():
    build = sys.argv[1]
    c = Checks("board_kill")
    work = tempfile.TemporaryDirectory(prefix="stravo_board_kill_")
    board = None
    try:
        plain, turbo = make_laps(build, os.path.join(work.name, "laps"))
        db = os.path.join(work.name, "board.sqlite")
        data = os.path.join(work.name, "board-data")
        options = ("--submit-interval-ms", "0")
        accepted = []
        lock = threading.Lock()
        rng = random.Random(23)
        for round_ in range(ROUNDS):
            board = Board(build, db, data, *options)
            tokens = [board.player(f"driver-{round_}-{i}") for i in range(SENDERS)]
            senders = [threading.Thread(target=send, args=(board, t, turbo if i % 2 else plain, accepted, lock))
                       for i, t in enumerate(tokens)]
            before = len(accepted)
            for s in senders:
                s.start()
            deadline = time.monotonic() + FIRST_LAP_WAIT
            while len(accepted) == before and time.monotonic() < deadline:
                time.sleep(0.05)
            time.sleep(0.3 + rng.random())
            board.kill()
            for s in senders:
                s.join(timeout=30)
            c.check(f"round {round_}: laps accepted before the kill", len(accepted) > before, len(accepted))

        board = Board(build, db, data, *options)
        missing = [lap for lap, _, _ in accepted
                   if board.request("GET", f"/api/v1/laps/{lap}/proof")[1] not in (plain, turbo)]
        plain_players = len({token for _, token, cls in accepted if cls == "plain"})
        c.check(f"all {len(accepted)} answered laps are there with their proofs", not missing, missing[:5])
        status, body = board.json("GET", "/api/v1/boards/default/plain?limit=200")
        c.check("the board lists every player who drove a plain lap", status == 200 and
                body.get("total") == plain_players, (body.get("total"), plain_players))
        board.stop()

        with sqlite3.connect(db) as con:
            c.check("the database is whole", con.execute("PRAGMA integrity_check").fetchone()[0] == "ok")
            bad = con.execute("SELECT COUNT(*) FROM laps WHERE length(proof) NOT IN (?, ?)",
                              (len(plain), len(turbo))).fetchone()[0]
            c.check("no half-written lap", bad == 0, bad)
            orphans = con.execute("SELECT COUNT(*) FROM bests b LEFT JOIN laps l ON l.id = b.lap_id "
                                  "WHERE l.id IS NULL").fetchone()[0]
            c.check("every best names a stored lap", orphans == 0, orphans)
        print(f"{len(accepted)} laps answered 201 in {ROUNDS} rounds ended by kill -9")
    finally:
        if board:
            board.kill()
        work.cleanup()
    return c.finish()


if __name__ == "__main__":
    sys.exit(main())
