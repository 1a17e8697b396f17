#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Two flight traces of the harness side by side (corvane-harness --trace):
indicated airspeed, height, pitch, climb, flaps and throttle at the same times
since each flight's first line, and the difference of each pair. Used to set a
recording flown on one simulator beside its replay on another
(corvane-harness --commands / --replay, docs/flight-model.md)."""
import argparse
import csv
import sys

COLUMNS = [("ias_kt", "IAS kt"), ("altitude_ft", "alt ft"), ("pitch_deg", "pitch"),
           ("vs_fpm", "climb"), ("flaps", "flaps"), ("throttle1", "thr")]


def read(path):
    try:
        with open(path, newline="") as f:
            rows = list(csv.DictReader(f))
    except OSError as e:
        sys.exit(f"compare-traces: {path}: {e.strerror}")
    if not rows or any(c not in rows[0] for c, _ in COLUMNS + [("time_s", "")]):
        sys.exit(f"compare-traces: {path}: not a harness trace (no time_s or a column missing)")
    start = float(rows[0]["time_s"])
    return [(float(r["time_s"]) - start, r) for r in rows]


def at(rows, t):
    best = min(rows, key=lambda tr: abs(tr[0] - t))
    return best[1] if abs(best[0] - t) < 2.0 else None


def main():
    p = argparse.ArgumentParser(description=__doc__)
    p.add_argument("first")
    p.add_argument("second")
    p.add_argument("--every", type=float, default=30.0, help="seconds between rows (30)")
    a = p.parse_args()
    one, two = read(a.first), read(a.second)
    end = min(one[-1][0], two[-1][0])
    print("time s  " + "  ".join(f"{n:>17}" for _, n in COLUMNS))
    t = 0.0
    while t <= end:
        r1, r2 = at(one, t), at(two, t)
        if r1 and r2:
            cells = []
            for c, _ in COLUMNS:
                x, y = float(r1[c]), float(r2[c])
                cells.append(f"{x:8.1f} {y:8.1f}" if abs(x) >= 10 else f"{x:8.2f} {y:8.2f}")
            print(f"{t:6.0f}  " + "  ".join(cells))
        t += a.every


if __name__ == "__main__":
    main()
