#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Writes the two beat clicks the program carries: MetronomeWave.wav (plain) and
AccentMetronomeWave.wav (accent), 16-bit mono PCM at 44,100 Hz, 0.2 s each.

Each click is a short bipolar tick followed by a ringing body of a few
inharmonic partials, like a struck wood block. The tick is the loudest part of
both sounds and has the same shape in both, so a click is heard, and timed by a
detector, at the same point of its waveform whether it is plain or accented.
The plain body rings around 1.2 kHz; the accent is louder and rings higher and
brighter. Both sit above the bass and kick drum of dance music, where a click
is heard through a mix.

The output is deterministic: running this again gives byte-identical files.

    python3 tools/waves/make_click_waves.py [OUTPUT_FOLDER]

OUTPUT_FOLDER defaults to resources/waves next to this script's repository root.
"""

import math
import os
import struct
import sys
import wave

RATE = 44100
LENGTH = int(0.2 * RATE)          # 8,820 frames
TICK_HZ = 2800.0                  # one cycle of this, Hann-windowed, starts every click
BODY_ATTACK_S = 0.002             # the body swells in after the tick
RELEASE_S = 0.030                 # the tail fades to exact silence at the end

# (peak of the tick, [(partial Hz, amplitude, decay time constant s), ...])
PLAIN = (0.70, [(1250.0, 1.00, 0.032), (3440.0, 0.38, 0.011), (6790.0, 0.12, 0.005)])
ACCENT = (0.89, [(2090.0, 1.00, 0.040), (4380.0, 0.55, 0.018), (7310.0, 0.28, 0.008)])
BODY_TO_TICK = 0.70               # the body's peak relative to the tick's


def tick(n):
    """One sine cycle under a Hann window: a positive then a negative lobe, no DC."""
    width = RATE / TICK_HZ
    if n >= width:
        return 0.0
    phase = n / width
    return math.sin(2 * math.pi * phase) * math.sin(math.pi * phase) ** 2


def body(n, partials):
    t = n / RATE
    attack = 1.0 if t >= BODY_ATTACK_S else math.sin(0.5 * math.pi * t / BODY_ATTACK_S) ** 2
    return attack * sum(a * math.exp(-t / tau) * math.sin(2 * math.pi * f * t)
                        for f, a, tau in partials)


def release(n):
    left = (LENGTH - 1 - n) / RATE
    return 1.0 if left >= RELEASE_S else math.sin(0.5 * math.pi * left / RELEASE_S) ** 2


def click(spec):
    tick_peak, partials = spec
    tick_raw = [tick(n) for n in range(LENGTH)]
    body_raw = [body(n, partials) for n in range(LENGTH)]
    tick_scale = tick_peak / max(abs(v) for v in tick_raw)
    body_scale = BODY_TO_TICK * tick_peak / max(abs(v) for v in body_raw)
    x = [(tick_scale * a + body_scale * b) * release(n)
         for n, (a, b) in enumerate(zip(tick_raw, body_raw))]
    # Remove what DC the decaying partials leave with a bump that is zero at both
    # ends, so the start and the end stay exactly silent.
    bump = [math.sin(math.pi * n / (LENGTH - 1)) ** 2 for n in range(LENGTH)]
    c = sum(x) / sum(bump)
    x = [v - c * w for v, w in zip(x, bump)]
    pcm = [max(-32767, min(32767, round(v * 32767))) for v in x]
    # Rounding leaves a few LSB of sum; spread the remainder over the quiet middle.
    rest = sum(pcm)
    n = LENGTH // 2
    while rest != 0:
        step = 1 if rest < 0 else -1
        pcm[n] += step
        rest += step
        n += 1
    return pcm


def write(path, pcm):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(struct.pack("<%dh" % len(pcm), *pcm))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "resources", "waves")
    os.makedirs(out, exist_ok=True)
    for name, spec in (("MetronomeWave.wav", PLAIN), ("AccentMetronomeWave.wav", ACCENT)):
        pcm = click(spec)
        write(os.path.join(out, name), pcm)
        print("%s: %d frames, peak %.1f dBFS, first %d last %d, sum %d" % (
            name, len(pcm), 20 * math.log10(max(abs(v) for v in pcm) / 32768), pcm[0], pcm[-1], sum(pcm)))


if __name__ == "__main__":
    main()
