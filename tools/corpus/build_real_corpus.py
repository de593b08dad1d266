#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Builds the real-music corpus of the beat-detector benchmark from installed Debian packages.

Every piece is one excerpt of constant tempo and metre, its tempo and beat times taken from the
music's own data: a tracker module's speed, tempo and rows per beat as libopenmpt plays it, a
MIDI file's tempo map and time signature, or the tempo map of a Frets on Fire note chart, which
was written against the recording. Install the packages first (tools/install-deps.sh corpus).

The tempo is that of the notated beat (a tracker's highlighted rows, a MIDI quarter note, the
dotted quarter of 6/8, 9/8 and 12/8), moved by octaves into 60 to 200 BPM, where listeners tap.
A piece is marked ambiguous when a listener could as well tap twice or half as fast: the tempo
lies outside 80 to 160 BPM, or the metre is compound. Nobody listened to the pieces to label
them; the rule is the label.

Output: <out>/<name>.wav (44.1 kHz, 16-bit stereo, 32 s), <out>/<name>.beats (beat times in
seconds) and <out>/truth.csv. The manifest (sources, licences, tempo, split, how the tempo was
found) goes to <out>/manifest.csv and, with --manifest, to the committed copy, which --check
compares against.
"""

import argparse
import csv
import glob
import hashlib
import os
import re
import subprocess
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from generate_corpus import RATE, SOUNDFONTS, read_wav, write_wav  # noqa: E402
import real_sources  # noqa: E402

EXCERPT = 32.0          # seconds of each piece
INTRO_SKIP = 8.0        # seconds skipped into a long steady stretch: intros are often sparse
LOW, HIGH = 60.0, 200.0  # tempo range a listener taps in
CLEAR_LOW, CLEAR_HIGH = 80.0, 160.0  # inside this, one level is plainly the beat
GRID_BIAS_MS = -5       # where grid_offset_ms puts exactly timed beats (its flux peaks early)

FIELDS = ["name", "split", "kind", "package", "version", "file", "licence", "start", "bpm",
          "level", "ambiguous", "derivation", "grid_offset_ms"]


def digest(text):
    return hashlib.sha1(text.encode()).hexdigest()


def package_files(package, endings):
    out = subprocess.run(["dpkg", "-L", package], capture_output=True, text=True, check=False).stdout
    files = [f for f in out.splitlines() if f.lower().endswith(endings) and os.path.isfile(f)]
    if package == "mma":
        files = [f for f in files if not any(s in f for s in real_sources.MMA_SKIP)]
    return sorted(files)


def package_version(package):
    out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True, text=True)
    return out.stdout.strip() if out.returncode == 0 else ""


def listener_level(bpm, compound):
    """Octave factor from the notated beat to the tapped one, and whether it is ambiguous."""
    factor = 1.0
    while bpm * factor > HIGH:
        factor /= 2
    while bpm * factor < LOW:
        factor *= 2
    tapped = bpm * factor
    return factor, compound or not (CLEAR_LOW <= tapped <= CLEAR_HIGH)


def relevel(beats, index, factor):
    """Beat times at factor times the notated rate; index counts notated beats from a bar line."""
    beats = np.asarray(beats, dtype=float)
    while factor < 1:
        keep = np.asarray(index) % 2 == 0
        beats, index = beats[keep], np.asarray(index)[keep] // 2
        factor *= 2
    while factor > 1:
        mids = (beats[:-1] + beats[1:]) / 2
        merged = np.empty(len(beats) + len(mids))
        merged[0::2], merged[1::2] = beats, mids
        beats, index = merged, np.arange(len(merged))
        factor /= 2
    return beats


def level_name(unit, factor):
    if factor == 1:
        return unit
    return f"{unit} x{factor:g}"


def choose_start(name, first, last, period):
    """Excerpt start inside [first, last]: past the intro, and never on a beat."""
    slack = last - first - EXCERPT
    if slack < 0:
        return None
    fraction = int(digest(name)[:8], 16) / 0xFFFFFFFF
    offset = min(INTRO_SKIP, slack / 2)
    start = first + offset + fraction * min(period, slack - offset)
    return start


def audible(left):
    """No more than two seconds of the excerpt are near silence."""
    seconds = len(left) // RATE
    rms = [np.sqrt(np.mean(left[i * RATE:(i + 1) * RATE] ** 2)) for i in range(seconds)]
    return sum(r < 1e-3 for r in rms) <= 2


def grid_offset_ms(left, beats):
    """Shift (ms) that best lines the beat times up with the onsets: a check of the timing."""
    hop = 220
    frames = len(left) // hop - 4
    window = np.hanning(1024)
    mags = []
    for i in range(frames):
        seg = left[i * hop:i * hop + 1024]
        if len(seg) < 1024:
            break
        mags.append(np.log1p(100 * np.abs(np.fft.rfft(seg * window))))
    mags = np.array(mags)
    flux = np.maximum(0, np.diff(mags, axis=0)).sum(axis=1)
    flux = np.concatenate([[0], flux])
    centre = 512 / RATE   # a frame stands for its window's middle
    best, best_score = 0, -1
    for shift in range(-80, 81, 5):
        idx = np.round((np.asarray(beats) + shift / 1000.0 - centre) * RATE / hop).astype(int) + 1
        idx = idx[(idx >= 0) & (idx < len(flux))]
        score = flux[idx].mean() if len(idx) else 0
        if score > best_score:
            best, best_score = shift, score
    return best


# ---- the kinds of source --------------------------------------------------------------------

def tracker_piece(path, name, cache):
    import tracker_timing
    audio, rows = tracker_timing.render(path, 180.0)
    found = tracker_timing.steady_beats(rows, EXCERPT + 1.0)
    if found is None:
        return None, "no 33 s of steady beats"
    period, rows_per_beat, beats = found
    factor, ambiguous = listener_level(60.0 / period, False)
    start = choose_start(name, beats[0], beats[-1] + period, period)
    if start is None:
        return None, "steady stretch too short"
    index = np.arange(len(beats))
    # Index counted from a pattern start, so that halving keeps the beats on even rows.
    first_row = [r for r in rows if abs(r.frame / tracker_timing.RATE - beats[0]) < 0.002]
    if first_row:
        index = index + (first_row[0].row // rows_per_beat)
    beats = relevel(beats, index, factor)
    derivation = (f"{rows_per_beat} rows a beat, speed/tempo {_speed_tempo(rows, beats[0])}, "
                  f"beats timed as libopenmpt plays the rows")
    return (audio, start, 60.0 / period * factor, level_name(f"{rows_per_beat} rows", factor),
            ambiguous, beats, derivation), None


def _speed_tempo(rows, t):
    near = min(rows, key=lambda r: abs(r.frame / RATE - t))
    return f"{near.speed}/{near.tempo}"


def midi_beats(timing, name, length_limit=None):
    spans = [s for s in timing.steady_spans()]
    best = None
    for first, last, tempo in spans:
        a, b = timing.seconds(first), timing.seconds(last)
        if length_limit:
            b = min(b, length_limit)
        if b - a >= EXCERPT + 1 and (best is None or b - a > best[1] - best[0]):
            best = (a, b, first, last, tempo)
    if best is None:
        return None
    a, b, first, last, tempo = best
    step, compound = timing.beat_ticks(first)
    notated = 60e6 / tempo * timing.ppq / step
    # Start where the music plays, not at a silent lead-in.
    notes = [timing.seconds(t) for t in timing.note_ticks if first <= t <= last]
    if not notes:
        return None
    a = max(a, notes[0])
    factor, ambiguous = listener_level(notated, compound)
    ticks = timing.beat_grid(first, last)
    # Some files place every note a little after the written grid (a sequencer's lead-in):
    # the beat is where the notes sound.
    near = [((t + step / 2) % step) - step / 2 for t in timing.note_ticks if first <= t <= last]
    near = [d for d in near if abs(d) < step / 8]
    shift = float(np.median(near)) if near else 0.0
    shift_ms = shift / timing.ppq * tempo / 1000.0
    if abs(shift_ms) < 10:
        shift, shift_ms = 0.0, 0.0
    times = np.array([timing.seconds(t + shift) for t in ticks])
    bar = [m for m in timing.metres if m[0] <= first][-1][0]
    index = [(t - bar) // step for t in ticks]
    beats = relevel(times, index, factor)
    numerator, denominator = timing.metre_at(first)
    unit = "dotted quarter" if compound else {1: "whole", 2: "half", 4: "quarter", 8: "eighth",
                                               16: "sixteenth"}.get(denominator, f"1/{denominator}")
    start = choose_start(name, a, b, 60.0 / notated)
    if start is None:
        return None
    derivation = f"tempo map {60e6 / tempo:.3f} BPM a quarter, metre {numerator}/{denominator}"
    if shift_ms:
        derivation += f", notes {shift_ms:.0f} ms after the written beat"
    return start, notated * factor, level_name(unit, factor), ambiguous, beats, derivation


def render_midi(path, wav):
    if not os.path.exists(wav):
        soundfont = next(s for s in SOUNDFONTS if os.path.exists(s))
        subprocess.run(["timeout", "600", "fluidsynth", "-ni", "-q", "-g", "0.6", "-r", str(RATE),
                        "-F", wav + ".part", soundfont, path], check=True, capture_output=True)
        os.replace(wav + ".part", wav)
    return read_wav(wav)


def midi_piece(path, name, cache):
    import midi_timing
    timing = midi_timing.MidiTiming(path)
    found = midi_beats(timing, name)
    if found is None:
        return None, "no 33 s of one tempo and metre"
    start, bpm, level, ambiguous, beats, derivation = found
    audio = render_midi(path, os.path.join(cache, name + ".wav"))
    return (audio, start, bpm, level, ambiguous, beats, derivation), None


def recording_piece(path, name, cache, part):
    """One of two excerpts of a Frets on Fire song: the recording's stems mixed, the chart's tempo."""
    import midi_timing
    folder = os.path.dirname(path)
    wav = os.path.join(cache, digest(folder)[:12] + ".wav")
    if not os.path.exists(wav):
        stems = []
        for stem in sorted(glob.glob(os.path.join(folder, "*.ogg"))):
            out = os.path.join(cache, digest(stem)[:12] + ".stem.wav")
            subprocess.run(["oggdec", "-Q", "-o", out, stem], check=True)
            stems.append(read_wav(out))
            os.remove(out)
        n = max(len(s) for s in stems)
        mix = np.zeros((n, 2))
        for s in stems:
            mix[:len(s)] += s
        write_wav(wav, mix / max(1.0, np.abs(mix).max()))
    audio = read_wav(wav)
    timing = midi_timing.MidiTiming(path)
    delay = _chart_delay(folder)
    whole = len(audio) / RATE
    half = whole / 2
    # Part 0 from the first half of the song, part 1 from the second.
    sub = midi_timing_window(timing, part, half, delay)
    if sub is None:
        return None, "no steady stretch"
    found = midi_beats(sub, name)
    if found is None:
        return None, "no 33 s of one tempo and metre"
    start, bpm, level, ambiguous, beats, derivation = found
    start += delay
    beats = beats + delay
    if start + EXCERPT > whole:
        return None, "recording ends first"
    return (audio, start, bpm, level, ambiguous, beats, derivation + ", chart against the recording"), None


def midi_timing_window(timing, part, half, delay):
    """The timing limited to one half of the song (a copy whose notes lie in that half)."""
    import copy
    sub = copy.copy(timing)
    lo, hi = (0.0, half) if part == 0 else (half, 2 * half)
    sub.note_ticks = [t for t in timing.note_ticks if lo <= timing.seconds(t) + delay < hi]
    if not sub.note_ticks:
        return None
    # Steady spans end at the window's end.
    sub.end_tick = sub.note_ticks[-1]
    return sub


def _chart_delay(folder):
    ini = os.path.join(folder, "song.ini")
    if os.path.exists(ini):
        m = re.search(r"^\s*delay\s*=\s*(-?\d+)", open(ini).read(), re.M)
        if m:
            return int(m.group(1)) / 1000.0
    return 0.0


# ---- the corpus ------------------------------------------------------------------------------

def pieces():
    """(name, kind, package, file, part) of every candidate, in a fixed order."""
    out = []
    for package, kind, endings, _ in real_sources.SOURCES:
        for path in package_files(package, endings):
            stem = re.sub(r"[^A-Za-z0-9]+", "-", os.path.splitext(os.path.relpath(path, "/usr/share"))[0])
            stem = stem.strip("-").lower()[-48:]
            if kind == "recording":
                stem = re.sub(r"[^A-Za-z0-9]+", "-", os.path.basename(os.path.dirname(path))).lower()
                for part in (0, 1):
                    out.append((f"{kind}_{stem}_{part + 1}", kind, package, path, part))
            else:
                out.append((f"{kind}_{stem}", kind, package, path, 0))
    return out


def split_of(rows):
    """Tuning or checking half: within each package, pieces sorted by a hash of their source
    file take turns, so every package is split evenly and a song's excerpts stay together."""
    by_package = {}
    for r in rows:
        by_package.setdefault(r["package"], []).append(r)
    for members in by_package.values():
        files = sorted({r["file"] for r in members}, key=digest)
        offset = int(digest(members[0]["package"])[:2], 16) % 2
        half = {f: ("tune", "check")[(i + offset) % 2] for i, f in enumerate(files)}
        for r in members:
            r["split"] = half[r["file"]]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True)
    parser.add_argument("--manifest", help="also write the manifest here (the committed copy)")
    parser.add_argument("--check", help="fail when the built manifest differs from this one")
    parser.add_argument("--only", help="regular expression: build only matching pieces")
    args = parser.parse_args()

    missing = [p for p in real_sources.PACKAGES if not package_version(p)]
    if missing:
        sys.exit("missing packages (tools/install-deps.sh corpus): " + " ".join(missing))
    os.makedirs(args.out, exist_ok=True)
    cache = os.path.join(args.out, "render")
    os.makedirs(cache, exist_ok=True)
    licences = {s[0]: s[3] for s in real_sources.SOURCES}
    versions = {p: package_version(p) for p in real_sources.PACKAGES}

    rows, skipped = [], []
    for name, kind, package, path, part in pieces():
        if args.only and not re.search(args.only, name):
            continue
        try:
            if kind == "tracker":
                result, why = tracker_piece(path, name, cache)
            elif kind == "recording":
                result, why = recording_piece(path, name, cache, part)
            else:
                result, why = midi_piece(path, name, cache)
        except Exception as error:  # a broken file is skipped, not fatal
            result, why = None, f"{type(error).__name__}: {error}"
        if result is None:
            skipped.append((name, why))
            continue
        audio, start, bpm, level, ambiguous, beats, derivation = result
        first = int(round(start * RATE))
        excerpt = audio[first:first + int(EXCERPT * RATE)]
        if len(excerpt) < EXCERPT * RATE or not audible(excerpt[:, 0]):
            skipped.append((name, "silent or short"))
            continue
        peak = np.abs(excerpt).max()
        excerpt = excerpt * (0.5 / peak)
        times = np.asarray(beats) - start
        offset = grid_offset_ms(excerpt[:, 0], times[(times >= 0) & (times < EXCERPT)])
        if kind == "recording" and abs(offset - GRID_BIAS_MS) > 10:
            # A chart is timed against its recording by hand: move it onto the onsets.
            times = times + (offset - GRID_BIAS_MS) / 1000.0
            derivation += f", chart moved {offset - GRID_BIAS_MS} ms onto the recording's onsets"
            offset = grid_offset_ms(excerpt[:, 0], times[(times >= 0) & (times < EXCERPT)])
        times = times[(times >= 0) & (times < EXCERPT)]
        write_wav(os.path.join(args.out, name + ".wav"), excerpt)
        with open(os.path.join(args.out, name + ".beats"), "w") as f:
            f.write("".join(f"{t:.4f}\n" for t in times))
        licence = real_sources.FILE_LICENCES.get(path, licences[package])
        rows.append({"name": name, "split": "", "kind": kind, "package": package,
                     "version": versions[package], "file": path, "licence": licence,
                     "start": f"{start:.3f}", "bpm": f"{bpm:.3f}", "level": level,
                     "ambiguous": "yes" if ambiguous else "no", "derivation": derivation,
                     "grid_offset_ms": offset})
        print(f"{name}: {bpm:.2f} BPM ({level}{', ambiguous' if ambiguous else ''})", flush=True)
    split_of(rows)
    rows.sort(key=lambda r: r["name"])

    manifest = os.path.join(args.out, "manifest.csv")
    for target in filter(None, [manifest, args.manifest]):
        with open(target, "w", newline="") as f:
            w = csv.DictWriter(f, FIELDS, lineterminator="\n")
            w.writeheader()
            w.writerows(rows)
    with open(os.path.join(args.out, "truth.csv"), "w") as f:
        f.write("name,bpm,style,split,ambiguous\n")
        for r in rows:
            f.write(f"{r['name']},{r['bpm']},{r['kind']},{r['split']},{r['ambiguous']}\n")
    with open(os.path.join(args.out, "skipped.txt"), "w") as f:
        f.writelines(f"{n}: {w}\n" for n, w in skipped)
    print(f"{len(rows)} pieces in {args.out} ({len(skipped)} skipped, see skipped.txt)")
    if args.check:
        built = open(manifest).read().splitlines()
        kept = open(args.check).read().splitlines()
        if built != kept:
            diff = [line for line in set(built) ^ set(kept)][:10]
            sys.exit("manifest differs from " + args.check + ":\n" + "\n".join(diff))


if __name__ == "__main__":
    main()
