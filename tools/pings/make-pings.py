#!/usr/bin/env python3
"""Writes the message dialog's two sounds: files/ping1.wav (information, a soft two-note
chime going up) and files/ping2.wav (alert, two short notes going down). 22050 Hz, 16-bit
mono PCM, each note a sine with a few quiet overtones, a quick attack and an exponential
decay so that nothing clicks. Run: tools/pings/make-pings.py data/files"""
import math
import struct
import sys
import wave

RATE = 22050


def note(freq, start, length, level):
    """(start sample, samples) of one decaying bell-like note."""
    n = int(length * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        attack = min(1.0, t / 0.004)
        decay = math.exp(-t * 7.0)
        tone = (math.sin(2 * math.pi * freq * t)
                + 0.25 * math.sin(2 * math.pi * 2 * freq * t)
                + 0.08 * math.sin(2 * math.pi * 3 * freq * t))
        out.append(level * attack * decay * tone / 1.33)
    return int(start * RATE), out


def render(notes, seconds, path):
    mix = [0.0] * int(seconds * RATE)
    for start, samples in notes:
        for i, s in enumerate(samples):
            if start + i < len(mix):
                mix[start + i] += s
    fade = int(0.02 * RATE)  # the tail ends at silence
    for i in range(fade):
        mix[-1 - i] *= i / fade
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, s)) * 32767)) for s in mix))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "data/files"
    render([note(880.0, 0.0, 0.35, 0.35), note(1318.5, 0.11, 0.45, 0.30)], 0.56,
           folder + "/ping1.wav")
    render([note(987.8, 0.0, 0.22, 0.45), note(740.0, 0.14, 0.40, 0.42)], 0.54,
           folder + "/ping2.wav")


if __name__ == "__main__":
    main()
