#!/usr/bin/env python3
"""Makes the three default alarm sounds of the alerts page and the ticker.

    make_sounds.py --out build/windows/bin/sounds

  alarm.wav     warning alarm: a two-tone hi-lo horn, four times
  severe.wav    severe alarm: a rising and falling siren wail with a harsh edge
  beepbeep.wav  notification: two short beeps

All three are 16-bit mono PCM at 22050 Hz, so every Windows sound player
(PlaySound included) takes them without a codec.
"""

import argparse
import math
import os
import struct
import sys
import wave

RATE = 22050
PEAK = 26000  # leaves headroom below the 16-bit limit


def envelope(i, count, fade):
    """A linear fade in and out over 'fade' samples, so tones start and stop without clicks."""
    return min(1.0, i / fade, (count - 1 - i) / fade) if fade else 1.0


def tone(frequency, seconds, harmonics=(1.0,), fade=0.005):
    """A steady tone; 'harmonics' weighs the odd overtones (1st, 3rd, 5th...)."""
    count = int(RATE * seconds)
    fade_samples = int(RATE * fade)
    total = sum(harmonics)
    out = []
    for i in range(count):
        t = i / RATE
        value = sum(w * math.sin(2 * math.pi * frequency * (2 * k + 1) * t)
                    for k, w in enumerate(harmonics)) / total
        out.append(value * envelope(i, count, fade_samples))
    return out


def sweep(low, high, seconds, harmonics=(1.0,), fade=0.01):
    """A tone that rises from 'low' to 'high' and falls back (phase kept continuous)."""
    count = int(RATE * seconds)
    fade_samples = int(RATE * fade)
    total = sum(harmonics)
    phase = 0.0
    out = []
    for i in range(count):
        position = i / count
        frequency = low + (high - low) * math.sin(math.pi * position)
        phase += 2 * math.pi * frequency / RATE
        value = sum(w * math.sin((2 * k + 1) * phase) for k, w in enumerate(harmonics)) / total
        out.append(value * envelope(i, count, fade_samples))
    return out


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def warning_alarm():
    samples = []
    for _ in range(4):
        samples += tone(960, 0.22, harmonics=(1.0, 0.3)) + tone(770, 0.22, harmonics=(1.0, 0.3))
    return samples + silence(0.1)


def severe_alarm():
    samples = []
    for _ in range(3):
        samples += sweep(520, 1450, 0.7, harmonics=(1.0, 0.45, 0.2))
    return samples + silence(0.1)


def notification_beeps():
    beep = tone(1320, 0.11, harmonics=(1.0, 0.1))
    return beep + silence(0.09) + beep + silence(0.25)


SOUNDS = {
    "alarm.wav": warning_alarm,
    "severe.wav": severe_alarm,
    "beepbeep.wav": notification_beeps,
}


def write_wave(path, samples):
    frames = b"".join(struct.pack("<h", int(round(max(-1.0, min(1.0, s)) * PEAK)))
                      for s in samples)
    temporary = path + ".tmp"
    with wave.open(temporary, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)
    os.replace(temporary, path)
    return os.path.getsize(path)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Makes the default alarm sounds.")
    parser.add_argument("--out", required=True, help="folder for the .wav files")
    args = parser.parse_args(argv)
    os.makedirs(args.out, exist_ok=True)
    for name, make in SOUNDS.items():
        write_wave(os.path.join(args.out, name), make())
    return 0


if __name__ == "__main__":
    sys.exit(main())
