#!/usr/bin/env python3
"""Writes the alarm's other sounds beside the chime (make_chime.py writes SOUND.wav):

  BELL.wav  "Bell": a hand bell struck twice, its partials tuned as a bell's are (hum,
            prime, minor third, fifth, nominal and two above), each ringing out on its own.
  BEEP.wav  "Soft beep": three pairs of rounded sine beeps at A5, with a touch of the octave.
  TICK.wav  the warning before the end: one soft wooden tick, a tenth of a second.

All are RIFF WAVE files with one PCM stream, mono, 44,100 Hz, 16 bits. The bell and the beep
are as long as the chime (165,498 samples, about 3.75 s) and end in the same short fade. The
output is deterministic, so running this script again reproduces the committed files byte
for byte; it prints each file's length, peak and RMS level.

Usage: python3 make_sounds.py [output folder]   (default: the folder of this script)
"""
import math
import os
import struct
import sys
import wave

RATE = 44100
LONG = 165498    # samples of the chime, and of the bell and the beep
TICK = 4410      # samples of the tick (0.1 s)
FADE_OUT = 0.08  # seconds of the linear fade at the end of the long sounds


def bell():
    # (start in seconds, nominal in Hz) of each strike; the second a little softer.
    strikes = [(0.00, 1.00), (1.60, 0.80)]
    nominal = 1396.91  # F6: the hum sounds two octaves lower, at F4
    # (ratio to the nominal, relative amplitude, decay time in seconds).
    partials = [(0.25, 0.30, 1.80), (0.50, 0.55, 1.20), (0.60, 0.40, 0.90), (0.75, 0.20, 0.70),
                (1.00, 0.60, 0.60), (1.25, 0.12, 0.30), (1.50, 0.06, 0.20)]
    attack = 0.002
    samples = [0.0] * LONG
    for start, loudness in strikes:
        first = int(start * RATE)
        for n in range(first, LONG):
            t = (n - first) / RATE
            value = sum(a * math.exp(-t / d) * math.sin(2 * math.pi * nominal * r * t) for r, a, d in partials)
            samples[n] += loudness * min(1.0, t / attack) * value
    return fade(samples), 0.70


def beep():
    pitch = 880.0      # A5
    length = 0.16      # seconds of each beep
    rounding = 0.03    # seconds of the raised-cosine rise and fall
    starts = [0.00, 0.24, 1.20, 1.44, 2.40, 2.64]
    samples = [0.0] * LONG
    for start in starts:
        first = int(start * RATE)
        for i in range(int(length * RATE)):
            t = i / RATE
            edge = min(t, length - t)
            envelope = 0.5 - 0.5 * math.cos(math.pi * edge / rounding) if edge < rounding else 1.0
            value = math.sin(2 * math.pi * pitch * t) + 0.15 * math.sin(4 * math.pi * pitch * t)
            samples[first + i] += envelope * value
    return fade(samples), 0.35


def tick():
    # A short knock: a damped mid tone over a quicker, higher click, with a soft rise.
    samples = []
    for n in range(TICK):
        t = n / RATE
        rise = min(1.0, t / 0.0008)
        value = (math.exp(-t / 0.012) * math.sin(2 * math.pi * 1250 * t)
                 + 0.5 * math.exp(-t / 0.004) * math.sin(2 * math.pi * 3100 * t))
        samples.append(rise * value)
    return samples, 0.30


def fade(samples):
    count = int(FADE_OUT * RATE)
    for i in range(count):
        samples[len(samples) - 1 - i] *= i / count
    return samples


def pcm(samples, peak):
    loudest = max(abs(s) for s in samples)
    scale = peak * 32767 / loudest
    return [max(-32768, min(32767, round(s * scale))) for s in samples]


def levels(values):
    peak = max(abs(v) for v in values) / 32768
    rms = math.sqrt(sum(v * v for v in values) / len(values)) / 32768
    return 20 * math.log10(peak), 20 * math.log10(rms)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else here
    for name, make in (("BELL.wav", bell), ("BEEP.wav", beep), ("TICK.wav", tick)):
        values = pcm(*make())
        with wave.open(os.path.join(folder, name), "wb") as out:
            out.setnchannels(1)
            out.setsampwidth(2)
            out.setframerate(RATE)
            out.writeframes(struct.pack("<%dh" % len(values), *values))
        peak, rms = levels(values)
        print("%s: %d samples (%.3f s), peak %.1f dBFS, RMS %.1f dBFS" % (name, len(values), len(values) / RATE, peak, rms))


if __name__ == "__main__":
    main()
