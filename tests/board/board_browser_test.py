#!/usr/bin/env python3
"""stravo-board's pages in headless Chromium: the circuits page, a circuit's
board and a lap's page are loaded, their DOM is checked for ranks, times,
gaps, marked best sectors and escaped names, and screenshots are saved.

usage: board_browser_test.py BUILD SHOT_FOLDER"""

import html.parser
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from board_harness import Board, Checks, make_flying_lap, make_laps  # noqa: E402

BROWSER_TIMEOUT = 60  # s for one page
HOSTILE_NAME = "<script>x</script>"


class Cells(html.parser.HTMLParser):
    """The text of each table cell by class, the elements seen and the attributes of links."""

    def __init__(self):
        super().__init__()
        self.rows = []
        self.tags = set()
        self.links = []
        self.best = []  # (row, column) of cells marked best
        self._cell = None

    def handle_starttag(self, tag, attrs):
        self.tags.add(tag)
        attrs = dict(attrs)
        if tag == "tr":
            self.rows.append([])
        elif tag in ("td", "th") and self.rows:
            self._cell = ""
            if "best" in (attrs.get("class") or "").split():
                self.best.append((len(self.rows) - 1, len(self.rows[-1])))
        elif tag == "a":
            self.links.append(attrs.get("href", ""))

    def handle_endtag(self, tag):
        if tag in ("td", "th") and self._cell is not None:
            self.rows[-1].append(self._cell.strip())
            self._cell = None

    def handle_data(self, data):
        if self._cell is not None:
            self._cell += data


def chromium(*args):
    return subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                           "--user-data-dir=" + tempfile.mkdtemp(prefix="stravo_chromium_"), *args],
                          capture_output=True, timeout=BROWSER_TIMEOUT)


def dom(url):
    parser = Cells()
    out = chromium("--dump-dom", url).stdout.decode(errors="replace")
    parser.feed(out)
    return parser, out


def shot(url, path, height):
    chromium(f"--screenshot={path}", f"--window-size=1000,{height}", url)
    return os.path.exists(path) and os.path.getsize(path) > 0


def main():
    build, shots = sys.argv[1], sys.argv[2]
    os.makedirs(shots, exist_ok=True)
    c = Checks("board_browser")
    work = tempfile.TemporaryDirectory(prefix="stravo_board_pages_")
    board = None
    try:
        laps = os.path.join(work.name, "laps")
        plain, turbo = make_laps(build, laps)
        flying = make_flying_lap(build, laps)
        board = Board(build, os.path.join(work.name, "board.sqlite"), os.path.join(work.name, "data"),
                      "--submit-interval-ms", "0")
        for name, proof in (("Alice", flying), (HOSTILE_NAME, plain), ("Bob & Co", turbo)):
            status, body = board.submit(board.player(name), proof)
            c.check(f"{name}'s lap accepted", status == 201, (status, body))
        base = f"http://127.0.0.1:{board.port}"

        page, text = dom(base + "/circuits/default/plain")
        rows = [r for r in page.rows if r and r[0].isdigit()]
        c.check("the board ranks two players", [(r[0], r[1]) for r in rows] == [("1", "Alice"), ("2", HOSTILE_NAME)],
                rows)
        c.check("times as the game shows them", [r[2] for r in rows] == ["1:17.62", "1:20.18"], rows)
        c.check("gap to the leader", rows and rows[1][3] == "+2.56", rows)
        c.check("best sectors marked: S1 of the leader, S3 of the second", (1, 4) in page.best and (2, 6) in page.best,
                page.best)
        c.check("the hostile name is text, not a script", "script" not in page.tags and "&lt;script&gt;" in text)

        page, _ = dom(base + "/")
        c.check("circuits page lists both boards with their leaders",
                any(r[:3] == ["default", "Alice", "plain"] for r in page.rows) and
                any(r[:3] == ["default", "Bob & Co", "turbo"] for r in page.rows), page.rows)

        page, text = dom(base + "/laps/2")
        c.check("lap page draws the trace", "svg" in page.tags and "polyline" in page.tags and 'class="delta"' in text)
        c.check("lap page links the proof", "/api/v1/laps/2/proof" in page.links, page.links)
        c.check("lap page names the leader and the gap", "(+2.56)" in text and "Alice" in text)

        for name, path, height in (("circuits", "/", 400), ("board", "/circuits/default/plain", 500),
                                   ("lap", "/laps/2", 800)):
            c.check(f"screenshot of the {name} page", shot(base + path, os.path.join(shots, f"board-{name}.png"), height))
    finally:
        if board:
            board.stop()
        work.cleanup()
    return c.finish()


if __name__ == "__main__":
    sys.exit(main())
