# SPDX-License-Identifier: GPL-2.0-or-later
"""The Debian 12 packages the real-music corpus is drawn from: what kind of music each holds,
which of its files are used, and the licence its copyright file gives them.

Kept out on purpose, so that an evaluation on them stays independent: tecnoballz-data,
tuxmath-data, gweled, pingus-data, heroes-sound-tracks, openttd-openmsx, liquidwar-data,
hydrogen-data, lmms-common.
"""

# Kinds of source:
#   tracker    - game music written in a tracker (MOD, S3M, XM, IT), rendered with libopenmpt;
#                tempo and beat times from the module's own speed, tempo and rows per beat.
#   gm-midi    - General MIDI game songs, rendered with fluidsynth and the FluidR3 soundfont;
#                tempo and beat times from the file's tempo map and time signature.
#   arranger   - songs arranged by MMA's style library (MIDI files shipped with mma), rendered
#                the same way.
#   recording  - recorded songs of Frets on Fire, whose note chart (a MIDI file) carries the
#                recording's tempo map; the audio is the recording itself.
TRACKER_EXTENSIONS = (".mod", ".s3m", ".xm", ".it")

SOURCES = [
    # package, kind, extensions or file names, licence (from /usr/share/doc/<package>/copyright)
    ("ironseed-data", "tracker", TRACKER_EXTENSIONS, "GPL-3+"),
    ("pekka-kana-2-data", "tracker", TRACKER_EXTENSIONS, "BSD-2-Clause"),
    ("biniax2-data", "tracker", TRACKER_EXTENSIONS, "Zlib"),
    ("freedroid-data", "tracker", TRACKER_EXTENSIONS, "GPL-2+"),
    ("gl-117-data", "tracker", TRACKER_EXTENSIONS, "GPL-2"),
    ("bomberclone-data", "tracker", TRACKER_EXTENSIONS, "GPL-2"),
    ("rafkill-data", "tracker", TRACKER_EXTENSIONS, "LGPL-2"),
    ("pachi-data", "tracker", TRACKER_EXTENSIONS, "GPL-2+"),
    ("madbomber-data", "tracker", TRACKER_EXTENSIONS, "GPL-2"),
    ("circuslinux-data", "tracker", TRACKER_EXTENSIONS, "GPL-2+"),
    ("tomatoes-data", "tracker", TRACKER_EXTENSIONS, "Zlib"),
    ("ceferino-data", "tracker", TRACKER_EXTENSIONS, "GPL-2+"),
    ("flobopuyo", "tracker", TRACKER_EXTENSIONS, "GPL-2+"),
    ("vodovod", "tracker", TRACKER_EXTENSIONS, "GPL-2+"),
    ("penguin-command", "tracker", TRACKER_EXTENSIONS, "GPL-2+"),
    ("bugsquish", "tracker", TRACKER_EXTENSIONS, "GPL-2"),
    ("vectoroids", "tracker", TRACKER_EXTENSIONS, "GPL-2+"),
    ("simutrans-data", "gm-midi", (".mid",), "Artistic-1.0"),
    ("freedink-data", "gm-midi", (".mid",), "per file: FILE_LICENCES"),
    ("planetblupi-music-midi", "gm-midi", (".mid",), "GPL-3+"),
    ("mma", "arranger", (".mid",), "GPL-2+"),
    ("fretsonfire-songs-sectoid", "recording", ("notes.mid",), "Expat"),
    ("fretsonfire-songs-muldjord", "recording", ("notes.mid",), "CC-BY-SA-3.0"),
]

# Packages whose files differ in licence: the original Dink Smallwood music is under the zlib
# licence (copyright), the replacements under what README-REPLACEMENTS.txt gives each.
FILE_LICENCES = {
    "/usr/share/games/dink/dink/Sound/2.mid": "Zlib",
    "/usr/share/games/dink/dink/Sound/insper.mid": "Zlib",
    "/usr/share/games/dink/dink/Sound/lively.mid": "Zlib",
    "/usr/share/games/dink/dink/Sound/love.mid": "Zlib",
    "/usr/share/games/dink/dink/Sound/7.mid": "GPL-3+",
    "/usr/share/games/dink/dink/Sound/13.mid": "public domain",
    "/usr/share/games/dink/dink/Sound/18.mid": "GPL-3+",
    "/usr/share/games/dink/dink/Sound/105.mid": "GPL-3+ or Art Libre or CC-BY-SA",
}

# MMA ships short demonstrations of single features (scales, volume ramps, a drum pattern);
# only its example songs are music.
MMA_SKIP = ("/pflib/", "/scales/", "/tests/", "/volume/", "/misc/", "/ornament/", "/mid2seq/",
            "/midi-inc/drum.mid", "/rec1.mid", "/rec2.mid", "/riffs/", "/solo/", "/triggers/",
            "/stdlib/", "/rndset/", "/wheel/")

EXCLUDED = {"tecnoballz-data", "tuxmath-data", "gweled", "pingus-data", "heroes-sound-tracks",
            "openttd-openmsx", "liquidwar-data", "hydrogen-data", "lmms-common"}

PACKAGES = [s[0] for s in SOURCES]
assert not EXCLUDED & set(PACKAGES)
