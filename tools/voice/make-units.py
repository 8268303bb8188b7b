#!/usr/bin/env python3
"""Generates the 41 sound units of the voice pack gorvin from espeak-ng's Slovak voice.

    tools/voice/make-units.py [--out data/gorvin/Wave] [--report DIR]

Needs the espeak-ng library (Debian libespeak-ng1 with espeak-ng-data); --report also
needs sox. The output is committed, so building and testing Tamzel needs neither.

How a unit is made (see docs/voice-pack.md):
  * Vowels are synthesised alone, as a long vowel at a flat pitch (pitch range 0), and a
    steady piece is cut from the middle: playback varies the pitch per unit by changing
    the playback rate, so a vowel must be long and level enough to carry the contour.
  * Consonants are synthesised in the carrier a-C-a and cut out at espeak-ng's phoneme
    events. Stops and affricates keep the end of their closure before the burst and a few
    milliseconds of the release into the next vowel: alone they would be inaudible.
  * Every carrier is scaled so that its first vowel has the loudness of the vowel units,
    which keeps each consonant at its natural level relative to the vowels; very weak
    consonants are lifted to a floor. A DC blocker removes espeak-ng's noise offset.
  * Short raised-cosine fades at both ends, so that units join without clicks.
  * "pl" and "ps" are silence of 150 ms and 40 ms.
An unknown phoneme mnemonic makes espeak-ng stop early without an error, so every carrier's
phoneme events are compared with the phonemes asked for, and every unit's length is
checked against its range before anything is written.
"""

import argparse
import ctypes
import math
import os
import struct
import subprocess
import sys
import wave

RATE = 22050
TARGET_RMS = 4000.0          # loudness of the vowel units (about -18 dBFS)
CONSONANT_FLOOR = 0.25       # no consonant is quieter than this share of TARGET_RMS
PEAK_LIMIT = 26000           # no unit may come closer than this to full scale

# Vowels: (unit name, espeak-ng phoneme, kind), synthesised as phoneme input [[...]].
VOWELS = [
    ("a", "a:", "short"), ("aa", "a:", "long"),
    ("e", "e:", "short"), ("ee", "e:", "long"),
    ("i", "i:", "short"), ("ii", "i:", "long"),
    ("o", "o:", "short"), ("oo", "o:", "long"),
    ("u", "u:", "short"), ("uu", "u:", "long"),
    ("y", "i:", "short"), ("yy", "i:", "long"),
]
# Consonants: (unit name, carrier text, the consonant's phoneme mnemonic, kind). The
# carriers are plain Slovak text whose phonemes were checked with `espeak-ng -v sk -x`.
CONSONANTS = [
    ("b", "aba", "b", "stop"), ("d", "ada", "d", "stop"), ("dd", "aďa", "d;", "stop"),
    ("g", "aga", "g", "stop"), ("p", "apa", "p", "stop"), ("t", "ata", "t", "stop"),
    ("tt", "aťa", "t;", "stop"), ("k", "aka", "k", "stop"),
    ("c", "aca", "ts", "affricate"), ("cc", "ača", "tS", "affricate"),
    ("dz", "adza", "dz", "affricate"), ("dzdz", "adža", "dZ", "affricate"),
    ("f", "afa", "f", "fricative"), ("s", "asa", "s", "fricative"),
    ("ss", "aša", "S", "fricative"), ("z", "aza", "z", "fricative"),
    ("zz", "aža", "Z", "fricative"), ("h", "aha", "h", "fricative"),
    ("_", "acha", "x", "fricative"), ("v", "ava", "v", "sonorant"),
    # Slovak reads w like v (it occurs in foreign names only).
    ("w", "awa", "v", "sonorant"),
    ("j", "aja", "j", "sonorant"), ("l", "ala", "l", "sonorant"),
    ("m", "ama", "m", "sonorant"), ("n", "ana", "n", "sonorant"),
    ("nn", "aňa", "n^", "sonorant"), ("r", "ara", "R", "sonorant"),
]
PAUSES = [("pl", 0.150), ("ps", 0.040)]

# Accepted lengths in seconds per kind; a unit outside its range stops the script.
LENGTHS = {
    "short": (0.120, 0.180), "long": (0.200, 0.260),
    "stop": (0.035, 0.090), "affricate": (0.060, 0.160),
    "fricative": (0.050, 0.150), "sonorant": (0.040, 0.130),
    "pause": (0.030, 0.160),
}
VOWEL_SECONDS = {"short": 0.150, "long": 0.230}


class Event(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("unique_identifier", ctypes.c_uint),
                ("text_position", ctypes.c_int), ("length", ctypes.c_int),
                ("audio_position", ctypes.c_int), ("sample", ctypes.c_int),
                ("user_data", ctypes.c_void_p), ("id", ctypes.c_char * 8)]


EVENT_PHONEME = 7
SynthCallback = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.POINTER(ctypes.c_short),
                                 ctypes.c_int, ctypes.POINTER(Event))


class Espeak:
    """The espeak-ng library in synchronous mode, collecting samples and phoneme events."""

    def __init__(self):
        self.lib = ctypes.CDLL("libespeak-ng.so.1")
        self.samples, self.phonemes = [], []
        self.callback = SynthCallback(self._collect)   # kept alive as long as the library
        rate = self.lib.espeak_Initialize(2, 0, None, 1)  # synchronous, phoneme events
        if rate != RATE:
            sys.exit(f"espeak-ng gives {rate} Hz, expected {RATE} Hz")
        self.lib.espeak_SetSynthCallback(self.callback)
        if self.lib.espeak_SetVoiceByName(b"sk") != 0:
            sys.exit("espeak-ng has no Slovak voice (sk)")
        self.lib.espeak_SetParameter(4, 0, 0)        # pitch range 0: a level pitch

    def _collect(self, wav, count, events):
        if wav and count > 0:
            self.samples.extend(wav[:count])
        i = 0
        while events[i].type != 0:
            e = events[i]
            if e.type == EVENT_PHONEME:
                name = bytes(e.id).split(b"\0")[0].decode("utf-8", "replace")
                self.phonemes.append((name, e.sample))
            i += 1
        return 0

    def synth(self, text, words_per_minute):
        self.samples, self.phonemes = [], []
        self.lib.espeak_SetParameter(1, words_per_minute, 0)
        data = text.encode("utf-8")
        # position type 1 (characters), flags 1 (UTF-8 text)
        self.lib.espeak_Synth(data, len(data) + 1, 0, 1, 0, 1, None, None)
        self.lib.espeak_Synchronize()
        return without_dc(self.samples), list(self.phonemes)


def sounds(events):
    """The phoneme events without espeak-ng's pauses ("_", "_:")."""
    return [e for e in events if not e[0].startswith("_")]


def without_dc(samples):
    """A first-order DC blocker (cut-off about 20 Hz). espeak-ng's noise sources carry an
    offset of several hundred in fricatives; left in, every such unit would start and end
    with a thump."""
    out, previous_in, previous_out = [], 0.0, 0.0
    for x in samples:
        previous_out = x - previous_in + 0.9943 * previous_out
        previous_in = x
        out.append(previous_out)
    return out


def rms(samples):
    return math.sqrt(sum(x * x for x in samples) / len(samples)) if samples else 0.0


def fade(samples, seconds_in, seconds_out):
    """Raised-cosine fades; the first and last sample become exactly 0."""
    out = list(samples)
    for length, forward in ((int(seconds_in * RATE), True), (int(seconds_out * RATE), False)):
        length = min(length, len(out) // 2)
        for n in range(length):
            gain = 0.5 - 0.5 * math.cos(math.pi * n / length)
            index = n if forward else len(out) - 1 - n
            out[index] *= gain
    return out


def scaled(samples, gain):
    return [x * gain for x in samples]


def lifted(samples):
    """Raises a weak consonant (f, h, ch, v are far below the vowels in the carrier) so
    that it is not lost under the end of the vowel that overlaps it in playback."""
    level = rms(samples)
    floor = CONSONANT_FLOOR * TARGET_RMS
    return scaled(samples, floor / level) if 0 < level < floor else samples


def take_middle(samples, length):
    start = max(0, (len(samples) - length) // 2)
    return samples[start:start + length]


def make_vowel(espeak, name, phoneme, kind):
    samples, events = espeak.synth(f"[['{phoneme}]]", 100)
    if [p for p, _ in sounds(events)] != [phoneme]:
        sys.exit(f"unit {name}: espeak-ng gave phonemes {events}, expected {phoneme}")
    index = events.index(sounds(events)[0])
    start = events[index][1]
    end = events[index + 1][1] if index + 1 < len(events) else len(samples)
    body = samples[start:end]
    piece = take_middle(body, int(VOWEL_SECONDS[kind] * RATE))
    return fade(scaled(piece, TARGET_RMS / rms(piece)), 0.010, 0.012)


def carrier_gain(samples, events):
    """Gain that brings the carrier's first vowel (its steady middle) to TARGET_RMS."""
    first_vowel = samples[events[0][1]:events[1][1]]
    return TARGET_RMS / rms(take_middle(first_vowel, len(first_vowel) // 2))


def vowel_onset(samples, start, vowel_rms):
    """First position after start where 10 ms of signal reach 45 % of the vowel's loudness.

    espeak-ng's event for the vowel after a voiced consonant comes late, so the release
    into the vowel is found by energy."""
    window = RATE // 100
    for position in range(start, len(samples) - window, window // 4):
        if rms(samples[position:position + window]) >= 0.45 * vowel_rms:
            return position
    return len(samples)


VOICELESS = ("p", "t", "tt", "k", "c", "cc")


def make_consonant(espeak, name, text, phoneme, kind):
    samples, events = espeak.synth(text, 110)
    events = sounds(events)
    names = [p for p, _ in events]
    if names != ["a", phoneme, "a"]:
        sys.exit(f"unit {name}: carrier {text!r} gave phonemes {names}, expected a {phoneme} a")
    gain = carrier_gain(samples, events)
    at, vowel = events[1][1], events[2][1]
    ms = RATE // 1000
    if kind == "sonorant":
        # Keep clear of the glide into the vowel: in "aňa" espeak-ng joins the nasal and
        # the glide with an audible jump some 50 ms before the vowel's event.
        end = min(vowel - 40 * ms, at + 120 * ms)
        piece = samples[max(at, end - 110 * ms):end]
        return fade(lifted(scaled(piece, gain)), 0.006, 0.008)
    onset = vowel_onset(samples, at, TARGET_RMS / gain)
    if kind == "fricative":
        piece = take_middle(samples[at:min(vowel, onset)], 110 * ms)
        return fade(lifted(scaled(piece, gain)), 0.006, 0.008)
    # Stops and affricates: the event of a voiceless one marks its burst (keep 20 ms of
    # the silent closure before it), that of a voiced one the start of its closure. The
    # piece ends 10 ms into the vowel, so that the release can be heard.
    end = onset + 10 * ms
    longest = (80 if kind == "stop" else 150) * ms
    start = max(at - (20 * ms if name in VOICELESS else 0), end - longest)
    return fade(lifted(scaled(samples[start:end], gain)), 0.004, 0.008)


def check(name, kind, samples):
    low, high = LENGTHS[kind]
    seconds = len(samples) / RATE
    if not low <= seconds <= high:
        sys.exit(f"unit {name}: {seconds * 1000:.0f} ms is outside {low * 1000:.0f}-{high * 1000:.0f} ms")
    peak = max((abs(x) for x in samples), default=0)
    if kind != "pause" and (peak < 1000 or peak > PEAK_LIMIT):
        sys.exit(f"unit {name}: peak {peak:.0f} is outside 1000-{PEAK_LIMIT}")


def write_wave(path, samples):
    frames = b"".join(struct.pack("<h", max(-32768, min(32767, round(x)))) for x in samples)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def report(out_dir, report_dir, units):
    """sox statistics of every unit and a spectrogram per unit for looking at."""
    os.makedirs(report_dir, exist_ok=True)
    print(f"{'unit':6} {'kind':10} {'ms':>5} {'peak':>6} {'rms':>6}")
    for name, kind, samples in units:
        path = os.path.join(out_dir, name + ".wav")
        stat = subprocess.run(["sox", path, "-n", "stat"], capture_output=True, text=True).stderr
        values = dict(line.split(":", 1) for line in stat.splitlines() if ":" in line)
        print(f"{name:6} {kind:10} {len(samples) * 1000 / RATE:5.0f} "
              f"{float(values['Maximum amplitude']) * 32768:6.0f} "
              f"{float(values['RMS     amplitude']) * 32768:6.0f}")
        if kind != "pause":
            subprocess.run(["sox", path, "-n", "spectrogram", "-x", "300", "-Y", "257",
                            "-t", name, "-o", os.path.join(report_dir, name + ".png")], check=True)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "..", "data", "gorvin", "Wave"))
    parser.add_argument("--report", help="folder for sox statistics and spectrograms")
    args = parser.parse_args()

    espeak = Espeak()
    units = [(n, k, make_vowel(espeak, n, p, k)) for n, p, k in VOWELS]
    units += [(n, k, make_consonant(espeak, n, t, p, k)) for n, t, p, k in CONSONANTS]
    units += [(n, "pause", [0] * round(s * RATE)) for n, s in PAUSES]
    for name, kind, samples in units:
        check(name, kind, samples)
    if len(units) != 41:
        sys.exit(f"{len(units)} units instead of 41")

    os.makedirs(args.out, exist_ok=True)
    for name, _, samples in units:
        write_wave(os.path.join(args.out, name + ".wav"), samples)
    print(f"wrote {len(units)} units to {os.path.normpath(args.out)}")
    if args.report:
        report(args.out, args.report, units)


if __name__ == "__main__":
    main()
