#!/usr/bin/python3
"""Plots one column of a sweep's CSV against the swept parameter (the first column) into a PNG.

    examples/sweeps/plot.py sweep/sweep.csv pit_depth sweep/pit-depth.png

Needs Debian's python3-matplotlib (hence /usr/bin/python3, whatever other Python is first on
the PATH).
"""
import csv
import sys

import matplotlib

matplotlib.use("Agg")  # no display needed
import matplotlib.pyplot as plt  # noqa: E402


def main(arguments):
    if len(arguments) != 3:
        sys.exit("usage: plot.py SWEEP.csv COLUMN OUT.png")
    path, wanted, output = arguments
    with open(path, encoding="utf-8") as f:
        rows = list(csv.reader(f))
    header, rows = rows[0], [r for r in rows[1:] if r]
    if wanted not in header:
        sys.exit("plot.py: no column %r; the file has %s" % (wanted, ", ".join(header[1:])))
    k = header.index(wanted)
    points = [(float(r[0]), float(r[k])) for r in rows if r[k] != ""]
    figure, axes = plt.subplots(figsize=(6, 4))
    axes.plot([p[0] for p in points], [p[1] for p in points], marker="o")
    axes.set_xlabel(header[0] + " (world units)")
    unit = "cubic world units" if wanted.startswith("volume_") else "world units"
    axes.set_ylabel("%s (%s)" % (wanted, unit))
    axes.grid(True)
    figure.tight_layout()
    figure.savefig(output, dpi=100)
    print(output)


if __name__ == "__main__":
    main(sys.argv[1:])
