#!/usr/bin/env python3
"""Collects the measurement files that `celvane --batch ... --measure FILE.json` wrote for
the runs of a sweep into one CSV on standard output, one row per run, sorted by the swept value.

    examples/sweeps/collect.py sweep/depth-*.json > sweep/sweep.csv

The first column is the value of the run's --set (named after the parameter); the others are
the top surface heights, the pit depth (highest minus lowest surface), the widest opening of
the first --cd along x and y, and the volume of each material. Lengths and volumes are in the
units the files state (world units; a cell of the example flows is 1 long).
"""
import csv
import json
import re
import sys


def swept(report):
    """(parameter name, value) of the run's first --set, as STEP:NAME=VALUE says."""
    for text in report.get("overrides", []):
        step_name, _, value = text.partition("=")
        return step_name.partition(":")[2], value
    return "run", ""


def number(text):
    try:
        return float(text)
    except ValueError:
        return float("inf")


def column(name):
    return "volume_" + re.sub(r"[^0-9A-Za-z]+", "_", name).strip("_")


def main(paths):
    if not paths:
        sys.exit("usage: collect.py RESULT.json... > sweep.csv")
    reports = []
    for path in paths:
        with open(path, encoding="utf-8") as f:
            reports.append(json.load(f))
    parameter = swept(reports[0])[0]
    materials = {}
    for report in reports:
        for m in report["materials"]:
            if m["id"] != 0:
                materials[m["id"]] = m["name"]
    ids = sorted(materials)
    header = [parameter, "top_min", "top_max", "top_mean", "pit_depth",
              "opening_x_max", "opening_y_max"] + [column(materials[i]) for i in ids]
    rows = []
    for report in reports:
        top = report["topSurface"]
        openings = report.get("openings") or [{"x": {}, "y": {}}]
        volumes = {m["id"]: m["volume"] for m in report["materials"]}
        rows.append([swept(report)[1], top["min"], top["max"], top["mean"],
                     top["max"] - top["min"],
                     openings[0]["x"].get("max"), openings[0]["y"].get("max")]
                    + [volumes.get(i, 0.0) for i in ids])
    rows.sort(key=lambda row: number(row[0]))
    writer = csv.writer(sys.stdout, lineterminator="\n")
    writer.writerow(header)
    for row in rows:
        writer.writerow(["" if v is None else v for v in row])


if __name__ == "__main__":
    main(sys.argv[1:])
