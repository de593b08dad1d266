#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Fits the metrical-level weights of MetricalLevel.cpp: a softmax over the levels the detector
weighs, trained on the evidence level_features writes for the tuning half of the real-music
corpus (unambiguous pieces only), and reports how often the right level wins on each file given.
The checking half is never read.

Usage: fit_levels.py <train csv>[+<train csv>...] [<report csv> ...] [--l2 0.01] [--drop 7,8]
A training file whose rows have no split (the synthetic corpus) is used whole.
"""

import csv
import sys

import numpy as np

FEATURES = 11


DROPPED = []     # features kept at weight 0 (--drop 7,8)


def groups(path, only_tuning):
    """Candidate sets (features, right flags, bpm) of each moment of each piece."""
    sets = {}
    for r in csv.DictReader(open(path)):
        if r.get("split") == "check":
            continue
        if only_tuning and r["split"] and (r["split"] != "tune" or r["ambiguous"] == "yes"):
            continue
        key = (r["name"], r["seconds"])
        x = [0.0 if i in DROPPED else float(r[f"f{i}"]) for i in range(FEATURES)]
        sets.setdefault(key, ([], [])) [0].append(x)
        sets[key][1].append(int(r["right"]))
    return [(np.array(x), np.array(y)) for x, y in sets.values() if sum(y) == 1]


def stack(data):
    """Candidate sets padded to one size: features, right flags, mask of real candidates."""
    n = max(len(y) for _, y in data)
    X = np.zeros((len(data), n, FEATURES))
    Y = np.zeros((len(data), n))
    M = np.zeros((len(data), n), dtype=bool)
    for i, (x, y) in enumerate(data):
        X[i, :len(y)], Y[i, :len(y)], M[i, :len(y)] = x, y, True
    return X, Y, M


def fit(data, l2, steps=3000, rate=0.5):
    X, Y, M = stack(data)
    w = np.zeros(FEATURES)
    for _ in range(steps):
        s = np.where(M, X @ w, -np.inf)
        p = np.exp(s - s.max(axis=1, keepdims=True))
        p /= p.sum(axis=1, keepdims=True)
        grad = l2 * w + np.einsum("gcf,gc->f", X, p - Y) / len(data)
        w -= rate * grad
    return w


def accuracy(data, w):
    return np.mean([y[np.argmax(x @ w)] for x, y in data]) if data else float("nan")


def main():
    argv = sys.argv[1:]
    l2 = 0.01
    if "--l2" in argv:
        i = argv.index("--l2")
        l2 = float(argv[i + 1])
        del argv[i:i + 2]
    if "--drop" in argv:
        i = argv.index("--drop")
        DROPPED.extend(int(f) for f in argv[i + 1].split(","))
        del argv[i:i + 2]
    args = argv
    train = [g for path in args[0].split("+") for g in groups(path, True)]
    w = fit(train, l2)
    print("weights:", ", ".join(f"{v:.3f}" for v in w))
    print(f"right level chosen, training moments: {accuracy(train, w):.3f} of {len(train)}")
    for path in args[1:]:
        other = groups(path, False)
        print(f"right level chosen, {path}: {accuracy(other, w):.3f} of {len(other)}")


if __name__ == "__main__":
    main()
