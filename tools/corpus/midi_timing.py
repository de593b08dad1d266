# SPDX-License-Identifier: GPL-2.0-or-later
"""Tempo map, metre and beat times of a Standard MIDI File, and the stretch of it whose tempo
and metre stay the same."""

import mido
from mido.midifiles import meta


class _TolerantKeySignature(meta.MetaSpec_key_signature):
    # Some game MIDI files carry key signatures with an invalid mode byte; the key is not needed.
    def decode(self, message, data):
        try:
            super().decode(message, data)
        except meta.KeySignatureError:
            message.key = "C"


meta.add_meta_spec(_TolerantKeySignature)

SAME_TEMPO = 0.002    # tempo events closer than this (relative) count as one tempo


class MidiTiming:
    def __init__(self, path):
        midi = mido.MidiFile(path, clip=True)
        self.ppq = midi.ticks_per_beat
        self.tempos = [(0, 500000)]          # (tick, microseconds a quarter note)
        self.metres = [(0, 4, 4)]            # (tick, numerator, denominator)
        self.note_ticks = []
        for track in midi.tracks:
            tick = 0
            for msg in track:
                tick += msg.time
                if msg.type == "set_tempo":
                    self.tempos.append((tick, msg.tempo))
                elif msg.type == "time_signature":
                    self.metres.append((tick, msg.numerator, msg.denominator))
                elif msg.type == "note_on" and msg.velocity > 0:
                    self.note_ticks.append(tick)
        self.tempos = _last_per_tick(sorted(self.tempos, key=lambda t: t[0]))
        self.metres = _last_per_tick(sorted(self.metres, key=lambda t: t[0]))
        self.note_ticks.sort()
        self.end_tick = self.note_ticks[-1] if self.note_ticks else 0
        # Seconds at each tempo change.
        self._starts = []
        seconds = 0.0
        for i, (tick, tempo) in enumerate(self.tempos):
            if i:
                prev_tick, prev_tempo = self.tempos[i - 1]
                seconds += (tick - prev_tick) * prev_tempo / 1e6 / self.ppq
            self._starts.append(seconds)

    def seconds(self, tick):
        i = max((j for j, (t, _) in enumerate(self.tempos) if t <= tick), default=0)
        t, tempo = self.tempos[i]
        return self._starts[i] + (tick - t) * tempo / 1e6 / self.ppq

    def steady_spans(self):
        """(first tick, last tick, microseconds a quarter) of each stretch of one tempo and metre."""
        cuts = sorted({t for t, _ in self.tempos} | {t for t, *_ in self.metres} | {self.end_tick})
        spans = []
        for a, b in zip(cuts, cuts[1:]):
            tempo = self.tempo_at(a)
            metre = self.metre_at(a)
            if spans and metre == self.metre_at(spans[-1][0]) and abs(tempo / spans[-1][2] - 1) <= SAME_TEMPO:
                spans[-1] = (spans[-1][0], b, spans[-1][2])
            else:
                spans.append((a, b, tempo))
        return spans

    def tempo_at(self, tick):
        return [v for t, v in self.tempos if t <= tick][-1]

    def metre_at(self, tick):
        entry = [m for m in self.metres if m[0] <= tick][-1]
        return entry[1], entry[2]

    def beat_ticks(self, tick):
        """Ticks of one notated beat and whether the metre is compound (6/8, 9/8, 12/8)."""
        numerator, denominator = self.metre_at(tick)
        unit = self.ppq * 4 // max(1, denominator)
        if denominator >= 8 and numerator % 3 == 0 and numerator > 3 and self._moves_in_threes(tick, unit):
            return unit * 3, True
        return unit, False

    def _moves_in_threes(self, tick, unit):
        """Whether notes start on the middle of each group of three units (6/8 felt as two
        dotted quarters) rather than only on every other unit (6/8 written for 3/4 in quarters)."""
        bar = [m for m in self.metres if m[0] <= tick][-1][0]
        counts = [0] * 6
        for t in self.note_ticks:
            if t >= bar and (t - bar) % unit == 0:
                counts[((t - bar) // unit) % 6] += 1
        return counts[3] >= 0.5 * (counts[2] + counts[4]) / 2

    def beat_grid(self, first_tick, last_tick):
        """Tick of every notated beat from the bar line in force at first_tick to last_tick."""
        bar_tick = [m for m in self.metres if m[0] <= first_tick][-1][0]
        step, _ = self.beat_ticks(first_tick)
        ticks = []
        t = bar_tick
        while t <= last_tick:
            if t >= first_tick:
                ticks.append(t)
            t += step
        return ticks


def _last_per_tick(events):
    out = {}
    for e in events:
        out[e[0]] = e
    return [out[t] for t in sorted(out)]
