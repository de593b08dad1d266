#!/usr/bin/env python3
"""Scores the beat detector and Debian's tempo estimators on a corpus; prints a Markdown table.

Usage: score.py <corpus folder> <ours.csv> <peers.csv> <seconds>
"""

import csv
import statistics
import sys

TOLERANCE = 0.04
BEAT_WINDOW = 0.070
SKIP_SECONDS = 5.0      # beats are scored once every detector had time to start


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


def f_measure(detected, truth, seconds):
    detected = [b for b in detected if SKIP_SECONDS <= b <= seconds]
    truth = [b for b in truth if SKIP_SECONDS <= b <= seconds]
    if not detected or not truth:
        return 0.0
    used = set()
    hits = 0
    for d in detected:
        best = None
        for j, t in enumerate(truth):
            if j not in used and abs(d - t) <= BEAT_WINDOW and (best is None or abs(d - t) < abs(d - truth[best])):
                best = j
        if best is not None:
            used.add(best)
            hits += 1
    precision, recall = hits / len(detected), hits / len(truth)
    return 0.0 if hits == 0 else 2 * precision * recall / (precision + recall)


def numbers(text):
    return [float(x) for x in text.split()]


def shown_percent(confidence):
    # The program shows three times the value, rounded half to even, capped at 100.
    return min(100, round(confidence * 3))


def main():
    corpus, ours_path, peers_path, seconds = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4])
    truth = {r["name"]: r for r in csv.DictReader(open(f"{corpus}/truth.csv"))}
    beats = {n: numbers(open(f"{corpus}/{n}.beats").read()) for n in truth}
    ours = {r["name"]: r for r in csv.DictReader(open(ours_path))}
    peers = {}
    for row in csv.reader(open(peers_path)):
        if row:
            peers[row[0]] = row

    def num(x):
        try:
            return float(x)
        except ValueError:
            return 0.0

    names = sorted(truth)
    tables = {"bpmDetect.dll": {}, "aubio tempo": {}, "soundstretch -bpm": {}, "bpm (bpm-tools)": {}}
    for n in names:
        t = float(truth[n]["bpm"])
        o = ours.get(n)
        if o:
            tables["bpmDetect.dll"][n] = (float(o["final_bpm"]), numbers(o["tempo_trace"]), numbers(o["beats"]),
                                          float(o["final_confidence"]))
        p = peers.get(n)
        if p:
            tables["aubio tempo"][n] = (num(p[1]), None, numbers(p[4]) if len(p) > 4 else [], None)
            tables["soundstretch -bpm"][n] = (num(p[2]), None, None, None)
            tables["bpm (bpm-tools)"][n] = (num(p[3]), None, None, None)

    cpu = sum(float(o["cpu_seconds"]) for o in ours.values())
    audio = sum(float(o["audio_seconds"]) for o in ours.values())

    print(f"Corpus: {len(names)} tracks, {seconds:.0f} s each; tempo read after {seconds:.0f} s.\n")
    print("| detector | Accuracy1 | Accuracy2 | median time to lock | CPU s per audio s | beat F-measure (±70 ms) | calibration: right among shown ≥ 70% |")
    print("|---|---|---|---|---|---|---|")
    for label, rows in tables.items():
        if not rows:
            continue
        a1 = sum(acc1(r[0], float(truth[n]["bpm"])) for n, r in rows.items()) / len(rows)
        a2 = sum(acc2(r[0], float(truth[n]["bpm"])) for n, r in rows.items()) / len(rows)
        lock = "n/a"
        if all(r[1] is not None for r in rows.values()):
            locks = [lock_time(r[1], float(truth[n]["bpm"])) for n, r in rows.items()]
            med = statistics.median([x if x is not None else float("inf") for x in locks])
            lock = f"{med:.1f} s"
        fm = "n/a"
        if all(r[2] is not None for r in rows.values()):
            fm = f"{statistics.mean(f_measure(r[2], beats[n], seconds) for n, r in rows.items()):.3f}"
        cal = "n/a"
        if all(r[3] is not None for r in rows.values()):
            shown = [(n, r) for n, r in rows.items() if shown_percent(r[3]) >= 70]
            right = sum(acc1(r[0], float(truth[n]["bpm"])) for n, r in shown)
            cal = f"{right}/{len(shown)}" + (f" ({100 * right / len(shown):.0f}%)" if shown else "")
        cost = f"{cpu / audio:.5f}" if label == "bpmDetect.dll" and audio else "n/a"
        print(f"| {label} | {100 * a1:.1f}% | {100 * a2:.1f}% | {lock} | {cost} | {fm} | {cal} |")

    print("\nPer style, Accuracy1 (bpmDetect.dll / aubio / soundstretch / bpm-tools):\n")
    styles = sorted({truth[n]["style"] for n in names})
    for s in styles:
        members = [n for n in names if truth[n]["style"] == s]
        parts = []
        for label, rows in tables.items():
            got = [acc1(rows[n][0], float(truth[n]["bpm"])) for n in members if n in rows]
            parts.append(f"{sum(got)}/{len(got)}")
        print(f"- {s}: " + " / ".join(parts))

    misses = [(n, tables["bpmDetect.dll"][n]) for n in names
              if n in tables["bpmDetect.dll"] and not acc1(tables["bpmDetect.dll"][n][0], float(truth[n]["bpm"]))]
    if misses:
        print("\nbpmDetect.dll misses (track: found, shown accuracy):\n")
        for n, r in misses:
            print(f"- {n}: {r[0]:.2f} BPM, {shown_percent(r[3])}%")


if __name__ == "__main__":
    main()
