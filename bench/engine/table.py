#!/usr/bin/env python3
"""Reads the figure lines of bench/engine/run.sh on standard input
("<engine> <figure> median=<v> ..." and "kura frame_cpu_ms p99=<v> ...") and
prints the side-by-side table with the engine's targets."""

import os
import sys

IDLE_S = float(os.environ.get("IDLE_S", "10"))
PEERS = [("onscripter", "ONScripter"), ("renpy", "Ren'Py 8")]


def read(lines):
    figures = {}
    for line in lines:
        words = line.split()
        if len(words) < 3 or "=" not in words[2]:
            continue
        values = dict(w.split("=", 1) for w in words[2:] if "=" in w)
        figures[(words[0], words[1])] = values
    return figures


def value(figures, engine, figure, key="median"):
    v = figures.get((engine, figure), {}).get(key)
    return float(v) if v not in (None, "NA") else None


ROWS = [
    # label, figure, key, to display units, format, target
    ("process start to first non-black frame", "first_nonblack_ms", "median",
     lambda v: v, "%.0f ms", 150.0),
    ("resident memory once the first message is typed", "vmrss_kb", "median",
     lambda v: v / 1024.0, "%.1f MiB", 40.0),
    # Private memory leaves out the shared libraries and the GL driver, so it
    # is what the engine itself holds; the target is ONScripter's in the same run.
    ("private memory once the first message is typed", "private_kb", "median",
     lambda v: v / 1024.0, "%.1f MiB", "onscripter"),
    ("CPU while idle on a finished message, %g s" % IDLE_S, "idle_cpu_ms", "median",
     lambda v: 100.0 * v / (IDLE_S * 1000.0), "%.2f %% of a core", 1.0),
    ("update + draw CPU per frame while typing, 99th percentile", "frame_cpu_ms", "p99",
     lambda v: v, "%.2f ms", 4.0),
]


def cell(figures, engine, figure, key, convert, fmt):
    v = value(figures, engine, figure, key)
    return "-" if v is None else fmt % convert(v)


def main():
    figures = read(sys.stdin)
    print("| Figure | %s | kura | Target | Met |" % " | ".join(name for _, name in PEERS))
    print("|---|%s---|---|---|" % ("---|" * len(PEERS)))
    for label, figure, key, convert, fmt, target in ROWS:
        ours = value(figures, "kura", figure, key)
        if isinstance(target, str):  # below a peer's figure of the same run
            peer = value(figures, target, figure, key)
            limit = None if peer is None else convert(peer)
            wanted = "< " + dict(PEERS)[target]
            met = "-" if ours is None or limit is None else ("yes" if convert(ours) < limit
                                                              else "no")
        else:
            wanted = "<= " + fmt % target
            met = "-" if ours is None else ("yes" if convert(ours) <= target else "no")
        peers = " | ".join(cell(figures, e, figure, key, convert, fmt) for e, _ in PEERS)
        print("| %s | %s | %s | %s | %s |" % (label, peers,
                                              cell(figures, "kura", figure, key, convert, fmt),
                                              wanted, met))


if __name__ == "__main__":
    main()
