#!/usr/bin/env python3
"""The reference of report_bench: matplotlib draws the same bar charts as
JPEG files of the same size and quality. Reads one chart per line of the
input file ("title|label=count|label=count..."), writes chart<i>.jpg into the
output folder and prints the seconds the drawing took."""
import sys
import time

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402


def main():
    source, out, width, height = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    with open(source, encoding="utf-8") as f:
        charts = [line.rstrip("\n").split("|") for line in f if line.strip()]
    start = time.perf_counter()
    for i, chart in enumerate(charts):
        labels = [p.rsplit("=", 1)[0] for p in chart[1:]]
        counts = [float(p.rsplit("=", 1)[1]) for p in chart[1:]]
        figure = plt.figure(figsize=(width / 100, height / 100), dpi=100)
        axes = figure.add_subplot()
        axes.bar(range(len(counts)), counts, tick_label=labels)
        axes.set_title(chart[0])
        figure.savefig(f"{out}/chart{i}.jpg", dpi=100, pil_kwargs={"quality": 90})
        plt.close(figure)
    print(f"{time.perf_counter() - start:.6f}")


if __name__ == "__main__":
    main()
