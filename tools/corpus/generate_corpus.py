#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Writes a corpus of test tracks of known tempo and beat times for the beat-detector benchmark.

Each track is composed here as notes (drums, bass, chords, melody) in one of several styles,
written as a Standard MIDI File and rendered with a General MIDI soundfont through fluidsynth;
a share of tracks (and every track when fluidsynth or a soundfont is missing) is rendered by a
small built-in synthesiser instead. Noise and level changes are added afterwards.

Output: <out>/<name>.wav (44.1 kHz, 16-bit stereo), <out>/<name>.beats (one beat time in
seconds a line) and <out>/truth.csv (name, bpm, style, renderer, noise, level).
"""

import argparse
import os
import random
import shutil
import struct
import subprocess
import sys
import wave

import numpy as np

RATE = 44100
SOUNDFONTS = ["/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/default-GM.sf2"]

# General MIDI percussion keys.
KICK, RIM, SNARE, CLAP, CHH, PEDAL, OHH, CRASH, RIDE = 36, 37, 38, 39, 42, 44, 46, 49, 51
CONGA_HI, CONGA_LO, SHAKER, CLAVES, TOM_LO, TOM_HI = 62, 64, 70, 75, 45, 48

PROGRESSIONS = [[0, 9, 5, 7], [0, 5, 7, 5], [9, 5, 0, 7], [0, 7, 9, 5], [2, 7, 0, 0]]
MAJOR = [0, 2, 4, 5, 7, 9, 11]


class Note:
    __slots__ = ("time", "dur", "channel", "key", "vel")

    def __init__(self, time, dur, channel, key, vel):
        self.time, self.dur, self.channel, self.key, self.vel = time, dur, channel, key, vel


class Song:
    """Notes in beats; converted to seconds with the tempo when written."""

    def __init__(self, bpm, beats_per_bar, rng):
        self.bpm = bpm
        self.bar = beats_per_bar
        self.rng = rng
        self.notes = []
        self.programs = {}
        self.swing = 0.0         # share of an eighth the off-beat eighth is delayed by
        self.jitter = 0.004      # seconds of timing spread, as a player would have
        self.square = False      # pitched notes as pulse waves, as sound chips play them
        self.synth_only = False  # no General MIDI equivalent of the sound

    def add(self, beat, dur, channel, key, vel):
        if self.swing and abs((beat * 2) % 2 - 1) < 1e-6:
            beat += self.swing * 0.5
        self.notes.append(Note(beat, dur, channel, key, int(max(1, min(127, vel)))))

    def drums(self, bars, pattern, steps_per_beat=4, vel_spread=10, skip_bars=()):
        """pattern: {key: [(step, velocity), ...]} on a grid of steps_per_beat a beat."""
        for bar in range(bars):
            if bar in skip_bars:
                continue
            for key, hits in pattern.items():
                for step, vel in hits:
                    beat = bar * self.bar + step / steps_per_beat
                    self.add(beat, 0.25, 9, key, vel + self.rng.uniform(-vel_spread, vel_spread))

    def seconds(self, beat):
        return beat * 60.0 / self.bpm


def chord_tones(root, key_root):
    degree = MAJOR.index(root) if root in MAJOR else 0
    tones = [MAJOR[(degree + i) % 7] + (12 if degree + i >= 7 else 0) for i in (0, 2, 4)]
    return [key_root + t for t in tones]


def harmony(song, bars, chord_channel, bass_channel, chord_rhythm, bass_rhythm, vel=70, bass_vel=85):
    rng = song.rng
    prog = rng.choice(PROGRESSIONS)
    key_root = 48 + rng.randrange(0, 12)
    for bar in range(bars):
        root = prog[bar % len(prog)]
        tones = chord_tones(root, key_root)
        start = bar * song.bar
        for beat, dur in chord_rhythm:
            for t in tones:
                song.add(start + beat, dur, chord_channel, t + 12, vel + rng.uniform(-8, 8))
        for beat, dur, offset in bass_rhythm:
            song.add(start + beat, dur, bass_channel, tones[0] - 12 + offset, bass_vel + rng.uniform(-8, 8))
    return key_root, prog


def melody(song, bars, channel, key_root, density, vel=75):
    rng = song.rng
    degree = 7
    step = 0.5 if density > 0.5 else 1.0
    for bar in range(bars):
        beat = 0.0
        while beat < song.bar - 1e-9:
            if rng.random() < density:
                degree = max(0, min(14, degree + rng.choice([-2, -1, -1, 1, 1, 2, 0])))
                key = key_root + 12 + MAJOR[degree % 7] + 12 * (degree // 7)
                accent = 12 if abs(beat - round(beat)) < 1e-6 else 0
                song.add(bar * song.bar + beat, step * 0.9, channel, key, vel + accent + rng.uniform(-6, 6))
            beat += step


def style_four_on_floor(song, bars):
    rng = song.rng
    song.programs = {0: rng.choice([38, 39, 87]), 1: rng.choice([81, 89, 90, 4])}
    hats16 = [(s, 45) for s in range(16) if s % 2] if rng.random() < 0.5 else []
    pattern = {KICK: [(s, 112) for s in (0, 4, 8, 12)],
               rng.choice([CLAP, SNARE]): [(4, 95), (12, 95)],
               OHH: [(s, 78) for s in (2, 6, 10, 14)],
               CHH: hats16}
    breakdown = set(range(8, 10)) if rng.random() < 0.4 else set()
    song.drums(bars, pattern, skip_bars=breakdown)
    harmony(song, bars, 1, 0, [(0, 1.5), (2.5, 1.0)] if rng.random() < 0.5 else [(0, 4.0)],
            [(b + 0.5, 0.4, 0) for b in range(4)], vel=60)


def style_broken(song, bars):
    rng = song.rng
    bpm = song.bpm
    song.programs = {0: rng.choice([33, 34, 38]), 1: rng.choice([4, 5, 0, 89]), 2: rng.choice([11, 80, 73])}
    if bpm < 105:      # hip hop
        pattern = {KICK: [(0, 110), (7, 90), (10, 105)], SNARE: [(4, 105), (12, 105)],
                   CHH: [(s, 70 if s % 4 == 0 else 55) for s in range(0, 16, 2)]}
        song.swing = rng.choice([0.0, 0.2, 0.33])
    elif bpm < 150:    # breakbeat
        pattern = {KICK: [(0, 110), (2, 95), (10, 105), (11, 80)],
                   SNARE: [(4, 105), (7, 55), (9, 60), (12, 105), (15, 50)],
                   rng.choice([CHH, RIDE]): [(s, 65) for s in range(0, 16, 2)]}
    else:              # drum and bass
        pattern = {KICK: [(0, 112), (10, 105)], SNARE: [(4, 108), (12, 108), (14, 45)],
                   CHH: [(s, 60) for s in range(0, 16, 2)], RIDE: [(s, 40) for s in (2, 6, 10, 14)]}
    song.drums(bars, pattern)
    key_root, _ = harmony(song, bars, 1, 0, [(0, 2.0), (2, 2.0)],
                          [(0, 0.75, 0), (1.75, 0.5, 0), (2.5, 1.0, 7)], vel=55)
    melody(song, bars, 2, key_root, 0.45, vel=65)


def style_swing(song, bars):
    rng = song.rng
    song.programs = {0: 32, 1: rng.choice([0, 4, 26]), 2: rng.choice([65, 66, 56, 11])}
    # Ride "ding, ding-a ding, ding-a" on a triplet grid (3 steps a beat), hi-hat foot on 2 and 4.
    pattern = {RIDE: [(0, 80), (3, 85), (5, 60), (6, 80), (9, 85), (11, 60)],
               PEDAL: [(3, 70), (9, 70)]}
    if rng.random() < 0.5:
        pattern[SNARE] = [(rng.choice([5, 8, 11]), 40)]
    song.drums(bars, pattern, steps_per_beat=3)
    # Walking bass, comping on swung off-beats.
    prog = rng.choice(PROGRESSIONS)
    key_root = 40 + rng.randrange(0, 12)
    for bar in range(bars):
        tones = chord_tones(prog[bar % len(prog)], key_root)
        walk = [tones[0], tones[1], tones[2], tones[0] + rng.choice([-1, 1, 2])]
        for b in range(4):
            song.add(bar * 4 + b, 0.9, 0, walk[b], 90 + rng.uniform(-8, 8))
        for _ in range(rng.choice([1, 2])):
            beat = rng.choice([1.667, 2.667, 0.0, 3.667])
            for t in tones:
                song.add(bar * 4 + beat, 0.3, 1, t + 24, 62 + rng.uniform(-8, 8))
    melody(song, bars, 2, key_root + 12, 0.35, vel=72)
    song.jitter = 0.008


def style_sparse(song, bars):
    rng = song.rng
    song.programs = {1: rng.choice([89, 91, 95, 49]), 0: rng.choice([33, 35])}
    choice = rng.randrange(3)
    if choice == 0:
        pattern = {KICK: [(0, 100)], RIM: [(8, 70)], CONGA_LO: [(14, 60)]}
    elif choice == 1:
        pattern = {KICK: [(0, 105), (10, 80)], CLAVES: [(4, 60), (12, 60)]}
    else:
        pattern = {CONGA_HI: [(0, 90), (6, 60)], CONGA_LO: [(8, 85)], SHAKER: [(12, 40)]}
    song.drums(bars, pattern)
    harmony(song, bars, 1, 0, [(0, 8.0)] if song.bar == 4 else [(0, 3.0)], [(0, 3.5, 0)], vel=50, bass_vel=70)


def style_tonal(song, bars):
    rng = song.rng
    waltz = song.bar == 3
    song.programs = {0: rng.choice([32, 42, 0]), 1: rng.choice([0, 1, 48, 19, 46]), 2: rng.choice([73, 40, 68, 11])}
    if waltz:
        chord_rhythm, bass = [(1, 0.8), (2, 0.8)], [(0, 0.9, 0)]
    elif rng.random() < 0.5:
        chord_rhythm, bass = [(b, 0.9) for b in range(4)], [(0, 1.9, 0), (2, 1.9, 7)]
    else:
        chord_rhythm, bass = [(0, 2.0), (2, 2.0)], [(b, 0.9, 0) for b in range(4)]
    key_root, prog = harmony(song, bars, 1, 0, chord_rhythm, bass, vel=58, bass_vel=80)
    melody(song, bars, 2, key_root, 0.6, vel=78)
    if rng.random() < 0.6:
        steps = song.bar * 4
        song.drums(bars, {SHAKER: [(s, 28 if s % 4 else 38) for s in range(0, steps, 2)]})
    song.jitter = 0.010


def style_halftime(song, bars):
    """Drum and bass in half time: the snare only on beat 3, the hats and bass keep the fast pulse."""
    rng = song.rng
    song.programs = {0: rng.choice([38, 39, 87]), 1: rng.choice([89, 90, 50])}
    pattern = {KICK: [(0, 112), (10, 100)], SNARE: [(8, 110)],
               CHH: [(s, 62 if s % 4 else 72) for s in range(0, 16, 2)]}
    if rng.random() < 0.5:
        pattern[SHAKER] = [(s, 35) for s in range(1, 16, 2)]
    song.drums(bars, pattern)
    harmony(song, bars, 1, 0, [(0, 4.0)], [(0, 1.5, 0), (1.5, 0.5, 0), (2.5, 1.5, 0)], vel=50)


def style_one_drop(song, bars):
    """Reggae one drop: kick and rim together on beat 3 only, off-beat chord skanks, hats on eighths."""
    rng = song.rng
    song.programs = {0: rng.choice([33, 34]), 1: rng.choice([27, 28, 16, 4])}
    song.swing = rng.choice([0.0, 0.15])
    pattern = {KICK: [(8, 108)], RIM: [(8, 90)], CHH: [(s, 55) for s in range(0, 16, 2)]}
    song.drums(bars, pattern)
    harmony(song, bars, 1, 0, [(b + 0.5, 0.25) for b in range(4)],
            [(0, 0.9, 0), (1.5, 0.4, 0), (2, 0.9, 7)], vel=72)


def style_hiphop(song, bars):
    """Boom bap: kick on 1 and its pickups, snare on 2 and 4, swung sixteenth hats, sampled keys."""
    rng = song.rng
    song.programs = {0: rng.choice([33, 38]), 1: rng.choice([4, 5, 11])}
    song.swing = rng.choice([0.15, 0.25])
    pattern = {KICK: [(0, 110), (7, 85), (10, 100)], SNARE: [(4, 108), (12, 108)],
               CHH: [(s, 68 if s % 2 == 0 else 45) for s in range(16)]}
    song.drums(bars, pattern)
    harmony(song, bars, 1, 0, [(0, 1.5), (2.5, 1.5)], [(0, 0.75, 0), (2.5, 0.75, 0)], vel=58)


def style_waltz(song, bars):
    """Three beats a bar: bass on one, chords on two and three, a light brush on every beat."""
    rng = song.rng
    song.programs = {0: rng.choice([32, 43]), 1: rng.choice([0, 21, 48]), 2: rng.choice([40, 73, 71])}
    key_root, _ = harmony(song, bars, 1, 0, [(1, 0.8), (2, 0.8)], [(0, 0.9, 0)], vel=60, bass_vel=85)
    melody(song, bars, 2, key_root, 0.5, vel=74)
    if rng.random() < 0.6:
        song.drums(bars, {RIDE: [(0, 50), (4, 40), (8, 40)]}, steps_per_beat=4)
    song.jitter = 0.008


def style_chiptune(song, bars):
    """Tracker-like chip music: pulse-wave arpeggios in sixteenths, pulse bass, noise drums."""
    rng = song.rng
    song.square = True
    song.synth_only = True
    prog = rng.choice(PROGRESSIONS)
    key_root = 48 + rng.randrange(0, 12)
    for bar in range(bars):
        tones = chord_tones(prog[bar % len(prog)], key_root)
        for step in range(16):
            song.add(bar * 4 + step / 4, 0.2, 1, tones[step % 3] + 12, 70)
        for step in range(0, 16, 2):
            song.add(bar * 4 + step / 4, 0.4, 0, tones[0] - 12 + (12 if step % 4 else 0), 90)
    melody(song, bars, 2, key_root + 12, 0.55, vel=80)
    pattern = {KICK: [(0, 110), (8, 105)], SNARE: [(4, 100), (12, 100)]}
    if rng.random() < 0.5:
        pattern[CHH] = [(s, 50) for s in range(2, 16, 4)]
    song.drums(bars, pattern)
    song.jitter = 0.0


STYLES = {
    "four_on_floor": (style_four_on_floor, 95, 180),
    "broken": (style_broken, 70, 180),
    "swing": (style_swing, 60, 200),
    "sparse": (style_sparse, 60, 160),
    "tonal": (style_tonal, 60, 200),
}
# Further styles for a held-out check; not in the default set so the benchmark stays comparable.
EXTRA_STYLES = {
    "halftime": (style_halftime, 160, 178),
    "one_drop": (style_one_drop, 66, 90),
    "hiphop": (style_hiphop, 84, 96),
    "waltz": (style_waltz, 84, 180),
    "chiptune": (style_chiptune, 100, 190),
}
ALL_STYLES = {**STYLES, **EXTRA_STYLES}


# ---- Standard MIDI File -------------------------------------------------------------------

def varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(out)


def write_midi(song, path, duration):
    tpq = 960
    events = []  # (tick, order, bytes)
    us_per_quarter = int(round(60_000_000 / song.bpm))
    events.append((0, 0, b"\xff\x51\x03" + us_per_quarter.to_bytes(3, "big")))
    for channel, program in song.programs.items():
        events.append((0, 1, bytes([0xC0 | channel, program])))
    rng = song.rng
    for n in song.notes:
        seconds = song.seconds(n.time) + rng.gauss(0.0, song.jitter)
        if seconds >= duration or seconds < 0:
            continue
        on = int(round(seconds * song.bpm / 60.0 * tpq))
        off = on + max(1, int(n.dur * tpq))
        events.append((on, 3, bytes([0x90 | n.channel, n.key, n.vel])))
        events.append((off, 2, bytes([0x80 | n.channel, n.key, 0])))
    end = max([int(duration * song.bpm / 60.0 * tpq)] + [e[0] for e in events])
    events.append((end, 4, b"\xff\x2f\x00"))
    events.sort(key=lambda e: (e[0], e[1]))
    track = bytearray()
    last = 0
    for tick, _, data in events:
        track += varlen(tick - last) + data
        last = tick
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, tpq))
        f.write(b"MTrk" + struct.pack(">I", len(track)) + bytes(track))


def render_fluidsynth(midi_path, wav_path, soundfont):
    cmd = ["timeout", "120", "fluidsynth", "-ni", "-q", "-g", "0.6", "-r", str(RATE), "-F", wav_path, soundfont, midi_path]
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    audio = read_wav(wav_path)
    os.remove(wav_path)
    return audio


# ---- built-in synthesiser -----------------------------------------------------------------

def drum_sound(key, vel, rng):
    amp = vel / 127.0
    if key in (KICK,):
        n = int(0.35 * RATE)
        t = np.arange(n) / RATE
        freq = 45 + 110 * np.exp(-t * 30)
        return amp * np.sin(2 * np.pi * np.cumsum(freq) / RATE) * np.exp(-t * 9)
    if key in (SNARE, CLAP, RIM):
        n = int(0.2 * RATE)
        t = np.arange(n) / RATE
        noise = rng.standard_normal(n) * np.exp(-t * 22)
        tone = np.sin(2 * np.pi * 190 * t) * np.exp(-t * 30)
        return amp * 0.5 * (noise * 0.6 + tone)
    if key in (CHH, OHH, PEDAL, RIDE, SHAKER, CRASH):
        decay = {OHH: 12, RIDE: 8, CRASH: 4}.get(key, 45)
        n = int(min(0.5, 6.0 / decay) * RATE)
        t = np.arange(n) / RATE
        noise = np.diff(rng.standard_normal(n + 1))
        return amp * 0.25 * noise * np.exp(-t * decay)
    n = int(0.25 * RATE)
    t = np.arange(n) / RATE
    freq = {CONGA_HI: 330, CONGA_LO: 220, CLAVES: 2500}.get(key, 180)
    return amp * 0.5 * np.sin(2 * np.pi * freq * t) * np.exp(-t * 18)


def tone_sound(key, vel, seconds, bright, square=False):
    n = int((seconds + 0.05) * RATE)
    t = np.arange(n) / RATE
    f = 440.0 * 2 ** ((key - 69) / 12.0)
    if square:
        # A 25% pulse wave held flat, as a sound chip plays it.
        wave_ = np.where((f * t) % 1.0 < 0.25, 0.6, -0.2)
        env = np.minimum(1.0, t / 0.002) * np.exp(-t * 0.8)
        env[int(seconds * RATE):] = 0.0
        return (vel / 127.0) * 0.15 * wave_ * env
    wave_ = sum(np.sin(2 * np.pi * f * h * t) / h ** (2.0 - bright) for h in range(1, 6))
    env = np.minimum(1.0, t / 0.005) * np.exp(-t * 3.0)
    env[int(seconds * RATE):] *= np.exp(-(t[int(seconds * RATE):] - seconds) * 40)
    return (vel / 127.0) * 0.15 * wave_ * env


def render_synth(song, duration, rng):
    out = np.zeros(int(duration * RATE) + RATE)
    nrng = np.random.default_rng(rng.randrange(1 << 30))
    for n in song.notes:
        seconds = song.seconds(n.time) + rng.gauss(0.0, song.jitter)
        if seconds >= duration or seconds < 0:
            continue
        if n.channel == 9:
            s = drum_sound(n.key, n.vel, nrng)
        else:
            s = tone_sound(n.key, n.vel, song.seconds(n.dur), 1.0 if n.channel == 0 else 0.4, song.square)
        start = int(seconds * RATE)
        end = min(len(out), start + len(s))
        out[start:end] += s[: end - start]
    out = out[: int(duration * RATE)]
    return np.stack([out, out], axis=1)


# ---- audio helpers -------------------------------------------------------------------------

def read_wav(path):
    with wave.open(path, "rb") as w:
        channels, width, frames = w.getnchannels(), w.getsampwidth(), w.getnframes()
        data = np.frombuffer(w.readframes(frames), dtype="<i2" if width == 2 else "<i4")
    scale = 32768.0 if width == 2 else 2147483648.0
    audio = data.reshape(-1, channels).astype(np.float64) / scale
    if channels == 1:
        audio = np.repeat(audio, 2, axis=1)
    return audio[:, :2]


def write_wav(path, audio):
    pcm = np.clip(np.round(audio * 32767.0), -32768, 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


def pink_noise(n, rng):
    white = rng.standard_normal(n)
    spectrum = np.fft.rfft(white)
    spectrum /= np.sqrt(np.maximum(1, np.arange(len(spectrum))))
    pink = np.fft.irfft(spectrum, n)
    return pink / (np.std(pink) + 1e-12)


def finish(audio, rng, nrng):
    """Adds noise and level changes; returns the audio and short descriptions of both."""
    n = len(audio)
    rms = np.sqrt(np.mean(audio ** 2)) + 1e-12
    noise_kind = rng.choice(["none", "none", "white", "pink"])
    if noise_kind != "none":
        snr_db = rng.uniform(10, 25)
        noise = nrng.standard_normal(n) if noise_kind == "white" else pink_noise(n, nrng)
        noise = noise * rms * 10 ** (-snr_db / 20)
        audio = audio + noise[:, None]
        noise_kind += f"{snr_db:.0f}dB"
    level_kind = rng.choice(["steady", "steady", "fade_in", "drop", "quiet"])
    t = np.arange(n) / RATE
    if level_kind == "fade_in":
        gain_db = np.minimum(0.0, -24.0 + t * 3.0)
    elif level_kind == "drop":
        mid = rng.uniform(10, 20)
        gain_db = np.where((t > mid) & (t < mid + 6), -15.0, 0.0)
    elif level_kind == "quiet":
        gain_db = np.full(n, -26.0)
    else:
        gain_db = np.zeros(n)
    audio = audio * (10 ** (gain_db / 20))[:, None]
    peak = np.max(np.abs(audio)) + 1e-12
    target = 10 ** (rng.uniform(-12, -1) / 20)
    if level_kind == "quiet":
        target *= 0.1
    return audio * (target / peak), noise_kind, level_kind


def make_track(index, style, bpm, args, soundfont, workdir):
    rng = random.Random(args.seed * 100003 + index)
    nrng = np.random.default_rng(args.seed * 100003 + index)
    fn, _, _ = ALL_STYLES[style]
    beats_per_bar = 3 if (style == "waltz" or (style == "tonal" and rng.random() < 0.25)) else 4
    song = Song(bpm, beats_per_bar, rng)
    lead_in = rng.uniform(0.0, 1.0)   # the track does not start on a beat
    duration = args.seconds + lead_in + 1.0
    bars = int(duration * bpm / 60.0 / beats_per_bar) + 2
    fn(song, bars)
    name = f"{index:03d}_{style}_{bpm:.1f}"
    use_gm = soundfont is not None and rng.random() >= args.synth_share and not song.synth_only
    if use_gm:
        midi_path = os.path.join(workdir, name + ".mid")
        write_midi(song, midi_path, duration)
        audio = render_fluidsynth(midi_path, os.path.join(workdir, name + ".raw.wav"), soundfont)
        renderer = "gm"
    else:
        audio = render_synth(song, duration, rng)
        renderer = "synth"
    start = int(lead_in * RATE)
    audio = audio[start: start + int(args.seconds * RATE)]
    audio, noise_kind, level_kind = finish(audio, rng, nrng)
    write_wav(os.path.join(args.out, name + ".wav"), audio)
    period = 60.0 / bpm
    first = (-lead_in) % period
    beats = np.arange(first, args.seconds, period)
    with open(os.path.join(args.out, name + ".beats"), "w") as f:
        f.write("".join(f"{b:.4f}\n" for b in beats))
    return name, renderer, noise_kind, level_kind


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True)
    parser.add_argument("--per-style", type=int, default=16, help="tracks of each style")
    parser.add_argument("--seconds", type=float, default=32.0)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--synth-share", type=float, default=0.2,
                        help="share of tracks rendered by the built-in synthesiser")
    parser.add_argument("--styles", default=",".join(STYLES),
                        help="comma-separated styles; also: " + ",".join(EXTRA_STYLES))
    args = parser.parse_args()
    styles = [s for s in args.styles.split(",") if s]
    unknown = [s for s in styles if s not in ALL_STYLES]
    if unknown:
        parser.error("unknown style: " + ",".join(unknown))

    os.makedirs(args.out, exist_ok=True)
    soundfont = next((s for s in SOUNDFONTS if os.path.exists(s)), None)
    if soundfont is None or shutil.which("fluidsynth") is None:
        print("fluidsynth or a GM soundfont is missing: every track uses the built-in synthesiser",
              file=sys.stderr)
        soundfont = None
    workdir = os.path.join(args.out, "midi")
    os.makedirs(workdir, exist_ok=True)

    rows = []
    index = 0
    for style in styles:
        _, low, high = ALL_STYLES[style]
        rng = random.Random(args.seed * 7919 + len(style))
        for i in range(args.per_style):
            # Tempos spread evenly over the style's range, each moved a little at random.
            span = (high - low) / args.per_style
            bpm = round(low + span * (i + rng.uniform(0.1, 0.9)), 1)
            name, renderer, noise_kind, level_kind = make_track(index, style, bpm, args, soundfont, workdir)
            rows.append(f"{name},{bpm},{style},{renderer},{noise_kind},{level_kind}\n")
            index += 1
    with open(os.path.join(args.out, "truth.csv"), "w") as f:
        f.write("name,bpm,style,renderer,noise,level\n")
        f.writelines(rows)
    print(f"{len(rows)} tracks in {args.out}")


if __name__ == "__main__":
    main()
