"""Prints the measured gain at each band centre, one row per response
(CSV files of r4m-host response, one row per hertz).

    table.py NAME=RESPONSE.csv ...
"""
import csv
import sys

CENTRES = [125, 500, 2000, 4900, 8500, 12100, 17000]


def gains_at_centres(path):
    with open(path, newline="") as rows:
        gain = {int(row["frequency_hz"]): float(row["gain_db"]) for row in csv.DictReader(rows)}
    return [gain[centre] for centre in CENTRES]


def main(curves):
    print(f"{'program':<26}" + "".join(f"{str(c) + ' Hz':>10}" for c in CENTRES))
    for curve in curves:
        name, path = curve.split("=", 1)
        print(f"{name:<26}" + "".join(f"{round(gain, 3) + 0.0:>+10.3f}" for gain in gains_at_centres(path)))
    print("(gain in dB)")


if __name__ == "__main__":
    main(sys.argv[1:])
