#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Drives aubio's live beat tracker (python3-aubio, tempo "default", 1024/512) the way the
program drives bpmDetect.dll: the left channel of each corpus track in order, the tempo and
confidence read every 200 ms, the reading after the given seconds kept. Writes the same CSV as
bench_beatdetect, beat times being aubio's own estimate of each beat it reports.

Usage: aubio_live.py <corpus folder> <output csv> [seconds]
"""

import csv
import sys
import time
import wave

import aubio
import numpy as np

RATE = 44100
HOP = 512
POLL = 8820     # samples between the program's polls: 200 ms


def left_channel(path):
    with wave.open(path, "rb") as w:
        data = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").reshape(-1, w.getnchannels())
    return data[:, 0].astype(np.float32) / 32768.0


def main():
    folder, out_path = sys.argv[1], sys.argv[2]
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 30.0
    names = [r["name"] for r in csv.DictReader(open(f"{folder}/truth.csv"))]
    with open(out_path, "w", newline="") as out:
        out.write("name,audio_seconds,cpu_seconds,final_bpm,final_confidence,tempo_trace,beats\n")
        for name in names:
            left = left_channel(f"{folder}/{name}.wav")[: int(seconds * RATE)]
            tracker = aubio.tempo("default", 1024, HOP, RATE)
            trace, beats = [], []
            bpm = confidence = 0.0
            cpu = 0.0
            next_poll = POLL
            for start in range(0, len(left) - HOP + 1, HOP):
                t0 = time.process_time()
                is_beat = tracker(left[start:start + HOP])
                cpu += time.process_time() - t0
                if is_beat[0]:
                    beats.append(tracker.get_last_s())
                while start + HOP >= next_poll:
                    bpm, confidence = tracker.get_bpm(), tracker.get_confidence()
                    trace.append(bpm)
                    next_poll += POLL
            out.write(f"{name},{len(left) / RATE},{cpu},{bpm},{confidence},"
                      f"{' '.join(f'{b:.3f}' for b in trace)},{' '.join(f'{b:.4f}' for b in beats)}\n")


if __name__ == "__main__":
    main()
