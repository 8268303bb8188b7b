#!/usr/bin/env python3
"""Generates the 41 sound units of the voice pack gorvin from espeak-ng's Slovak voice.

    tools/voice/make-units.py [--out data/gorvin/Wave] [--report DIR]

Needs the espeak-ng library (Debian libespeak-ng1 with espeak-ng-data); --report also
needs sox. The output is committed, so building and testing Tamzel needs neither.

How a unit is made (see docs/voice-pack.md):
  * Everything is synthesised at a level pitch of about 105 Hz. Voiced units last a whole
    number of "slots" (pitch period / 0.85) and begin at the same point of their pitch
    cycle: at speed 65 playback starts the next unit after 85 % of the current one, so the
    two overlap in phase.
  * Vowels are synthesised alone, each as itself (a short vowel is espeak-ng's short vowel,
    not a piece of the long one), and a steady piece of natural Slovak length (about 90 ms short, 155 ms
    long) is cut from the middle.
  * Consonants are synthesised in the carrier a-schwa-C-schwa and cut out at espeak-ng's
    phoneme events: the neutral vowel gives releases that suit any vowel. Sonorants and
    fricatives keep their steady middle; stops and affricates a real closure, the burst
    and the release up to 25 ms into the vowel, as far as their length limit allows.
  * Every carrier is scaled so that its first vowel has the loudness of the vowel units,
    which keeps each consonant at its natural level relative to the vowels; weak
    consonants are lifted to a floor. A DC blocker removes espeak-ng's noise offset.
  * Short raised-cosine fades at both ends, so that units join without clicks.
  * "pl" (word end) and "ps" (syllable mark) are silence of 5 slots and 1 slot.
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
TARGET_RMS = 6000.0          # loudness of the vowel units (about -15 dBFS)
CONSONANT_FLOOR = 0.25       # no consonant is quieter than this share of TARGET_RMS
PEAK_LIMIT = 26000           # no unit may come closer than this to full scale
PITCH = 65                   # espeak-ng's pitch setting for about 105 Hz, a speaking pitch
CARRIER_WPM = 130            # carriers at a moderate pace: consonants of natural length

# Playback starts the next unit once the current one has played this share of its length
# (speed 65, the setting of a new user). Voiced units last a whole number of "slots", a
# slot being the pitch period divided by this share, so the next unit starts a whole
# number of pitch periods into the current one and their voices overlap in phase.
OVERLAP_SPEED = 65
PLAYED_SHARE = (150 - OVERLAP_SPEED) / 100
# The next unit starts at the first tick (1 ms) after the threshold, on average half a
# tick late; voiced units are shortened by that much so the late start lands in phase.
TICK_LAG_SECONDS = 0.0005

# Vowels: (unit name, espeak-ng phoneme, kind), synthesised as phoneme input [[...]].
# Short vowels come from espeak-ng's short phonemes: cut from the long ones, they had the
# long vowel's quality, and the recogniser proxy picked about 3 of 42 sentences fewer.
VOWELS = [
    ("a", "a", "short"), ("aa", "a:", "long"),
    ("e", "e", "short"), ("ee", "e:", "long"),
    ("i", "i", "short"), ("ii", "i:", "long"),
    ("o", "o", "short"), ("oo", "o:", "long"),
    ("u", "u", "short"), ("uu", "u:", "long"),
    ("y", "i", "short"), ("yy", "i:", "long"),
]
# Consonants: (unit name, espeak-ng phoneme mnemonic, kind), synthesised in the carrier
# [['a@C@]]; `espeak-ng -v sk -x "[['a@C@]]"` shows what espeak-ng makes of one.
CONSONANTS = [
    ("b", "b", "stop"), ("d", "d", "stop"), ("dd", "d;", "stop"),
    ("g", "g", "stop"), ("p", "p", "stop"), ("t", "t", "stop"),
    ("tt", "t;", "stop"), ("k", "k", "stop"),
    ("c", "ts", "affricate"), ("cc", "tS", "affricate"),
    ("dz", "dz", "affricate"), ("dzdz", "dZ", "affricate"),
    ("f", "f", "fricative"), ("s", "s", "fricative"),
    ("ss", "S", "fricative"), ("z", "z", "fricative"),
    ("zz", "Z", "fricative"), ("h", "h", "fricative"),
    ("_", "x", "fricative"), ("v", "v", "sonorant"),
    # Slovak reads w like v (it occurs in foreign names only).
    ("w", "v", "sonorant"),
    ("j", "j", "sonorant"), ("l", "l", "sonorant"),
    ("m", "m", "sonorant"), ("n", "n", "sonorant"),
    ("nn", "n^", "sonorant"), ("r", "R", "sonorant"),
]
VOICELESS = ("p", "t", "tt", "k", "c", "cc", "f", "s", "ss", "_")
# Pauses in slots: the word pause (~, also three of them for a comma) about 56 ms, so
# that a comma's three come to espeak-ng's 140 ms; the syllable mark (-) one slot.
PAUSE_SLOTS = [("pl", 5), ("ps", 1)]

# Accepted lengths in seconds per kind; a unit outside its range stops the script.
LENGTHS = {
    "short": (0.080, 0.100), "long": (0.150, 0.170),
    "stop": (0.035, 0.080), "affricate": (0.050, 0.120),
    "fricative": (0.050, 0.100), "sonorant": (0.040, 0.080),
    "pause": (0.008, 0.060),
}
VOWEL_SECONDS = {"short": 0.090, "long": 0.160}
# Wanted lengths of the consonants (seconds); a carrier may give less.
FRICATIVE_SECONDS = 0.075
SONORANT_SECONDS = 0.060
SONORANT_TRANSITION = 0.015   # kept clear of each neighbouring vowel
CLOSURE_SECONDS = 0.025       # silence (or voice bar) kept before a burst
# Of the following vowel kept after a burst: 25 ms carry the formants' move out of the
# stop, which tells its place (with 12 ms the proxy lost about 2 more sentences of 42).
RELEASE_SECONDS = 0.025
STOP_LONGEST = 0.080          # closure, burst and release together
AFFRICATE_LONGEST = 0.105
BURST_RISE = 1.5              # a burst is this much louder than the voice bar before it
FADE_IN, FADE_OUT = 0.004, 0.008
VOWEL_FADE_IN, VOWEL_FADE_OUT = 0.006, 0.012
SHEET_GAP_SECONDS = 0.040     # silence between the units on the contact sheet


class Event(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("unique_identifier", ctypes.c_uint),
                ("text_position", ctypes.c_int), ("length", ctypes.c_int),
                ("audio_position", ctypes.c_int), ("sample", ctypes.c_int),
                ("user_data", ctypes.c_void_p), ("id", ctypes.c_char * 8)]


EVENT_PHONEME = 7
CHARS_UTF8, PHONEME_INPUT = 0x1, 0x100
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
        self.lib.espeak_SetParameter(3, PITCH, 0)
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
        # position type 1 (characters); UTF-8 text that may hold [[phonemes]]
        self.lib.espeak_Synth(data, len(data) + 1, 0, 1, 0, CHARS_UTF8 | PHONEME_INPUT, None, None)
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


def pitch_period(samples):
    """The pitch period in samples (fractional), by autocorrelation of a steady stretch."""
    middle = samples[len(samples) // 2 - 2000:len(samples) // 2 + 2000]

    def correlation(lag):
        xy = sum(middle[i] * middle[i + lag] for i in range(len(middle) - lag))
        xx = sum(x * x for x in middle[:len(middle) - lag])
        yy = sum(x * x for x in middle[lag:])
        return xy / math.sqrt(xx * yy)

    scores = {lag: correlation(lag) for lag in range(RATE // 160, RATE // 70)}
    best = max(scores, key=scores.get)
    before, at, after = scores[best - 1], scores[best], scores[best + 1]
    curvature = before - 2 * at + after
    return best + (0.5 * (before - after) / curvature if curvature else 0.0)


class Slots:
    """Unit lengths and cut points that keep overlapping voiced units in phase."""

    def __init__(self, period):
        self.period = period
        self.slot = period / PLAYED_SHARE

    def length(self, seconds):
        """Samples of a voiced unit near `seconds` long: a whole number of slots, less the
        tick's average lag."""
        count = max(1, round(seconds * RATE / self.slot))
        return round((count * self.period - TICK_LAG_SECONDS * RATE) / PLAYED_SHARE)

    def in_phase(self, samples, start, limit):
        """The position within one period from `start` (before `limit`) where the
        fundamental passes through zero upwards, so every voiced unit begins at the same
        point of its cycle."""
        window = int(2 * self.period)
        best, best_error = start, math.inf
        for position in range(start, min(limit, start + int(self.period) + 1)):
            re = im = 0.0
            for n in range(window):
                x = samples[position + n] if position + n < len(samples) else 0.0
                angle = 2 * math.pi * n / self.period
                re += x * math.cos(angle)
                im -= x * math.sin(angle)
            # fundamental ~ cos(angle + phase); an upward zero crossing has phase -pi/2
            error = abs(math.remainder(math.atan2(im, re) + math.pi / 2, 2 * math.pi))
            if error < best_error:
                best, best_error = position, error
        return best


def take_middle(samples, length):
    start = max(0, (len(samples) - length) // 2)
    return samples[start:start + length]


def make_vowel(espeak, slots, name, phoneme, kind):
    samples, events = espeak.synth(f"[['{phoneme}]]", 100)
    if [p for p, _ in sounds(events)] != [phoneme]:
        sys.exit(f"unit {name}: espeak-ng gave phonemes {events}, expected {phoneme}")
    index = events.index(sounds(events)[0])
    start = events[index][1]
    end = events[index + 1][1] if index + 1 < len(events) else len(samples)
    length = slots.length(VOWEL_SECONDS[kind])
    begin = slots.in_phase(samples, start + (end - start - length) // 2, end - length)
    piece = samples[begin:begin + length]
    return fade(scaled(piece, TARGET_RMS / rms(piece)), VOWEL_FADE_IN, VOWEL_FADE_OUT)


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


def cut(samples, slots, name, start, seconds):
    """About `seconds` of samples from `start`; a voiced unit begins in phase (within a
    pitch period after `start`) and lasts a whole number of slots."""
    if name in VOICELESS:
        return samples[start:start + round(seconds * RATE)]
    begin = slots.in_phase(samples, start, start + int(slots.period) + 1)
    return samples[begin:begin + slots.length(seconds)]


def make_consonant(espeak, slots, name, phoneme, kind):
    samples, events = espeak.synth(f"[['a@{phoneme}@]]", CARRIER_WPM)
    events = sounds(events)
    names = [p for p, _ in events]
    if names != ["a", "@", phoneme, "@"]:
        sys.exit(f"unit {name}: carrier gave phonemes {names}, expected a @ {phoneme} @")
    gain = carrier_gain(samples, events)
    at, vowel = events[2][1], events[3][1]
    if kind == "sonorant":
        # Only the steady middle: in "aňa" espeak-ng joins the nasal and the glide into
        # the vowel with an audible jump some 50 ms before the vowel's event.
        margin = int(SONORANT_TRANSITION * RATE)
        low, high = at + margin, vowel - 2 * margin
        length = min(high - low, int(SONORANT_SECONDS * RATE))
        start = low + (high - low - length) // 2
        piece = cut(samples, slots, name, start, length / RATE)
        return fade(lifted(scaled(piece, gain)), FADE_IN, FADE_OUT)
    schwa = samples[vowel:]
    onset = vowel_onset(samples, at, rms(take_middle(schwa, len(schwa) // 2)))
    if kind == "fricative":
        body = min(vowel, onset) - at
        length = min(body, int(FRICATIVE_SECONDS * RATE))
        piece = cut(samples, slots, name, at + (body - length) // 2, length / RATE)
        return fade(lifted(scaled(piece, gain)), FADE_IN, FADE_OUT)
    # Stops and affricates: the event of a voiceless one marks its burst, that of a voiced
    # one the start of its closure; keep a real closure before the burst and the release a
    # little into the vowel, where the burst's place can be heard.
    burst = at if name in VOICELESS else burst_position(samples, at)
    end = max(burst + int(RELEASE_SECONDS * RATE), onset + int(RELEASE_SECONDS * RATE))
    start = burst - int(CLOSURE_SECONDS * RATE)
    longest = STOP_LONGEST if kind == "stop" else AFFRICATE_LONGEST
    piece = cut(samples, slots, name, start, min(end - start, int(longest * RATE)) / RATE)
    return fade(lifted(scaled(piece, gain)), FADE_IN, FADE_OUT)


def burst_position(samples, closure):
    """The burst of a voiced stop or affricate: the first 5 ms, some way into the closure,
    clearly louder than the closure's voice bar."""
    window = RATE // 200
    settled = closure + int(0.005 * RATE)
    voice_bar = rms(samples[settled:settled + int(0.030 * RATE)])
    for position in range(closure + int(0.020 * RATE), len(samples) - window, window // 5):
        if rms(samples[position:position + window]) > BURST_RISE * voice_bar:
            return position
    sys.exit("no burst found after a voiced closure")


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
    """sox statistics of every unit, a spectrogram per unit and a contact sheet: the
    spectrogram of all units in a row, parted by short silences, in the order listed."""
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
    gap = [0] * int(SHEET_GAP_SECONDS * RATE)
    row = [x for _, kind, samples in units if kind != "pause" for x in samples + gap]
    sheet_wave = os.path.join(report_dir, "all-units.wav")
    write_wave(sheet_wave, row)
    title = " ".join(name for name, kind, _ in units if kind != "pause")
    subprocess.run(["sox", sheet_wave, "-n", "spectrogram", "-x", "1400", "-y", "129", "-z", "80",
                    "-t", title, "-o", os.path.join(report_dir, "sheet.png")], check=True)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "..", "data", "gorvin", "Wave"))
    parser.add_argument("--report", help="folder for sox statistics and spectrograms")
    args = parser.parse_args()

    espeak = Espeak()
    probe, _ = espeak.synth("[['a:]]", 100)
    slots = Slots(pitch_period(probe))
    print(f"pitch {RATE / slots.period:.1f} Hz, slot {slots.slot * 1000 / RATE:.2f} ms")
    units = [(n, k, make_vowel(espeak, slots, n, p, k)) for n, p, k in VOWELS]
    units += [(n, k, make_consonant(espeak, slots, n, p, k)) for n, p, k in CONSONANTS]
    units += [(n, "pause", [0] * slots.length(count * slots.slot / RATE))
              for n, count in PAUSE_SLOTS]
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
