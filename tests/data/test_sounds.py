"""The three default alarm sounds: playable PCM files, audible, without clicks,
and different from one another."""

import hashlib
import os
import struct
import tempfile
import unittest
import wave

import support  # (first: it puts tools/ on the import path)
import make_sounds

NAMES = ("alarm.wav", "severe.wav", "beepbeep.wav")


class AlarmSounds(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if support.PROGRAM_DIR:
            cls.folder = None
            cls.path = os.path.join(support.PROGRAM_DIR, "sounds")
        else:
            cls.folder = tempfile.TemporaryDirectory()
            cls.path = cls.folder.name
            make_sounds.main(["--out", cls.path])

    @classmethod
    def tearDownClass(cls):
        if cls.folder:
            cls.folder.cleanup()

    def samples(self, name):
        with wave.open(os.path.join(self.path, name), "rb") as sound:
            self.assertEqual((sound.getnchannels(), sound.getsampwidth(), sound.getframerate(),
                              sound.getcomptype()), (1, 2, 22050, "NONE"))
            frames = sound.readframes(sound.getnframes())
        return struct.unpack("<%dh" % (len(frames) // 2), frames)

    def test_each_is_a_plain_pcm_wave_file(self):
        for name in NAMES:
            with open(os.path.join(self.path, name), "rb") as handle:
                header = handle.read(12)
            self.assertEqual((header[:4], header[8:12]), (b"RIFF", b"WAVE"), name)

    def test_each_is_loud_but_not_clipped(self):
        for name in NAMES:
            peak = max(abs(s) for s in self.samples(name))
            self.assertGreater(peak, 16000, name)
            self.assertLess(peak, 32767, name)

    def test_each_starts_and_ends_in_silence(self):
        # A sound that starts or stops at full swing clicks in the speaker.
        for name in NAMES:
            samples = self.samples(name)
            self.assertLess(max(abs(s) for s in samples[:5]), 1500, name)
            self.assertLess(max(abs(s) for s in samples[-5:]), 1500, name)

    def test_lengths_suit_their_alarm(self):
        seconds = {name: len(self.samples(name)) / 22050.0 for name in NAMES}
        self.assertTrue(0.4 < seconds["beepbeep.wav"] < 1.0, seconds)
        self.assertTrue(1.0 < seconds["alarm.wav"] < 4.0, seconds)
        self.assertTrue(1.0 < seconds["severe.wav"] < 4.0, seconds)

    def test_the_three_are_different(self):
        digests = {hashlib.sha256(support.read(os.path.join(self.path, n))).hexdigest()
                   for n in NAMES}
        self.assertEqual(len(digests), 3)

    def test_beeps_are_two_separate_tones(self):
        samples = self.samples("beepbeep.wav")
        loud = [abs(s) > 2000 for s in samples]
        bursts = sum(1 for i in range(1, len(loud)) if loud[i] and not any(loud[max(0, i - 200):i]))
        self.assertEqual(bursts, 2)


if __name__ == "__main__":
    unittest.main()
