#!/usr/bin/python3
"""Lap plots from stravo-sim telemetry.

Reads one or two telemetry CSV files (stravo-sim --telemetry FILE) and draws one
lap of each against the distance driven since the lap began: speed, throttle and
brake, engine speed, gear and, with two files, how far the second lap is behind
the first at the same distance. Writes a PNG.

    tools/lap_plot.py base.csv turbo.csv -o laps.png
"""

import argparse
import csv
import os
import sys

import matplotlib

matplotlib.use("Agg")  # no display: the picture goes to a file
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

COLUMNS = ("lap", "lap_time", "distance", "kmh", "throttle", "foot_brake", "rpm_avg", "gear")
COLOURS = ("tab:blue", "tab:red")


class LapTrace:
    """One lap of one file: a column of numbers per telemetry name."""

    def __init__(self, label, columns):
        self.label = label
        self.columns = columns

    def __getitem__(self, name):
        return self.columns[name]

    def time(self):
        """The lap's time in seconds as the runner prints it."""
        return float(self["lap_time"][-1])


def read_rows(path):
    with open(path, newline="") as f:
        reader = csv.DictReader(f)
        missing = [c for c in COLUMNS if c not in (reader.fieldnames or [])]
        if missing:
            raise ValueError("%s lacks the column(s) %s" % (path, ", ".join(missing)))
        return [{c: float(row[c]) for c in COLUMNS} for row in reader]


def pick_lap(rows, wanted):
    """The lap numbered `wanted`, or the first complete lap (one followed by another)."""
    laps = sorted({int(r["lap"]) for r in rows if r["lap"] >= 1})
    if wanted is None:
        complete = laps[:-1]
        if not complete:
            raise ValueError("no complete lap (drive past the start line twice: more --ticks)")
        return complete[0]
    if wanted not in laps[:-1]:
        raise ValueError("lap %d is not complete in this file (complete: %s)" % (wanted, laps[:-1] or "none"))
    return wanted


def load_lap(path, wanted):
    rows = read_rows(path)
    try:
        lap = pick_lap(rows, wanted)
    except ValueError as e:
        raise ValueError("%s: %s" % (path, e))
    picked = [r for r in rows if int(r["lap"]) == lap]
    columns = {c: np.array([r[c] for r in picked]) for c in COLUMNS}
    trace = LapTrace("", columns)
    trace.label = "%s, lap %d (%s)" % (os.path.basename(path), lap, lap_text(trace.time()))
    return trace


def lap_text(seconds):
    """M:SS.CC with the hundredths cut, in single precision, as the runner prints laps."""
    centis = int(np.float32(seconds) * np.float32(100.0))
    return "%d:%02d.%02d" % (centis // 6000, centis // 100 % 60, centis % 100)


def time_difference(first, second):
    """Seconds the second lap is behind the first at each of the first lap's distances."""
    ahead = first["distance"] <= second["distance"][-1]
    d = first["distance"][ahead]
    return d, np.interp(d, second["distance"], second["lap_time"]) - first["lap_time"][ahead]


def plot(traces, output, title):
    panels = ["speed", "pedals", "rpm", "gear"] + (["delta"] if len(traces) == 2 else [])
    heights = {"speed": 3, "pedals": 2, "rpm": 2, "gear": 1.3, "delta": 2}
    fig, axes = plt.subplots(len(panels), 1, sharex=True, figsize=(12, 2.2 * len(panels) + 1),
                             gridspec_kw={"height_ratios": [heights[p] for p in panels]})
    ax = dict(zip(panels, axes))
    for trace, colour in zip(traces, COLOURS):
        d = trace["distance"]
        ax["speed"].plot(d, trace["kmh"], color=colour, label=trace.label)
        ax["pedals"].plot(d, trace["throttle"], color=colour, label="throttle")
        ax["pedals"].plot(d, trace["foot_brake"], color=colour, linestyle=":", label="brake")
        ax["rpm"].plot(d, trace["rpm_avg"], color=colour)
        ax["gear"].step(d, trace["gear"], where="post", color=colour)
    ax["speed"].set_ylabel("speed (km/h)")
    ax["speed"].legend(loc="lower right")
    ax["pedals"].set_ylabel("throttle —\nbrake ···")
    ax["pedals"].set_ylim(-0.05, 1.05)
    ax["rpm"].set_ylabel("engine (rpm)")
    ax["gear"].set_ylabel("gear")
    ax["gear"].set_yticks(range(1, 6))
    ax["gear"].set_ylim(0.5, 5.5)
    if "delta" in ax:
        d, delta = time_difference(traces[0], traces[1])
        ax["delta"].axhline(0.0, color="grey", linewidth=0.8)
        ax["delta"].plot(d, delta, color=COLOURS[1])
        ax["delta"].fill_between(d, delta, 0.0, where=delta >= 0, color=COLOURS[1], alpha=0.15)
        ax["delta"].fill_between(d, delta, 0.0, where=delta < 0, color="tab:green", alpha=0.15)
        ax["delta"].set_ylabel("second lap behind\nthe first (s)")
    for a in axes:
        a.grid(True, alpha=0.3)
    axes[-1].set_xlabel("distance along the lap (m)")
    fig.suptitle(title or "Stravo lap telemetry")
    fig.tight_layout()
    fig.savefig(output, dpi=100)
    plt.close(fig)


def main(argv):
    parser = argparse.ArgumentParser(description="Draws one or two stravo-sim telemetry laps into a PNG.")
    parser.add_argument("telemetry", nargs="+", help="one or two stravo-sim --telemetry CSV files")
    parser.add_argument("-o", "--output", default="laps.png", help="the PNG to write (default laps.png)")
    parser.add_argument("--lap", type=int, help="the lap number to draw (default: the first complete one)")
    parser.add_argument("--title", help="the picture's title")
    args = parser.parse_args(argv)
    if len(args.telemetry) > 2:
        parser.error("one or two telemetry files")
    try:
        traces = [load_lap(path, args.lap) for path in args.telemetry]
    except (OSError, ValueError) as e:
        print("lap_plot: %s" % e, file=sys.stderr)
        return 1
    plot(traces, args.output, args.title)
    for trace in traces:
        print("%s: %.0f m" % (trace.label, trace["distance"][-1]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
