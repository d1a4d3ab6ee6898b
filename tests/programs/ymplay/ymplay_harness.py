"""What the ymplay tests share: the programs, test songs, a pseudo-terminal
read back as a screen, and recordings of SDL's disk audio driver compared
with ymrender."""
import os
import re
import select
import struct
import subprocess
import tempfile
import termios
import fcntl
import time

import pyte

YMPLAY = os.environ["YMPLAY"]
YMRENDER = os.environ["YMRENDER"]
MAKE_TEST_SONGS = os.environ["MAKE_TEST_SONGS"]
FRAME_BYTES = 4
REQUEST_BYTES = 2205 * FRAME_BYTES


def make_songs(folder, seconds):
    subprocess.run([MAKE_TEST_SONGS, folder, "--seconds", str(seconds)], check=True)
    return sorted(os.listdir(folder))


def ymrender(*args):
    return subprocess.run([YMRENDER, *args, "--raw"], check=True, stdout=subprocess.PIPE).stdout


def audio_env(recording, delay_ms=None):
    """The environment that sends ymplay's sound to a file (at the sound
    card's pace, or `delay_ms` per request)."""
    env = dict(os.environ, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=recording)
    if delay_ms is not None:
        env["SDL_DISKAUDIODELAY"] = str(delay_ms)
    return env


def find_song(recording, song, start=0):
    """Where `song` (ymrender's bytes) begins in `recording` at or after
    `start`, with only silence before it; None when it is not there."""
    first = next((i for i in range(0, len(song), FRAME_BYTES) if song[i:i + FRAME_BYTES] != b"\0" * FRAME_BYTES), None)
    assert first is not None, "the song is silent"
    needle = song[first:first + 16384]
    at = recording.find(needle, start + first)
    while at >= 0 and (at - first - start) % FRAME_BYTES:
        at = recording.find(needle, at + 1)
    if at < 0:
        return None
    begin = at - first
    if recording[start:begin].strip(b"\0"):
        return None
    return begin


class Terminal:
    """ymplay in a pseudo-terminal of `columns` x `lines` that is its
    controlling terminal (so Ctrl+C typed there reaches it), its output read
    into a pyte screen and its standard error kept apart."""

    def __init__(self, args, env, columns=80, lines=24):
        self.master, self.slave = os.openpty()
        self.size(columns, lines)
        self.settings_before = termios.tcgetattr(self.slave)
        self.errors = tempfile.TemporaryFile()
        env = dict(env, TERM="xterm-256color", LANG="C.UTF-8")

        def take_terminal():
            os.setsid()
            fcntl.ioctl(0, termios.TIOCSCTTY, 0)

        self.process = subprocess.Popen([YMPLAY, *args], stdin=self.slave, stdout=self.slave, stderr=self.errors,
                                        env=env, preexec_fn=take_terminal)

    def size(self, columns, lines):
        """Sets the terminal's size (the program gets SIGWINCH) and reads
        what follows into a new screen of that size."""
        self.screen = pyte.Screen(columns, lines)
        self.stream = pyte.ByteStream(self.screen)
        fcntl.ioctl(self.slave, termios.TIOCSWINSZ, struct.pack("HHHH", lines, columns, 0, 0))

    def pump(self, seconds):
        """Reads what the program draws for `seconds`."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            ready, _, _ = select.select([self.master], [], [], 0.02)
            if ready:
                try:
                    self.stream.feed(os.read(self.master, 65536))
                except OSError:
                    return

    def text(self):
        return "\n".join(self.screen.display)

    def wait_for(self, pattern, seconds=10):
        """The first match of `pattern` on the screen within `seconds`."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            self.pump(0.05)
            found = re.search(pattern, self.text())
            if found:
                return found
        raise AssertionError(f"{pattern!r} never appeared; the screen:\n{self.text()}")

    def key(self, data):
        os.write(self.master, data)

    def elapsed(self):
        """The song's time on the progress line, in seconds."""
        found = self.wait_for(r"(\d+):(\d\d) \[")
        return int(found.group(1)) * 60 + int(found.group(2))

    def wait_exit(self, seconds):
        """The exit code (negative: the signal) once it has ended, or None
        when it still runs after `seconds`."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            self.pump(0.02)
            if self.process.poll() is not None:
                return self.process.returncode
        return None

    def settings_now(self):
        return termios.tcgetattr(self.slave)

    def stderr(self):
        self.errors.seek(0)
        return self.errors.read().decode("utf-8", "replace")

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        os.close(self.master)
        os.close(self.slave)
        self.errors.close()


def work_folder():
    return tempfile.TemporaryDirectory(prefix="ymplay-test-")

def segments(recording, song):
    """The recording read as pieces of `song` (ymrender's bytes): from where
    the song first begins, a list of ("song", from, to) byte ranges of the
    song, ("silence", requests) runs and ("other", at) where neither fits,
    request by request."""
    start = find_song(recording, song)
    assert start is not None, "the song never starts in the recording"
    pieces = []
    at, into = start, 0
    while at < len(recording):
        chunk = recording[at:at + REQUEST_BYTES]
        if into < len(song) and chunk == song[into:into + len(chunk)]:
            if pieces and pieces[-1][0] == "song" and pieces[-1][2] == into:
                pieces[-1] = ("song", pieces[-1][1], into + len(chunk))
            else:
                pieces.append(("song", into, into + len(chunk)))
            into += len(chunk)
        elif not chunk.strip(b"\0"):
            if pieces and pieces[-1][0] == "silence":
                pieces[-1] = ("silence", pieces[-1][1] + 1)
            else:
                pieces.append(("silence", 1))
        else:
            found = song.find(chunk)
            if found < 0 or found % FRAME_BYTES:
                pieces.append(("other", at))
                break
            into = found
            continue
        at += len(chunk)
    return pieces
