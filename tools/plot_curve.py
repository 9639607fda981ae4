#!/usr/bin/python3
"""Draws the learning curve selfplay_train writes (--curve FILE.csv) as a PNG.

Usage: plot_curve.py CURVE.csv [CURVE2.csv ...] OUT.png
Each curve is the share of games the network in training wins against the frozen previous
strong bot, normal and Acey-Deucey games, after so many games of self-play, and, for runs
that also play the standard bot, the share won against it. A curve with a "round" column
instead of "games" is the network after each round of lessons of the look-ahead
(lesson-rounds.csv); the curves of one picture are all of one kind. Needs Debian's
python3-matplotlib (not a dependency of the program or its tests).
"""
import csv
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    *curves, out = sys.argv[1:]
    fig, ax = plt.subplots(figsize=(9, 6))
    rounds = False
    for path in curves:
        with open(path, newline="") as f:
            rows = list(csv.DictReader(f))
        rounds = bool(rows) and "round" in rows[0]
        games = [int(r["round" if rounds else "games"]) for r in rows]
        name = os.path.splitext(os.path.basename(path))[0]
        ax.plot(games, [float(r["vs_previous_normal"]) for r in rows], "o-",
                label=f"{name}: normal")
        ax.plot(games, [float(r["vs_previous_acey"]) for r in rows], "s--",
                label=f"{name}: Acey-Deucey")
        if rows and "vs_standard" in rows[0]:
            ax.plot(games, [float(r["vs_standard"]) for r in rows], "^:",
                    label=f"{name}: against the standard bot")
    ax.axhline(50, color="grey", linewidth=0.8)
    if rounds:
        ax.set_xlabel("rounds of lessons of the look-ahead (0: the last self-play network)")
        ax.set_xticks(games)
        ax.set_title("Lesson rounds (each fitted from the one before): the network alone, "
                     "no look-ahead")
    else:
        ax.set_xlabel("games of self-play")
        ax.set_title("Self-play runs (each from the one before): the network alone, "
                     "no look-ahead")
    ax.set_ylabel("games won by the network in training (%)")
    ax.grid(True, alpha=0.3)
    ax.legend(fontsize=7, ncol=2, loc="lower right")
    fig.tight_layout()
    fig.savefig(out, dpi=100)


if __name__ == "__main__":
    main()
