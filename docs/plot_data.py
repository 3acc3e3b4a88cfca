#!/usr/bin/python3
"""Plots a run's data, as korvel --export-data or Export Data writes it:
the craft's distance and its energies per kilogram against time.

    docs/plot_data.py run.csv run.png

Reads the comma style; for the semicolon style pass --semicolons."""
import csv
import sys

import matplotlib

matplotlib.use("Agg")  # no display needed
import matplotlib.pyplot as plt

args = [a for a in sys.argv[1:] if a != "--semicolons"]
if len(args) != 2:
    sys.exit(__doc__)
semicolons = "--semicolons" in sys.argv
source, picture = args


def number(text):
    return float(text.replace(",", ".") if semicolons else text)


with open(source, newline="", encoding="utf-8") as f:
    rows = list(csv.DictReader(f, delimiter=";" if semicolons else ","))
hours = [number(r["time_s"]) / 3600 for r in rows]
events = [(number(r["time_s"]) / 3600, r["event"]) for r in rows if r["event"]]

fig, (top, bottom) = plt.subplots(2, 1, sharex=True, figsize=(8, 6), constrained_layout=True)
top.plot(hours, [number(r["distance_m"]) / 1000 for r in rows], color="tab:blue")
top.set_ylabel("distance from the centre (km)")
top.set_title(source.split("/")[-1])
for name, column, colour in (("kinetic", "kinetic_J_kg", "tab:orange"),
                             ("potential", "potential_J_kg", "tab:green"),
                             ("total", "total_J_kg", "black")):
    bottom.plot(hours, [number(r[column]) / 1e6 for r in rows], label=name, color=colour)
bottom.set_ylabel("energy (MJ/kg)")
bottom.set_xlabel("simulated time (h)")
bottom.legend(loc="center right")
for axes in (top, bottom):
    axes.grid(alpha=0.3)
    for at, text in events:
        axes.axvline(at, color="grey", linestyle=":")
for at, text in events:
    top.annotate(text, (at, 1), xycoords=("data", "axes fraction"), rotation=90, va="top", fontsize=8)
fig.savefig(picture, dpi=100)
