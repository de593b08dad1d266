#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Writes bare click tracks (decaying noise bursts, 60 to 200 BPM in steps of 7) in the corpus
layout, for fitting the level weights: a bare pulse is heard at its own rate.

Usage: click_corpus.py <out folder>
"""

import os
import sys
import wave

import numpy as np

RATE = 44100


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    rng = np.random.default_rng(7)
    rows = ["name,bpm,style"]
    for bpm in range(60, 201, 7):
        x = np.zeros(RATE * 31)
        t = 0.123 + rng.uniform(0, 0.3)
        beats = []
        while t < 31:
            start = int(t * RATE)
            n = min(1500, len(x) - start)
            x[start:start + n] += 20000 * rng.uniform(-1, 1, n) * np.exp(-np.arange(n) / 200)
            beats.append(t)
            t += 60 / bpm
        name = f"click{bpm}"
        with wave.open(f"{out}/{name}.wav", "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(RATE)
            w.writeframes(np.clip(x, -32768, 32767).astype("<i2").tobytes())
        with open(f"{out}/{name}.beats", "w") as f:
            f.write("".join(f"{b:.4f}\n" for b in beats))
        rows.append(f"{name},{bpm},click")
    with open(f"{out}/truth.csv", "w") as f:
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
