#!/usr/bin/env python3
"""Draws a `stravo --bench` run: frame time along the lap, with its percentiles.

Usage: bench_plot.py bench.csv [other.csv ...] [-o bench.png]
Several files are drawn over each other (e.g. two builds); the first names the
output when -o is not given.
"""
import argparse
import csv
import math
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402


def read_frames(path):
    times, ms = [], []
    with open(path, newline="") as f:
        for row in csv.DictReader(f):
            times.append(float(row["time_s"]))
            ms.append(float(row["frame_ms"]))
    return times, ms


def percentile(values, p):
    ordered = sorted(values)
    rank = max(1, math.ceil(p / 100.0 * len(ordered)))
    return ordered[min(rank, len(ordered)) - 1]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("csv", nargs="+", help="bench.csv files")
    parser.add_argument("-o", "--output", help="PNG to write (default: the first CSV's name with .png)")
    args = parser.parse_args()

    fig, ax = plt.subplots(figsize=(11, 4.5))
    for path in args.csv:
        times, ms = read_frames(path)
        if not ms:
            sys.exit(f"{path}: no frames")
        fps = len(ms) * 1000.0 / sum(ms)
        label = (f"{path}: {fps:.1f} FPS, p50 {percentile(ms, 50):.1f} p95 {percentile(ms, 95):.1f} "
                 f"p99 {percentile(ms, 99):.1f} max {max(ms):.1f} ms")
        ax.plot(times, ms, linewidth=0.7, label=label)
    ax.set_xlabel("time along the lap (s)")
    ax.set_ylabel("frame time (ms)")
    ax.set_ylim(bottom=0)
    ax.grid(True, alpha=0.3)
    ax.legend(loc="upper right", fontsize=8)
    fig.tight_layout()
    output = args.output or args.csv[0].rsplit(".", 1)[0] + ".png"
    fig.savefig(output, dpi=100)


if __name__ == "__main__":
    main()
