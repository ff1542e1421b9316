#!/usr/bin/env python3
"""Synthesises Korvanta's four chime sounds as short WAV files.

Every sample is computed here from sine partials and envelopes, so the
output is the same on every run. QSoundEffect plays uncompressed PCM WAV
only: 44.1 kHz, 16-bit, mono.

Usage: scripts/make-chimes.py [output folder]   (default: src/notch/sounds)
"""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 44100
PEAK = 0.7  # of full scale, leaving headroom


def tone(partials, seconds, attack=0.004, decay=3.0, vibrato=(0.0, 0.0)):
    """Sum of (frequency, level, decay multiplier) partials with an
    exponential decay; vibrato is (rate Hz, depth in semitones)."""
    n = int(seconds * RATE)
    out = []
    phases = [0.0] * len(partials)
    for i in range(n):
        t = i / RATE
        env = min(1.0, t / attack) * math.exp(-decay * t)
        bend = 2 ** (vibrato[1] * math.sin(2 * math.pi * vibrato[0] * t) / 12)
        s = 0.0
        for k, (freq, level, faster) in enumerate(partials):
            phases[k] += 2 * math.pi * freq * bend / RATE
            s += level * math.exp(-decay * (faster - 1) * t) * math.sin(phases[k])
        out.append(s * env)
    return out


def sweep(start, end, seconds, decay):
    """A sine gliding from start to end Hz: a short pop."""
    n = int(seconds * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        freq = end + (start - end) * math.exp(-t * 40)
        phase += 2 * math.pi * freq / RATE
        out.append(min(1.0, t / 0.002) * math.exp(-decay * t) * math.sin(phase))
    return out


def mix(*tracks):
    """Tracks as (offset seconds, samples), summed."""
    length = max(int(off * RATE) + len(s) for off, s in tracks)
    out = [0.0] * length
    for off, samples in tracks:
        start = int(off * RATE)
        for i, v in enumerate(samples):
            out[start + i] += v
    return out


def fade_tail(samples, seconds=0.03):
    n = min(len(samples), int(seconds * RATE))
    for i in range(n):
        samples[-1 - i] *= i / n
    return samples


def write(path, samples):
    samples = fade_tail(samples)
    top = max(abs(v) for v in samples) or 1.0
    frames = b"".join(struct.pack("<h", int(round(v / top * PEAK * 32767))) for v in samples)
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


SOUNDS = {
    # Bright and glassy: two struck notes with inharmonic overtones.
    "chime": lambda: mix(
        (0.0, tone([(1568, 1.0, 1), (3920, 0.35, 1.8), (6270, 0.12, 2.6)], 0.9, decay=4.5)),
        (0.09, tone([(2093, 0.8, 1), (5230, 0.25, 1.8)], 0.8, decay=5.0)),
    ),
    # One clear struck tone that rings out.
    "bell": lambda: tone([(1319, 1.0, 1), (2640, 0.2, 2.0), (3960, 0.08, 3.0)], 0.9, decay=3.6),
    # Low and round, with a slow wobble.
    "soft": lambda: tone([(392, 1.0, 1), (784, 0.18, 1.5)], 0.7, attack=0.05, decay=4.0, vibrato=(18, 0.25)),
    # A quick pop and a higher blip, like a coin dropped in.
    "coin": lambda: mix(
        (0.0, sweep(1400, 700, 0.12, 30)),
        (0.07, tone([(1976, 1.0, 1), (3952, 0.15, 2.0)], 0.35, decay=10.0)),
    ),
}


def main():
    root = Path(__file__).resolve().parent.parent
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else root / "src" / "notch" / "sounds"
    folder.mkdir(parents=True, exist_ok=True)
    for name, make in SOUNDS.items():
        write(folder / f"{name}.wav", make())


if __name__ == "__main__":
    main()
