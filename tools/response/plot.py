"""Draws measured response curves (CSV files of r4m-host response) on one
log-frequency plot, with the seven band centres marked.

    plot.py OUT.png NAME=RESPONSE.csv ...
"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

CENTRES = [125, 500, 2000, 4900, 8500, 12100, 17000]


def main(out, curves):
    figure, axes = plt.subplots(figsize=(11, 6), dpi=100)
    for curve in curves:
        name, path = curve.split("=", 1)
        hertz, gain = np.loadtxt(path, delimiter=",", skiprows=1, unpack=True)
        axes.semilogx(hertz[1:], gain[1:], label=name, linewidth=1.4)
    for centre in CENTRES:
        axes.axvline(centre, color="grey", linestyle=":", linewidth=0.9)
        axes.annotate(f"{centre} Hz", (centre, 1.0), xycoords=("data", "axes fraction"), rotation=90,
                      ha="right", va="top", fontsize=8, color="grey")
    axes.set_xlim(20, hertz[-1])
    axes.set_ylim(-24, 16)
    axes.set_xlabel("frequency (Hz)")
    axes.set_ylabel("gain (dB)")
    axes.set_title("R4-M: measured response of the eight programs")
    axes.grid(True, which="both", alpha=0.3)
    axes.legend(loc="lower left", fontsize=8, ncol=2)
    figure.tight_layout()
    figure.savefig(out, metadata={"Software": None})


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
