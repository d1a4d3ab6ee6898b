#!/usr/bin/python3
"""What ymplay sends to the sound card, recorded by SDL's disk audio driver,
is ymrender's output sample for sample once the device's lead-in is
skipped: for a song of every kind, after --start, with a voice muted, and
for the passes through a song's loop."""
import os
import subprocess
import unittest

from ymplay_harness import YMPLAY, audio_env, find_song, make_songs, work_folder, ymrender

FAST = 5  # ms of the disk driver's wait per 50 ms request: ten times the sound card's pace


def play(args, recording):
    """Runs ymplay without its view; its lines on standard output."""
    done = subprocess.run([YMPLAY, "--no-ui", *args], env=audio_env(recording, FAST), stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=120)
    assert done.returncode == 0, done.stderr
    with open(recording, "rb") as f:
        return done.stdout.decode(), f.read()


class Recordings(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = work_folder()
        cls.songs = os.path.join(cls.folder.name, "songs")
        cls.names = make_songs(cls.songs, 2)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def path(self, name):
        return os.path.join(self.songs, name)

    def expect_song(self, heard, song, after, what):
        at = find_song(heard, song, after)
        self.assertIsNotNone(at, f"{what} is not in the recording where it should be")
        self.assertEqual(heard[at:at + len(song)], song, what)
        return at + len(song)

    def test_every_kind_plays_as_ymrender_renders_it(self):
        lines, heard = play([self.songs], os.path.join(self.folder.name, "all.raw"))
        # The folder in name order, one line each, every song heard whole in turn.
        self.assertEqual(len(lines.splitlines()), len(self.names), lines)
        self.assertTrue(lines.startswith("1/11 Mix signed - Vitrelume (0:02)\n2/11 Mix - "), lines)
        after = 0
        for name in self.names:
            after = self.expect_song(heard, ymrender(self.path(name)), after, name)

    def test_passes_play_the_loop_again(self):
        song = self.path("ym5.ym")  # loops at its middle
        _, heard = play(["--passes", "2", song], os.path.join(self.folder.name, "passes.raw"))
        end = self.expect_song(heard, ymrender(song, "--seconds", "3"), 0, "two passes")
        self.assertFalse(heard[end:].strip(b"\0"), "nothing after the second pass")

    def test_start_and_mutes_are_ymrenders(self):
        song = self.path("ym6-effects.ym")
        _, heard = play(["--start", "0.5", song], os.path.join(self.folder.name, "start.raw"))
        self.expect_song(heard, ymrender(song, "--start", "0.5"), 0, "--start 0.5")
        for voices in (["B"], ["a", "C"]):
            flags = [flag for voice in voices for flag in ("--mute", voice.upper())]
            _, heard = play([flag for voice in voices for flag in ("--mute", voice)] + [song],
                            os.path.join(self.folder.name, "mute.raw"))
            self.expect_song(heard, ymrender(song, *flags), 0, " ".join(flags))


if __name__ == "__main__":
    unittest.main()
