#!/usr/bin/python3
"""ymplay's playlist from the outside: damaged, empty, huge, foreign and
missing files among good ones are skipped with their reasons and the good
ones played (exit 0); only bad ones: exit 1. A file that blocks its reader
does not stop the sound. The command line and a missing sound device."""
import os
import subprocess
import time
import unittest

from ymplay_harness import YMPLAY, audio_env, make_songs, work_folder

FAST = 5
LH5PACK = os.environ["LH5PACK"]


def run(args, recording, **options):
    return subprocess.run([YMPLAY, *args], env=audio_env(recording, FAST), stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=60, **options)


def player_lines(errors):
    """ymplay's lines on standard error, without the disk driver's own notices."""
    return [line for line in errors.decode().splitlines() if not line.startswith("CRITICAL: ")]


class Playlist(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = work_folder()
        root = cls.folder.name
        make_songs(os.path.join(root, "songs"), 1)
        cls.good = os.path.join(root, "songs", "ym3.ym")
        cls.nested = os.path.join(root, "more", "deeper")
        os.makedirs(cls.nested)
        os.replace(os.path.join(root, "songs", "ymt1.ym"), os.path.join(cls.nested, "b.ym"))
        with open(cls.good, "rb") as f:
            song = f.read()
        cls.bad = {}

        def bad(name, content, reason):
            path = os.path.join(root, name)
            if content is not None:
                with open(path, "wb") as f:
                    f.write(content)
            cls.bad[path] = reason

        with open(os.path.join(root, "songs", "ym5.ym"), "rb") as f:
            bad("cut.ym", f.read()[:200], "Truncated YM file !")
        bad("empty.ym", b"", "Truncated YM file !")
        bad("notes.txt", b"Not a song at all.\n" * 20, "Unknow YM format !")
        bad("missing.ym", None, "cannot read it: No such file or directory")
        huge = os.path.join(root, "huge.ym")
        with open(huge, "wb") as f:
            f.truncate(65 * 1024 * 1024)  # sparse: no disk taken
        cls.bad[huge] = "larger than 64 MiB"
        packed = os.path.join(root, "packed.lzh")
        subprocess.run([LH5PACK, cls.good, packed], check=True)
        with open(packed, "rb") as f:
            archive = bytearray(f.read())
        archive[len(archive) // 2] ^= 0x55
        bad("damaged.lzh", bytes(archive), "LH5 Depacking Error !")
        cls.packed = packed

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def recording(self):
        return os.path.join(self.folder.name, f"{self.id()}.raw")

    def test_bad_files_are_skipped_with_their_reasons(self):
        files = [self.good, *self.bad, self.packed, os.path.join(self.folder.name, "more")]
        done = run(["--no-ui", *files], self.recording())
        self.assertEqual(done.returncode, 0, done.stderr)
        lines = done.stdout.decode().splitlines()
        count = len(files)
        self.assertEqual(lines, [f"1/{count} Unknown - Unknown (0:01)", f"{count - 1}/{count} Unknown - Unknown (0:01)",
                                 f"{count}/{count} YMT1 tune - Vitrelume (0:01)"])
        self.assertEqual(player_lines(done.stderr), [f"ymplay: skipped {path}: {reason}" for path, reason in self.bad.items()])

    def test_only_bad_files_exit_with_1(self):
        done = run(["--no-ui", *self.bad], self.recording())
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stdout, b"")
        self.assertEqual(len(player_lines(done.stderr)), len(self.bad))
        done = run(["--no-ui", os.path.join(self.folder.name, "more", "deeper", "no-such-folder")],
                   self.recording())
        self.assertEqual(done.returncode, 1)

    def test_the_sound_goes_on_while_a_file_blocks_its_reader(self):
        fifo = os.path.join(self.folder.name, "slow.ym")
        os.mkfifo(fifo)
        self.addCleanup(os.remove, fifo)
        recording = self.recording()
        player = subprocess.Popen([YMPLAY, "--no-ui", self.good, fifo, self.good], env=audio_env(recording, FAST),
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        try:
            time.sleep(1.5)  # the first song has ended: the player waits for the pipe's writer
            before = os.path.getsize(recording)
            time.sleep(0.5)
            self.assertGreater(os.path.getsize(recording), before, "the sound thread waits on the reader")
            with open(fifo, "wb") as f:
                f.write(b"not a song")
            out, errors = player.communicate(timeout=30)
        finally:
            player.kill()
            player.wait()
        self.assertEqual(player.returncode, 0, errors)
        self.assertEqual(len(out.decode().splitlines()), 2)
        self.assertIn(f"ymplay: skipped {fifo}: Unknow YM format !", errors.decode())

    def test_song_texts_reach_the_output_without_control_characters(self):
        hostile = os.path.join(self.folder.name, "hostile.ym")
        with open(hostile, "wb") as f:
            f.write(b"YM5!VaRnOlI!" + (50).to_bytes(4, "big") + bytes(6) + (2000000).to_bytes(4, "big") +
                    (50).to_bytes(2, "big") + bytes(6) + b"\x1b]0;owned\x07\x1b[2J\0A\nTitle: forged\0\r\x1b[1A\xe9\0" +
                    bytes(16 * 50) + b"End!")
        done = run(["--no-ui", hostile], self.recording())
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stdout.decode(), "1/1 ?]0;owned??[2J - A?Title: forged (0:01)\n")

    def test_command_line(self):
        for args in ([], ["--passes", "x", self.good], ["--mute", "D", self.good]):
            with self.subTest(args=args):
                done = run(args, self.recording())
                self.assertEqual(done.returncode, 2, done.stderr)
                self.assertEqual(done.stdout, b"")

    def test_no_sound_device(self):
        env = dict(os.environ, SDL_AUDIODRIVER="no-such-driver")
        done = subprocess.run([YMPLAY, "--no-ui", self.good], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=30)
        self.assertEqual(done.returncode, 1)
        self.assertRegex(done.stderr.decode(), r"^No audio device: .+\n$")


if __name__ == "__main__":
    unittest.main()
