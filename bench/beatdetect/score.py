#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Scores beat detectors on a corpus and prints the goals' table, one for each half of a split
corpus (tuning, checking) or one for a corpus without halves.

Usage: score.py <corpus folder> <seconds> <label>=<results csv> [<label>=<results csv> ...]
       [--details]   misses and kinds of source too, for every half except the checking one

Result CSVs are written by bench_beatdetect or aubio_live.py. truth.csv may carry the columns
split (tune/check) and ambiguous (yes/no); without them every track counts as unambiguous.
"""

import csv
import statistics
import sys

TOLERANCE = 0.04
BEAT_WINDOW = 0.070
TIGHT_WINDOW = 0.040
SKIP_SECONDS = 5.0      # beats are scored once every detector had time to start
SHOWN_RIGHT = 70        # shown accuracy from which a reading must be right


def acc1(found, truth):
    return found > 0 and abs(found / truth - 1.0) <= TOLERANCE


def acc2(found, truth):
    return any(acc1(found, truth * f) for f in (1.0, 2.0, 0.5, 3.0, 1.0 / 3.0))


def lock_time(trace, truth):
    """Seconds until the 200 ms readings are within tolerance and stay there; None if never."""
    lock = None
    for i, bpm in enumerate(trace):
        if acc1(bpm, truth):
            if lock is None:
                lock = (i + 1) * 0.2
        else:
            lock = None
    return lock


def matched(detected, truth, window):
    """Beats of `truth` with a detected beat within the window, each detected beat used once."""
    used = set()
    hits = 0
    j = 0
    for t in truth:
        while j < len(detected) and detected[j] < t - window:
            j += 1
        k = j
        while k < len(detected) and detected[k] <= t + window:
            if k not in used:
                used.add(k)
                hits += 1
                break
            k += 1
    return hits


def beat_scores(detected, truth, seconds):
    """F-measure at ±70 ms and the share of true beats hit within ±40 ms, from 5 s on."""
    detected = sorted(b for b in detected if SKIP_SECONDS <= b <= seconds)
    truth = [b for b in truth if SKIP_SECONDS <= b <= seconds]
    if not truth:
        return None
    if not detected:
        return 0.0, 0.0
    hits = matched(detected, truth, BEAT_WINDOW)
    f = 0.0 if hits == 0 else 2 * hits / (len(detected) + len(truth))
    return f, matched(detected, truth, TIGHT_WINDOW) / len(truth)


def numbers(text):
    return [float(x) for x in text.split()]


def shown_percent(confidence):
    # The program shows three times the value, rounded half to even, capped at 100.
    return min(100, round(confidence * 3))


def load(path):
    return {r["name"]: r for r in csv.DictReader(open(path))}


def percent(part, whole):
    return f"{100 * part / whole:.1f}%" if whole else "n/a"


def table(title, names, truth, beats, results, seconds, calibrated):
    print(f"### {title}: {len(names)} pieces, "
          f"{sum(truth[n].get('ambiguous', 'no') != 'yes' for n in names)} unambiguous\n")
    print("| detector | Accuracy1 unambiguous | Accuracy1 all | Accuracy2 all | right among shown ≥ 70% "
          "| beat F-measure ±70 ms | beats within ±40 ms | median time to lock | CPU, % of a core |")
    print("|---|---|---|---|---|---|---|---|---|")
    for label, rows in results.items():
        got = [n for n in names if n in rows]
        if not got:
            continue
        bpm = {n: float(rows[n]["final_bpm"]) for n in got}
        ref = {n: float(truth[n]["bpm"]) for n in got}
        clear = [n for n in got if truth[n].get("ambiguous", "no") != "yes"]
        a1c = sum(acc1(bpm[n], ref[n]) for n in clear)
        a1 = sum(acc1(bpm[n], ref[n]) for n in got)
        a2 = sum(acc2(bpm[n], ref[n]) for n in got)
        cal = "n/a"
        if label in calibrated:
            shown = [n for n in got if shown_percent(float(rows[n]["final_confidence"])) >= SHOWN_RIGHT]
            right = sum(acc1(bpm[n], ref[n]) for n in shown)
            cal = f"{right}/{len(shown)}" + (f" ({100 * right / len(shown):.0f}%)" if shown else "")
        scores = [beat_scores(numbers(rows[n]["beats"]), beats[n], seconds) for n in got]
        scores = [s for s in scores if s is not None]
        fm = statistics.mean(s[0] for s in scores) if scores else 0.0
        tight = statistics.mean(s[1] for s in scores) if scores else 0.0
        locks = [lock_time(numbers(rows[n]["tempo_trace"]), ref[n]) for n in got]
        med = statistics.median([x if x is not None else float("inf") for x in locks])
        cpu = sum(float(rows[n]["cpu_seconds"]) for n in got) / sum(float(rows[n]["audio_seconds"]) for n in got)
        print(f"| {label} | {a1c}/{len(clear)} = {percent(a1c, len(clear))} | {percent(a1, len(got))} "
              f"| {percent(a2, len(got))} | {cal} | {fm:.3f} | {100 * tight:.1f}% | {med:.1f} s "
              f"| {100 * cpu:.3f}% |")
    print()


def details(title, names, truth, rows):
    print(f"{title}, Accuracy1 per kind of source:\n")
    for kind in sorted({truth[n]["style"] for n in names}):
        members = [n for n in names if truth[n]["style"] == kind and n in rows]
        right = sum(acc1(float(rows[n]["final_bpm"]), float(truth[n]["bpm"])) for n in members)
        print(f"- {kind}: {right}/{len(members)}")
    misses = [n for n in names if n in rows and not acc1(float(rows[n]["final_bpm"]), float(truth[n]["bpm"]))]
    if misses:
        print(f"\n{title}, misses (truth → found, shown accuracy):\n")
        for n in misses:
            amb = " (ambiguous)" if truth[n].get("ambiguous") == "yes" else ""
            print(f"- {n}{amb}: {float(truth[n]['bpm']):.1f} → {float(rows[n]['final_bpm']):.1f}, "
                  f"{shown_percent(float(rows[n]['final_confidence']))}%")
    print()


def main():
    args = [a for a in sys.argv[1:] if a != "--details"]
    show_details = "--details" in sys.argv
    corpus, seconds = args[0], float(args[1])
    truth = load(f"{corpus}/truth.csv")
    beats = {n: numbers(open(f"{corpus}/{n}.beats").read()) for n in truth}
    results = {}
    for spec in args[2:]:
        label, path = spec.split("=", 1)
        results[label] = load(path)
    calibrated = {label for label in results if label.startswith("bpmDetect")}
    halves = sorted({r.get("split", "") for r in truth.values()}, reverse=True)
    titles = {"tune": "tuning half", "check": "checking half", "": "all"}
    for half in halves:
        names = sorted(n for n in truth if truth[n].get("split", "") == half)
        table(titles.get(half, half), names, truth, beats, results, seconds, calibrated)
    if show_details:
        first = next(iter(results))
        for half in halves:
            if half == "check":
                continue   # the checking half is looked at for its figures only
            names = sorted(n for n in truth if truth[n].get("split", "") == half)
            details(f"{first}, {titles.get(half, half)}", names, truth, results[first])


if __name__ == "__main__":
    main()
