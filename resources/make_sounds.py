#!/usr/bin/python3
"""Synthesises the drill's two feedback sounds as PCM WAVE files (stereo, 44,100 Hz, 16 bits):

  right.wav (resource WAVE 101): a two-note chime, 660 Hz for 0.2 s, then 528 Hz (a major
      third below) fading out over the rest of the second;
  wrong.wav (resource WAVE 102): a buzz of two band-limited sawtooth voices 7 Hz apart (the
      beating gives the rasp), a 0.1 s burst, a 0.05 s pause, then 0.35 s of steady buzz
      that dies away over the last 0.1 s of the file, so that it sounds to the very end.

Every note has a soft attack and release and the levels stay well below full scale, so the
sounds are not harsh at normal volume. Only the standard library is used; the output is the
same on every run.

Usage: make_sounds.py [OUTPUT_DIRECTORY]   (default: the directory of this script)
"""

import math
import os
import struct
import sys

RATE = 44100
CHANNELS = 2
BYTES_PER_SAMPLE = 2
RIGHT_FRAMES = 44129  # 176,516 data bytes, 1.0007 s
WRONG_FRAMES = 26489  # 105,956 data bytes, 0.6007 s

CHIME_PEAK = 0.45  # of full scale
BUZZ_PEAK = 0.32


def RaisedCosine(x):
    """0 at x <= 0, 1 at x >= 1, smooth in between."""
    if x <= 0:
        return 0.0
    if x >= 1:
        return 1.0
    return 0.5 - 0.5 * math.cos(math.pi * x)


def Gate(t, start, end, attack, release):
    """Soft-edged window: rises over attack from start, falls over release to end."""
    return RaisedCosine((t - start) / attack) * RaisedCosine((end - t) / release)


def BellTone(t, frequency, decay):
    """A clear tone with a few soft overtones; the higher ones fade faster."""
    partials = ((1, 1.0), (2, 0.28), (3, 0.10), (4, 0.04))
    return sum(
        level * math.exp(-t * k / decay) * math.sin(2 * math.pi * frequency * k * t)
        for k, level in partials
    )


def Chime(frames):
    end = frames / RATE
    out = []
    for i in range(frames):
        t = i / RATE
        first = BellTone(t, 660.0, 0.6) * Gate(t, 0.0, 0.23, 0.006, 0.04)
        second = 0.0
        if t >= 0.2:
            u = t - 0.2
            # Fades out over the rest of the second, silent at its end.
            second = (
                BellTone(u, 528.0, 0.5)
                * math.exp(-u / 0.35)
                * Gate(t, 0.2, end, 0.006, end - 0.2 - 0.006)
            )
        out.append(first + second)
    return out


def Sawtooth(t, frequency, highest):
    """Band-limited sawtooth whose overtones roll off above about 2 kHz."""
    total = 0.0
    k = 1
    while k * frequency < highest:
        rolloff = 1.0 / math.sqrt(1.0 + (k * frequency / 2000.0) ** 2)
        total += rolloff * math.sin(2 * math.pi * frequency * k * t) / k
        k += 1
    return total


def Buzz(frames):
    end = frames / RATE
    out = []
    for i in range(frames):
        t = i / RATE
        level = Gate(t, 0.0, 0.10, 0.005, 0.012)
        if t >= 0.15:
            level = Gate(t, 0.15, end, 0.005, 0.10)
        sample = 0.0
        if level > 0:
            sample = level * (Sawtooth(t, 125.0, 6000.0) + 0.6 * Sawtooth(t, 132.0, 6000.0))
        out.append(sample)
    return out


def Normalised(samples, peak):
    highest = max(abs(s) for s in samples)
    return [s * peak / highest for s in samples]


def WaveBytes(samples):
    frames = b"".join(
        struct.pack("<hh", value, value)
        for value in (max(-32767, min(32767, round(s * 32767))) for s in samples)
    )
    fmt = struct.pack(
        "<HHIIHH",
        1,  # PCM
        CHANNELS,
        RATE,
        RATE * CHANNELS * BYTES_PER_SAMPLE,
        CHANNELS * BYTES_PER_SAMPLE,
        8 * BYTES_PER_SAMPLE,
    )
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(frames)) + frames
    return b"RIFF" + struct.pack("<I", len(body)) + body


def Build(directory):
    sounds = {
        "right.wav": Normalised(Chime(RIGHT_FRAMES), CHIME_PEAK),
        "wrong.wav": Normalised(Buzz(WRONG_FRAMES), BUZZ_PEAK),
    }
    for name, samples in sounds.items():
        with open(os.path.join(directory, name), "wb") as f:
            f.write(WaveBytes(samples))


if __name__ == "__main__":
    Build(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
