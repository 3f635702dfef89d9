"""What the stravo-board tests share: laps made by the headless runner, a
board process on a free loopback port, a throw-away PostgreSQL cluster and
small HTTP helpers. Every wait is bounded."""

import contextlib
import http.client
import json
import os
import shutil
import socket
import subprocess
import tempfile
import time

START_TIMEOUT = 30.0  # s for a board or a database to come up
HTTP_TIMEOUT = 30.0   # s for one request


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def make_laps(build, folder):
    """The default circuit's data set in FOLDER and two autopilot laps of it:
    (plain proof bytes, turbo proof bytes)."""
    subprocess.run([f"{build}/stravo-datagen", folder], check=True, stdout=subprocess.DEVNULL, timeout=120)
    laps = []
    for extra in ([], ["--turbo"]):
        subprocess.run([f"{build}/stravo-sim", "--dir", folder, "--autopilot", *extra], check=True,
                       stdout=subprocess.DEVNULL, timeout=120)
        name = "best-turbo.ghost" if extra else "best.ghost"
        with open(os.path.join(folder, "ghosts", name), "rb") as f:
            laps.append(f.read())
    return laps


def make_flying_lap(build, folder):
    """A faster plain lap of FOLDER's circuit (made by make_laps): the second,
    flying lap of a longer autopilot run, which beats the first and replaces
    the ghost file."""
    subprocess.run([f"{build}/stravo-sim", "--dir", folder, "--autopilot", "--ticks", "13000"], check=True,
                   stdout=subprocess.DEVNULL, timeout=120)
    with open(os.path.join(folder, "ghosts", "best.ghost"), "rb") as f:
        return f.read()


class Board:
    """One stravo-board process; stop() ends it, kill() ends it with SIGKILL."""

    def __init__(self, build, db, data, *extra):
        self.port = free_port()
        self.log = tempfile.TemporaryFile()
        self.proc = subprocess.Popen(
            [f"{build}/stravo-board", "--listen", f"127.0.0.1:{self.port}", "--db", db, "--data", data, *extra],
            stdout=self.log, stderr=subprocess.STDOUT)
        deadline = time.monotonic() + START_TIMEOUT
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                raise RuntimeError("stravo-board ended at start: " + self.output())
            with contextlib.suppress(OSError):
                if self.request("GET", "/healthz")[0] == 200:
                    return
            time.sleep(0.05)
        self.kill()
        raise RuntimeError("stravo-board did not answer: " + self.output())

    def output(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace")

    def request(self, method, path, body=None, headers=None, timeout=HTTP_TIMEOUT):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=timeout)
        try:
            conn.request(method, path, body=body, headers=headers or {})
            res = conn.getresponse()
            return res.status, res.read(), dict(res.getheaders())
        finally:
            conn.close()

    def json(self, method, path, body=None, headers=None):
        status, data, _ = self.request(method, path, body, headers)
        try:
            return status, json.loads(data)
        except ValueError:
            return status, {"raw": data.decode(errors="replace")}

    def player(self, name):
        status, body = self.json("POST", "/api/v1/players", json.dumps({"name": name}),
                                 {"Content-Type": "application/json"})
        assert status == 201, (status, body)
        return body["token"]

    def submit(self, token, proof, query="circuit=default"):
        headers = {"Content-Type": "application/octet-stream"}
        if token is not None:
            headers["Authorization"] = "Bearer " + token
        return self.json("POST", "/api/v1/laps?" + query, proof, headers)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(timeout=10)

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(timeout=10)


class Postgres:
    """A PostgreSQL cluster of its own in a temporary folder, run as the
    postgres user on a free loopback port; stop() removes it."""

    def __init__(self):
        bindir = sorted(d for d in os.listdir("/usr/lib/postgresql"))[-1]
        self.bin = f"/usr/lib/postgresql/{bindir}/bin"
        self.folder = tempfile.mkdtemp(prefix="stravo_board_pg_")
        shutil.chown(self.folder, "postgres", "postgres")
        self.data = os.path.join(self.folder, "data")
        self.port = free_port()
        self._as_postgres([f"{self.bin}/initdb", "-D", self.data, "-A", "trust", "-U", "postgres",
                           "--no-sync", "-E", "UTF8"])
        self._as_postgres([f"{self.bin}/pg_ctl", "-D", self.data, "-l", os.path.join(self.folder, "log.txt"),
                           "-w", "-t", str(int(START_TIMEOUT)), "-o",
                           f"-p {self.port} -k {self.folder} -c listen_addresses=127.0.0.1 -c fsync=on",
                           "start"])
        self._as_postgres([f"{self.bin}/createdb", "-h", "127.0.0.1", "-p", str(self.port), "-U", "postgres",
                           "board"])
        self.url = f"postgresql://postgres@127.0.0.1:{self.port}/board"

    def _as_postgres(self, command):
        as_root = os.geteuid() == 0
        full = ["runuser", "-u", "postgres", "--", *command] if as_root else command
        subprocess.run(full, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=self.folder,
                       timeout=120)

    def stop(self):
        with contextlib.suppress(Exception):
            self._as_postgres([f"{self.bin}/pg_ctl", "-D", self.data, "-m", "immediate", "-w", "stop"])
        shutil.rmtree(self.folder, ignore_errors=True)


class Checks:
    """Counts checks and prints one closing line: 'N passed, N failed'."""

    def __init__(self, name):
        self.name = name
        self.passed = 0
        self.failed = 0

    def check(self, what, ok, detail=""):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print(f"FAIL {self.name}: {what} {detail}", flush=True)

    def finish(self):
        print(f"{self.name}: {self.passed} passed, {self.failed} failed", flush=True)
        return 0 if self.failed == 0 else 1
