#!/usr/bin/env python3
"""Measures rendered speech: pace, silence, gaps inside words, syllable levels, peaks.

    measure.py SENTENCES.txt SENTENCE_WAV_DIR [WORD_WAV_DIR WORDS.txt]

SENTENCE_WAV_DIR holds 001.wav, 002.wav ... for the lines of SENTENCES.txt (blank lines
skipped); WORD_WAV_DIR the same for WORDS.txt, each word rendered on its own. Prints one
line "key=value" per figure. Plain Python (no numpy), so it runs on a bare Debian.

Silence is judged per 10 ms frame against the loudness of the utterance itself (40 dB below
its loud frames), so voices of different overall level are compared fairly.
"""
import math
import os
import re
import struct
import sys
import wave

FRAME_SECONDS = 0.010
SILENCE_BELOW_LOUD_DB = 40.0    # a frame this far under the loud frames is silence
NUCLEUS_BELOW_LOUD_DB = 25.0    # syllable peaks are at most this far under the loudest
NUCLEUS_MIN_GAP_FRAMES = 8      # two syllable peaks are at least 80 ms apart
SMOOTH_FRAMES = 5
CLIP_LEVEL = 32767
VOWELS = set("aáäeéiíoóôuúyý")
SYLLABIC = set("rŕlĺ")


def read_mono(path):
    with wave.open(path, "rb") as w:
        rate, channels, width = w.getframerate(), w.getnchannels(), w.getsampwidth()
        raw = w.readframes(w.getnframes())
    if width != 2:
        raise SystemExit(f"{path}: only 16-bit PCM is measured")
    samples = struct.unpack(f"<{len(raw) // 2}h", raw)
    if channels == 1:
        return rate, list(samples), samples
    mono = [sum(samples[i:i + channels]) / channels for i in range(0, len(samples), channels)]
    return rate, mono, samples


def frame_levels(rate, mono):
    size = max(1, int(rate * FRAME_SECONDS))
    levels = []
    for start in range(0, len(mono) - size + 1, size):
        chunk = mono[start:start + size]
        rms = math.sqrt(sum(s * s for s in chunk) / size)
        levels.append(20 * math.log10(rms / 32768) if rms > 0 else -120.0)
    return levels


def loud_level(levels):
    ordered = sorted(levels)
    return ordered[int(0.95 * (len(ordered) - 1))] if ordered else -120.0


def silent_flags(levels):
    threshold = loud_level(levels) - SILENCE_BELOW_LOUD_DB
    return [level < threshold for level in levels]


def trimmed(flags):
    """Index range of the frames from the first to the last sound."""
    sound = [i for i, quiet in enumerate(flags) if not quiet]
    return (sound[0], sound[-1] + 1) if sound else (0, 0)


def longest_run(flags, begin, end):
    best = run = 0
    for quiet in flags[begin:end]:
        run = run + 1 if quiet else 0
        best = max(best, run)
    return best


def count_syllables(text):
    total = 0
    for word in re.findall(r"[^\W\d_]+", text.lower()):
        letters = list(word)
        for i, c in enumerate(letters):
            if c in VOWELS:
                if i == 0 or letters[i - 1] not in VOWELS:
                    total += 1
            elif c in SYLLABIC:
                before = letters[i - 1] if i > 0 else ""
                after = letters[i + 1] if i + 1 < len(letters) else ""
                if before not in VOWELS and after not in VOWELS and (before or after):
                    total += 1
    return total


def nucleus_levels(levels):
    smooth = []
    for i in range(len(levels)):
        window = levels[max(0, i - SMOOTH_FRAMES // 2):i + SMOOTH_FRAMES // 2 + 1]
        smooth.append(sum(window) / len(window))
    floor = max(smooth, default=-120.0) - NUCLEUS_BELOW_LOUD_DB
    peaks = []
    for i in range(1, len(smooth) - 1):
        if smooth[i] >= floor and smooth[i] >= smooth[i - 1] and smooth[i] > smooth[i + 1]:
            if peaks and i - peaks[-1][0] < NUCLEUS_MIN_GAP_FRAMES:
                if smooth[i] > peaks[-1][1]:
                    peaks[-1] = (i, smooth[i])
                continue
            peaks.append((i, smooth[i]))
    return [level for _, level in peaks]


def spread(values):
    if len(values) < 2:
        return 0.0
    mean = sum(values) / len(values)
    return math.sqrt(sum((v - mean) ** 2 for v in values) / len(values))


def lines_of(path):
    with open(path, encoding="utf-8") as f:
        return [line.strip() for line in f if line.strip()]


def measure_sentences(sentences, folder):
    speech_seconds = silent_seconds = 0.0
    syllables = clipped = 0
    peak = 0
    spreads = []
    for index, text in enumerate(sentences, 1):
        path = os.path.join(folder, f"{index:03d}.wav")
        if not os.path.exists(path):
            continue
        rate, mono, raw = read_mono(path)
        levels = frame_levels(rate, mono)
        flags = silent_flags(levels)
        begin, end = trimmed(flags)
        speech_seconds += (end - begin) * FRAME_SECONDS
        silent_seconds += sum(flags[begin:end]) * FRAME_SECONDS
        syllables += count_syllables(text)
        peak = max(peak, max((abs(s) for s in raw), default=0))
        clipped += sum(1 for s in raw if abs(s) >= CLIP_LEVEL)
        spreads.append(spread(nucleus_levels(levels[begin:end])))
    return {
        "syllables_per_second": syllables / speech_seconds if speech_seconds else 0.0,
        "silence_share_percent": 100.0 * silent_seconds / speech_seconds if speech_seconds else 0.0,
        "syllable_level_spread_db": sum(spreads) / len(spreads) if spreads else 0.0,
        "peak_dbfs": 20 * math.log10(peak / 32768) if peak else -120.0,
        "clipped_samples": clipped,
        "sentences_measured": len(spreads),
    }


def measure_words(words, folder):
    worst, worst_word = 0, ""
    for index, word in enumerate(words, 1):
        path = os.path.join(folder, f"{index:03d}.wav")
        if not os.path.exists(path):
            continue
        rate, mono, _ = read_mono(path)
        flags = silent_flags(frame_levels(rate, mono))
        begin, end = trimmed(flags)
        gap = longest_run(flags, begin, end)
        if gap > worst:
            worst, worst_word = gap, word
    return {"longest_gap_in_word_ms": round(worst * FRAME_SECONDS * 1000),
            "longest_gap_word": worst_word}


def main(argv):
    if len(argv) not in (3, 5):
        raise SystemExit(__doc__)
    figures = measure_sentences(lines_of(argv[1]), argv[2])
    if len(argv) == 5:
        figures.update(measure_words(lines_of(argv[4]), argv[3]))
    for key, value in figures.items():
        print(f"{key}={value:.2f}" if isinstance(value, float) else f"{key}={value}")


if __name__ == "__main__":
    main(sys.argv)
