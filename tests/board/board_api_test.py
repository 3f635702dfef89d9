#!/usr/bin/env python3
"""stravo-board's API against a real server process: players, proven laps,
boards, bad input of every kind, a restart; on SQLite, or with --postgres on a
PostgreSQL cluster the test starts itself, with a second server process on the
same database.

usage: board_api_test.py BUILD [--postgres]"""

import json
import os
import socket
import struct
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from board_harness import Board, Checks, Postgres, make_laps  # noqa: E402

SUBMIT_INTERVAL_MS = 600
LAP_TIME_AT = 48  # offset of the f32 lap time in a lap proof
END_STATE_AT = 64  # offset of the u64 hash of the car at the lap's end


def fnv(data):
    h = 1469598103934665603
    for b in data:
        h = ((h ^ b) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return h


def resealed(data):
    return data[:-8] + struct.pack("<Q", fnv(data[:-8]))


def forged_time(proof):
    """The same lap claiming to be a second faster, checksum made to match."""
    data = bytearray(proof)
    t = struct.unpack_from("<f", data, LAP_TIME_AT)[0]
    struct.pack_into("<f", data, LAP_TIME_AT, t - 1.0)
    return resealed(bytes(data))


def forged_end_state(proof):
    """The same run claiming another car at the lap's end, checksum made to match."""
    data = bytearray(proof)
    h = struct.unpack_from("<Q", data, END_STATE_AT)[0]
    struct.pack_into("<Q", data, END_STATE_AT, h ^ 1)
    return resealed(bytes(data))


def players(c, board):
    status, body = board.json("POST", "/api/v1/players", json.dumps({"name": "Alice"}))
    c.check("a player is made", status == 201 and len(body.get("token", "")) == 64, (status, body))
    alice = body.get("token", "")
    for name, want in (("ALICE", 409), ("ab", 422), ("x" * 25, 422), ("tab\there", 422), (" lead", 422)):
        status, body = board.json("POST", "/api/v1/players", json.dumps({"name": name}))
        c.check(f"name {name!r} refused", status == want and "error" in body, (status, body))
    for raw in (b"", b"{", b"[]", b'{"name": 5}'):
        status, body = board.json("POST", "/api/v1/players", raw)
        c.check(f"body {raw!r} refused", status == 400 and "error" in body, (status, body))
    script = board.player("<script>x</script>")
    sql = board.player("x'); DROP TABLE laps;--")
    return alice, script, sql


def bad_laps(c, board, token, proof):
    status, _ = board.submit(None, proof)
    c.check("no token: 401", status == 401)
    for bad in ("nothex", "0" * 64, token[:-1]):
        status, _ = board.submit(bad, proof)
        c.check(f"bad token {bad[:8]}...: 401", status == 401, status)
    status, body = board.submit(token, b"")
    c.check("empty body: 400", status == 400 and "error" in body, (status, body))
    status, body = board.submit(token, b"\0" * (5 << 20))
    c.check("huge body: 413", status == 413 and "error" in body, (status, body))
    for query, want in (("circuit=../../etc", 400), ("circuit=seed-01", 400), ("generator=x", 400)):
        status, body = board.submit(token, proof, query)
        c.check(f"query {query}: {want}", status == want, (status, body))
    damaged = bytearray(proof)
    damaged[len(damaged) // 2] ^= 0x40
    cases = (("damaged", bytes(damaged), "checksum"), ("truncated", proof[:-100], ""),
             ("random", os.urandom(4096), "wrong magic"), ("forged time", forged_time(proof), "lap time"),
             ("forged end state", forged_end_state(proof), "stated state"))
    for what, data, reason in cases:
        time.sleep(SUBMIT_INTERVAL_MS / 1000)
        status, body = board.submit(token, data)
        c.check(f"{what} proof: 422 ({reason})", status == 422 and reason in body.get("error", ""), (status, body))
    time.sleep(SUBMIT_INTERVAL_MS / 1000)
    status, body = board.submit(token, proof, "circuit=default&generator=99")
    c.check("unknown generator: 422", status == 422 and "generator" in body.get("error", ""), (status, body))
    time.sleep(SUBMIT_INTERVAL_MS / 1000)
    status, body = board.submit(token, proof, "circuit=seed-7")
    c.check("lap of another circuit: 422", status == 422 and "not of seed-7" in body.get("error", ""), (status, body))
    time.sleep(SUBMIT_INTERVAL_MS / 1000)


def good_laps(c, board, tokens, plain, turbo):
    alice, script, sql = tokens
    status, body = board.submit(alice, plain)
    c.check("plain lap: 201 rank 1", status == 201 and body.get("rank") == 1 and body.get("time_text") == "1:20.18",
            (status, body))
    first = body.get("lap")
    status, body = board.submit(alice, plain)
    c.check("too fast again: 429", status == 429, (status, body))
    status, body = board.submit(script, plain)
    c.check("the same time shares rank 1", status == 201 and body.get("rank") == 1, (status, body))
    status, body = board.submit(sql, turbo)
    c.check("turbo lap on its own board", status == 201 and body.get("class") == "turbo" and body.get("rank") == 1,
            (status, body))
    time.sleep(SUBMIT_INTERVAL_MS / 1000)
    status, body = board.submit(alice, plain)
    c.check("a lap no better is kept, not best", status == 201 and body.get("best") is False, (status, body))
    return first


def reads(c, board, first, plain):
    status, body = board.json("GET", "/api/v1/boards/default/plain")
    laps = body.get("laps", [])
    c.check("plain board: two players", status == 200 and body.get("total") == 2 and len(laps) == 2, body)
    c.check("ranks and names", [(l["rank"], l["player"]) for l in laps] == [(1, "Alice"), (1, "<script>x</script>")],
            laps)
    c.check("sectors add up", all(abs(sum(l["sectors"]) - 80.18) < 0.005 for l in laps), laps)
    status, body = board.json("GET", "/api/v1/boards/default/turbo?offset=0&limit=1")
    c.check("turbo board", status == 200 and body["laps"][0]["player"] == "x'); DROP TABLE laps;--", body)
    status, body = board.json("GET", "/api/v1/boards/default/plain?offset=1&limit=1")
    c.check("offset and limit", status == 200 and len(body["laps"]) == 1 and body["laps"][0]["rank"] == 1, body)
    for path, want in (("/api/v1/boards/default/plain?limit=1000", 400), ("/api/v1/boards/default/plain?offset=-1", 400),
                       ("/api/v1/boards/default/fast", 404), ("/api/v1/boards/seed-x/plain", 404),
                       ("/api/v1/laps/0", 404), ("/api/v1/laps/99999", 404), ("/api/v1/laps/1abc", 404),
                       ("/api/v1/laps/../players", 404), ("/api/v1/laps/%2e%2e%2fplayers", 404),
                       ("/api/v1/laps/-1", 404), ("/api/v1/laps/" + "9" * 40, 404)):
        status, body = board.json("GET", path)
        c.check(f"GET {path}: {want}", status == want and "error" in body, (status, body))
    status, body = board.json("GET", f"/api/v1/laps/{first}")
    c.check("lap details", status == 200 and body.get("player") == "Alice" and body.get("ticks") == 6014, body)
    status, data, headers = board.request("GET", f"/api/v1/laps/{first}/proof")
    c.check("the proof comes back as it was sent", status == 200 and data == plain, status)
    status, html, _ = board.request("GET", "/circuits/default/plain")
    c.check("names escaped on the page", b"&lt;script&gt;x&lt;/script&gt;" in html and b"<script>" not in html)


def slow_client(c, board):
    """A client that stops half way through its headers is cut off by the
    time-out while others are served."""
    s = socket.create_connection(("127.0.0.1", board.port), timeout=10)
    s.sendall(b"GET /healthz HTTP/1.1\r\nHost: x\r\n")
    status, _, _ = board.request("GET", "/healthz")
    c.check("served beside a slow client", status == 200)
    s.settimeout(6)
    try:
        closed = s.recv(100) is not None
    except socket.timeout:
        closed = False
    c.check("slow client cut off", closed)
    s.close()


def board_state(board):
    return [board.json("GET", f"/api/v1/boards/default/{cls}")[1] for cls in ("plain", "turbo")]


def daily(c, board):
    before = "seed-" + time.strftime("%Y%m%d", time.gmtime())
    status, body = board.json("GET", "/api/v1/daily")
    after = "seed-" + time.strftime("%Y%m%d", time.gmtime())  # the same but at midnight
    c.check("the day's circuit", status == 200 and body.get("circuit") in (before, after), (status, body))
    status, page, _ = board.request("GET", "/")
    c.check("the front page names it first", status == 200 and b'id="daily"' in page and
            page.find(b'id="daily"') < page.find(b'id="circuits"'), page[:300])


def main():
    build = sys.argv[1]
    postgres = "--postgres" in sys.argv
    c = Checks("board_api_postgres" if postgres else "board_api_sqlite")
    work = tempfile.TemporaryDirectory(prefix="stravo_board_api_")
    pg = None
    boards = []
    try:
        plain, turbo = make_laps(build, os.path.join(work.name, "laps"))
        if postgres:
            pg = Postgres()
            db = pg.url
        else:
            db = os.path.join(work.name, "board.sqlite")
        data = os.path.join(work.name, "board-data")
        options = ("--submit-interval-ms", str(SUBMIT_INTERVAL_MS), "--timeout-s", "2")
        boards.append(Board(build, db, data, *options))
        board = boards[0]
        tokens = players(c, board)
        bad_laps(c, board, tokens[0], plain)
        first = good_laps(c, board, tokens, plain, turbo)
        reads(c, board, first, plain)
        daily(c, board)
        slow_client(c, board)
        before = board_state(board)
        if postgres:
            boards.append(Board(build, db, data, *options))
            other = boards[1]
            c.check("a second process sees the first's laps", board_state(other) == before)
            token = other.player("Dana")
            status, body = other.submit(token, turbo)
            c.check("a lap through the second process", status == 201 and body.get("rank") == 1, (status, body))
            status, body = board.json("GET", "/api/v1/boards/default/turbo")
            c.check("the first process sees it", body.get("total") == 2, body)
            before = board_state(board)
        for b in boards:
            b.stop()
        boards = [Board(build, db, data, *options)]
        c.check("restarted, the same boards", board_state(boards[0]) == before)
    finally:
        for b in boards:
            b.stop()
        if pg:
            pg.stop()
        work.cleanup()
    return c.finish()


if __name__ == "__main__":
    sys.exit(main())
