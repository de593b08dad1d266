# SPDX-License-Identifier: GPL-2.0-or-later
"""Renders a tracker module with libopenmpt and logs when each row starts, so that the beat
times come from the module's own playback (speed, tempo, pattern breaks and delays included)."""

import ctypes

import numpy as np

RATE = 44100
CHUNK = 32      # frames rendered between two looks at the play position: 0.7 ms


class Row:
    __slots__ = ("frame", "order", "row", "speed", "tempo", "bpm")

    def __init__(self, frame, order, row, speed, tempo, bpm):
        self.frame, self.order, self.row = frame, order, row
        self.speed, self.tempo, self.bpm = speed, tempo, bpm


def _library():
    lib = ctypes.CDLL("libopenmpt.so.0")
    lib.openmpt_module_create_from_memory2.restype = ctypes.c_void_p
    lib.openmpt_module_create_from_memory2.argtypes = [
        ctypes.c_char_p, ctypes.c_size_t, ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p,
        ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.c_void_p, ctypes.c_void_p]
    for name in ("order", "row", "speed", "tempo"):
        fn = getattr(lib, "openmpt_module_get_current_" + name)
        fn.argtypes = [ctypes.c_void_p]
        fn.restype = ctypes.c_int32
    lib.openmpt_module_get_current_estimated_bpm.argtypes = [ctypes.c_void_p]
    lib.openmpt_module_get_current_estimated_bpm.restype = ctypes.c_double
    lib.openmpt_module_read_interleaved_stereo.argtypes = [
        ctypes.c_void_p, ctypes.c_int32, ctypes.c_size_t, ctypes.c_void_p]
    lib.openmpt_module_read_interleaved_stereo.restype = ctypes.c_size_t
    lib.openmpt_module_set_repeat_count.argtypes = [ctypes.c_void_p, ctypes.c_int32]
    lib.openmpt_module_destroy.argtypes = [ctypes.c_void_p]
    return lib


def render(path, max_seconds, repeats=1):
    """Returns (stereo float audio, rows): rows in play order with the frame each starts at."""
    lib = _library()
    data = open(path, "rb").read()
    error = ctypes.c_int(0)
    mod = lib.openmpt_module_create_from_memory2(data, len(data), None, None, None, None,
                                                 ctypes.byref(error), None, None)
    if not mod:
        raise RuntimeError(f"libopenmpt cannot open {path}")
    try:
        lib.openmpt_module_set_repeat_count(mod, repeats)
        total = int(max_seconds * RATE)
        audio = np.zeros((total, 2), dtype=np.int16)
        rows = []
        last = None
        frame = 0
        while frame < total:
            n = min(CHUNK, total - frame)
            view = audio[frame:frame + n]
            got = lib.openmpt_module_read_interleaved_stereo(mod, RATE, n, view.ctypes.data)
            if got == 0:
                break
            position = (lib.openmpt_module_get_current_order(mod), lib.openmpt_module_get_current_row(mod))
            if position != last:
                # The row began somewhere inside this chunk: take its middle.
                start = 0 if not rows else frame + got / 2.0
                rows.append(Row(start, position[0], position[1], lib.openmpt_module_get_current_speed(mod),
                                lib.openmpt_module_get_current_tempo(mod),
                                lib.openmpt_module_get_current_estimated_bpm(mod)))
                last = position
            frame += got
        return audio[:frame].astype(np.float64) / 32768.0, rows
    finally:
        lib.openmpt_module_destroy(mod)


def steady_beats(rows, min_seconds):
    """The longest stretch of evenly spaced beats.

    Returns (beat period in seconds, rows a beat, beat times in seconds) or None. Beats fall on
    the rows whose number in their pattern is a multiple of the rows a beat (the module's own,
    or four where its format has none), as trackers highlight them. Swing written as
    alternating speeds keeps the beats even and is kept; a tempo change, a pattern delay or a
    pattern break to a row off the grid ends a stretch."""
    per_row = [24.0 * r.tempo / (r.speed * r.bpm) for r in rows if r.bpm > 0 and r.speed > 0]
    if not per_row:
        return None
    rows_per_beat = int(round(float(np.median(per_row))))
    if rows_per_beat < 1:
        return None
    times = np.array([r.frame for r in rows if r.row % rows_per_beat == 0]) / RATE
    best = None
    first = 0
    for j in range(1, len(times) + 1):
        if j == len(times) or (j - first >= 2 and abs(times[j] - times[j - 1] - (times[first + 1] - times[first])) > 0.002):
            span = times[first:j]
            if len(span) > 1 and (best is None or span[-1] - span[0] > best[-1] - best[0]):
                best = span
            first = j
    if best is None or best[-1] - best[0] < min_seconds:
        return None
    period = (best[-1] - best[0]) / (len(best) - 1)
    return period, rows_per_beat, best
