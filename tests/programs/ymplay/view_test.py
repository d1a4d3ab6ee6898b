#!/usr/bin/python3
"""ymplay's terminal view in a pseudo-terminal, read back as a screen with
pyte: the song's texts, the time advancing, stopping while paused, jumping on
a seek, mutes, the small terminal's one-line view, and the terminal given
back as it was on q, Ctrl+C, SIGTERM and at the end of the list. The sound, recorded by SDL's disk
driver meanwhile, is ymrender's with the pause's silence and the seek's jump."""
import os
import signal
import time
import unittest

from ymplay_harness import REQUEST_BYTES, Terminal, audio_env, make_songs, segments, work_folder, ymrender

SECOND_BYTES = 44100 * 4


class TerminalView(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = work_folder()
        make_songs(cls.folder.name, 12)
        cls.song = os.path.join(cls.folder.name, "ym6-effects.ym")

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def start(self, before=(), after=(), columns=80, lines=24):
        """ymplay on the effects song, with the files `before` and `after` it."""
        recording = os.path.join(self.folder.name, f"{self.id()}.raw")
        terminal = Terminal([*before, self.song, *after], audio_env(recording), columns, lines)
        self.addCleanup(terminal.close)
        return terminal, recording

    def test_texts_time_pause_seek_and_quit(self):
        terminal, recording = self.start()
        terminal.wait_for(r"Title +YM6! effects")
        terminal.wait_for(r"Author +Vitrelume")
        terminal.wait_for(r"1/1")
        terminal.wait_for(r"YM6!\), register song with two effect slots, 50 Hz")
        first = terminal.elapsed()
        terminal.pump(2.2)
        self.assertGreater(terminal.elapsed(), first, "the time advances")

        terminal.key(b" ")
        terminal.wait_for(r"paused")
        terminal.pump(0.3)
        held = terminal.elapsed()
        terminal.pump(1.5)
        self.assertEqual(terminal.elapsed(), held, "the time stands while paused")
        terminal.key(b" ")
        terminal.wait_for(r"playing")

        before = terminal.elapsed()
        terminal.key(b"\x1bOC")  # Right, as a terminal in keypad mode sends it
        terminal.pump(0.5)
        self.assertGreaterEqual(terminal.elapsed(), before + 4, "Right jumps 5 s on")
        terminal.key(b"2")
        terminal.wait_for(r"B \[[#.]+\] +\d+ .*muted")
        terminal.pump(0.3)

        terminal.key(b"q")
        quit_at = time.monotonic()
        self.assertEqual(terminal.wait_exit(5), 0)
        self.assertLess(time.monotonic() - quit_at, 1.0, "q ends it within a second")
        self.assertEqual(terminal.settings_now(), terminal.settings_before, "the terminal is as it was")

        # What was heard: the song, the pause's silence, the song where it
        # stopped, then the song again 5 s (less a request or two) further on.
        with open(recording, "rb") as f:
            heard = f.read()
        song = ymrender(self.song, "--seconds", "12")
        pieces = [p for p in segments(heard, song) if p != ("silence", 0)]
        kinds = [p[0] for p in pieces]
        self.assertEqual(kinds[:4], ["song", "silence", "song", "song"], pieces)
        self.assertEqual(pieces[0][1], 0)
        self.assertEqual(pieces[2][1], pieces[0][2], "the music goes on where it stopped")
        jump = pieces[3][1] - pieces[2][2]
        self.assertTrue(5 * SECOND_BYTES - 3 * REQUEST_BYTES <= jump <= 5 * SECOND_BYTES, jump)
        self.assertGreater(pieces[1][1], 10, "paused for over half a second")

    def test_every_key(self):
        folder = self.folder.name
        terminal, _ = self.start(after=[os.path.join(folder, "ym5.ym"), os.path.join(folder, "ymt2.ym")])
        terminal.wait_for(r"Title +YM6! effects")
        times = lambda pattern: terminal.wait_for(r" " + pattern + r" \[")
        for key, pattern in ((b"-", r"Volume 90%"), (b"+", r"Volume 100%"), (b"l", r"playing  loop"),
                             (b"s", r"playing  loop  shuffle"), (b"l", r"playing  shuffle"), (b"s", r"playing *\n"),
                             (b"1", r"A \[.*muted"), (b"3", r"C \[.*muted")):
            terminal.key(key)
            terminal.wait_for(pattern)
        terminal.key(b"1")
        terminal.pump(0.3)
        self.assertNotRegex(terminal.text(), r"A \[.*muted")
        terminal.key(b"\x1bOC")  # Right
        times(r"0:0[5-9]")
        terminal.key(b"\x1bOD")  # Left
        times(r"0:0[0-4]")
        terminal.key(b"\x1bOC")
        times(r"0:0[5-9]")
        terminal.key(b"\x1bOH")  # Home
        times(r"0:0[01]")
        terminal.key(b"\x1b[5~")  # Page Up: 30 s on, past the end, so the next song
        terminal.wait_for(r"2/3.*\n.*\n.*Title +Test song")
        terminal.key(b"\x1bOC")
        times(r"0:0[5-9]")
        terminal.key(b"\x1b[6~")  # Page Down: 30 s back, so the start
        times(r"0:0[01]")
        terminal.key(b"n")
        terminal.wait_for(r"Title +YMT2 tune")
        terminal.key(b"p")
        terminal.wait_for(r"Title +Test song")
        terminal.key(b"q")
        self.assertEqual(terminal.wait_exit(5), 0)

    def test_ctrl_c_and_sigterm_give_the_terminal_back(self):
        for stop in (b"\x03", signal.SIGTERM):
            with self.subTest(stop=stop):
                terminal, _ = self.start()
                terminal.wait_for(r"Title +YM6! effects")
                if isinstance(stop, bytes):
                    terminal.key(stop)
                    expected = -signal.SIGINT
                else:
                    terminal.process.send_signal(stop)
                    expected = -stop
                self.assertEqual(terminal.wait_exit(5), expected)
                self.assertEqual(terminal.settings_now(), terminal.settings_before)

    def test_the_end_of_the_list_gives_the_terminal_back(self):
        short = os.path.join(self.folder.name, "short")
        make_songs(short, 1)
        terminal = Terminal([os.path.join(short, "ym3.ym")], audio_env(os.path.join(short, "end.raw")))
        self.addCleanup(terminal.close)
        terminal.wait_for(r"Title +Unknown")
        self.assertEqual(terminal.wait_exit(10), 0)
        self.assertEqual(terminal.settings_now(), terminal.settings_before)

    def test_skipped_files_a_small_terminal_and_a_resize(self):
        bad = os.path.join(self.folder.name, "notes.txt")
        with open(bad, "w") as f:
            f.write("no song here\n")
        terminal, _ = self.start(before=[bad])
        terminal.wait_for(r"skipped .*notes.txt: Unknow YM format !")
        terminal.wait_for(r"2/2")
        terminal.size(40, 6)
        terminal.wait_for(r"^2/2 0:\d\d/0:12 YM6! effects - Vitrelume")
        self.assertNotIn("Title", terminal.text())
        terminal.size(80, 24)
        terminal.wait_for(r"Title +YM6! effects")
        terminal.key(b"\x1b")  # Escape quits too
        self.assertEqual(terminal.wait_exit(5), 0)
        self.assertIn(f"ymplay: skipped {bad}: Unknow YM format !\n", terminal.stderr())


if __name__ == "__main__":
    unittest.main()
