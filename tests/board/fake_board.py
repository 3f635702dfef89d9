"""A misbehaving board on a free loopback port, for the client's fault cases:
it answers every request in one way (garbage, a hang, a reset, a huge body,
or a board whose only lap has a proof that does not verify). Each connection
is served on its own thread and every wait is bounded."""

import json
import socket
import struct
import threading

HANG_SECONDS = 20.0  # longer than any client time-out in the tests
HUGE_BYTES = 24 << 20


class FakeBoard:
    def __init__(self, mode):
        self.mode = mode
        self.sock = socket.socket()
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.sock.bind(("127.0.0.1", 0))
        self.sock.listen(16)
        self.sock.settimeout(0.2)
        self.port = self.sock.getsockname()[1]
        self.url = f"http://127.0.0.1:{self.port}"
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._accept, daemon=True)
        self.thread.start()

    def _accept(self):
        while not self.stopping.is_set():
            try:
                conn, _ = self.sock.accept()
            except OSError:
                continue
            threading.Thread(target=self._serve, args=(conn,), daemon=True).start()

    def _read_request(self, conn):
        conn.settimeout(5.0)
        data = b""
        while b"\r\n\r\n" not in data and len(data) < 65536:
            chunk = conn.recv(4096)
            if not chunk:
                break
            data += chunk
        return data.split(b"\r\n", 1)[0].decode(errors="replace")

    def _answer(self, conn, status, body, kind="application/json"):
        head = f"HTTP/1.1 {status} X\r\nContent-Type: {kind}\r\nContent-Length: {len(body)}\r\nConnection: close\r\n\r\n"
        conn.sendall(head.encode() + body)

    def _serve(self, conn):
        try:
            line = self._read_request(conn)
            if self.mode == "garbage":
                self._answer(conn, 201, b"\x00\xffnot json at all{{{", "text/plain")
            elif self.mode == "hang":
                self.stopping.wait(HANG_SECONDS)
            elif self.mode == "reset":
                conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            elif self.mode == "huge":
                head = f"HTTP/1.1 200 OK\r\nContent-Length: {HUGE_BYTES}\r\nConnection: close\r\n\r\n"
                conn.sendall(head.encode())
                block = b"x" * 65536
                for _ in range(HUGE_BYTES // len(block)):
                    if self.stopping.is_set():
                        break
                    conn.sendall(block)
            elif self.mode == "badproof":
                if "/proof" in line:
                    self._answer(conn, 200, b"STRVGHST" + b"\x01" * 300, "application/octet-stream")
                else:
                    lap = {"rank": 1, "lap": 7, "player": "forger", "time": 60.0}
                    self._answer(conn, 200, json.dumps({"total": 1, "laps": [lap]}).encode())
        except OSError:
            pass
        finally:
            conn.close()

    def stop(self):
        self.stopping.set()
        self.sock.close()
        self.thread.join(timeout=5)


if __name__ == "__main__":
    # fake_board.py MODE SECONDS: prints the URL, serves for SECONDS, then stops.
    import sys
    import time
    board = FakeBoard(sys.argv[1])
    print(board.url, flush=True)
    time.sleep(float(sys.argv[2]))
    board.stop()
