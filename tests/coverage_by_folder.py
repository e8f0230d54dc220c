#!/usr/bin/env python3
"""Line and branch coverage per folder of src/, from an lcov tracefile.

usage: coverage_by_folder.py TRACEFILE SRC_DIR
"""
import collections
import os
import sys


def main():
    trace, src = sys.argv[1], os.path.realpath(sys.argv[2])
    # folder -> [lines found, lines hit, branches found, branches hit]
    counts = collections.defaultdict(lambda: [0, 0, 0, 0])
    folder = None
    with open(trace, encoding="utf-8") as f:
        for line in f:
            key, _, value = line.strip().partition(":")
            if key == "SF":
                rel = os.path.relpath(os.path.realpath(value), src)
                folder = rel.split(os.sep)[0] if os.sep in rel else "."
            elif key in ("LF", "LH", "BRF", "BRH") and folder:
                counts[folder][("LF", "LH", "BRF", "BRH").index(key)] += int(value)

    def percent(hit, found):
        return f"{100.0 * hit / found:5.1f}%" if found else "    -"

    print(f"{'folder':<12} {'lines':>16} {'branches':>18}")
    total = [0, 0, 0, 0]
    for name in sorted(counts):
        lf, lh, bf, bh = counts[name]
        total = [a + b for a, b in zip(total, counts[name])]
        print(f"{name:<12} {percent(lh, lf)} of {lf:6d}  {percent(bh, bf)} of {bf:7d}")
    print(f"{'all':<12} {percent(total[1], total[0])} of {total[0]:6d}  {percent(total[3], total[2])} of {total[2]:7d}")


if __name__ == "__main__":
    main()
