#!/usr/bin/env python3
"""Writes SOUND.wav, the alarm chime: three soft bell strikes falling through a major
triad (G5, E5, C5), each a few inharmonic partials that ring out exponentially.

The file is a RIFF WAVE with one PCM stream, mono, 44,100 Hz, 16 bits, and exactly
330,996 data bytes (165,498 samples, about 3.75 s). The output is deterministic, so
running this script again reproduces the committed file byte for byte.

Usage: python3 make_chime.py [output path]   (default: SOUND.wav beside this script)
"""
import math
import os
import struct
import sys
import wave

RATE = 44100
DATA_BYTES = 330996
SAMPLES = DATA_BYTES // 2

# (start in seconds, fundamental in Hz) of each strike.
STRIKES = [(0.00, 783.99), (0.42, 659.26), (0.84, 523.25)]
# Bell-like partials: (ratio to the fundamental, relative amplitude, decay time in seconds).
PARTIALS = [(1.0, 1.00, 1.10), (2.0, 0.35, 0.60), (2.76, 0.18, 0.35), (5.40, 0.06, 0.15)]
ATTACK = 0.004   # seconds of the linear rise of a strike, to avoid a click
FADE_OUT = 0.08  # seconds of the linear fade at the end of the file
PEAK = 0.70      # loudest sample as a fraction of full scale


def render():
    samples = [0.0] * SAMPLES
    for start, fundamental in STRIKES:
        first = int(start * RATE)
        for n in range(first, SAMPLES):
            t = (n - first) / RATE
            envelope = min(1.0, t / ATTACK)
            value = 0.0
            for ratio, amplitude, decay in PARTIALS:
                value += amplitude * math.exp(-t / decay) * math.sin(2 * math.pi * fundamental * ratio * t)
            samples[n] += envelope * value
    fade = int(FADE_OUT * RATE)
    for i in range(fade):
        samples[SAMPLES - 1 - i] *= i / fade
    loudest = max(abs(s) for s in samples)
    scale = PEAK * 32767 / loudest
    return [max(-32768, min(32767, round(s * scale))) for s in samples]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "SOUND.wav")
    data = struct.pack("<%dh" % SAMPLES, *render())
    assert len(data) == DATA_BYTES
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(data)


if __name__ == "__main__":
    main()
