#!/usr/bin/python3
"""Takes a picture of a terminal program: runs it in a pseudo-terminal of
80 x 24, types the keys given at the times given, reads what it draws with
pyte and paints the screen into a PNG with ImageMagick (DejaVu Sans Mono,
the program's colours on a dark background). The program is then ended
with SIGTERM.

    terminal_picture.py OUT.png SECONDS[:KEYS]... -- COMMAND...

Each SECONDS:KEYS waits SECONDS, then types KEYS; the picture is taken after
the last wait."""
import fcntl
import os
import select
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import time

import pyte

COLUMNS, LINES = 80, 24
CELL_WIDTH, CELL_HEIGHT, FONT_SIZE = 10, 20, 16
BACKGROUND, FOREGROUND = "#101418", "#d0d4dc"
COLOURS = {"black": "#101418", "red": "#e05a5a", "green": "#59c27a", "yellow": "#e0c062", "brown": "#e0c062",
           "blue": "#6fa8ff",
           "magenta": "#c07ae0", "cyan": "#5ac8d0", "white": "#d0d4dc"}


def run(command, steps):
    master, slave = os.openpty()
    fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", LINES, COLUMNS, 0, 0))
    env = dict(os.environ, TERM="xterm-256color", LANG="C.UTF-8")
    process = subprocess.Popen(command, stdin=slave, stdout=slave, stderr=subprocess.DEVNULL, env=env,
                               start_new_session=True)
    screen = pyte.Screen(COLUMNS, LINES)
    stream = pyte.ByteStream(screen)
    for seconds, keys in steps:
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if select.select([master], [], [], 0.02)[0]:
                stream.feed(os.read(master, 65536))
        os.write(master, keys.encode())
    process.send_signal(signal.SIGTERM)
    process.wait()
    return screen


def colour(name, fallback):
    if name == "default":
        return fallback
    return COLOURS.get(name, "#" + name if len(name) == 6 else fallback)


def paint(screen, out):
    quote = lambda text: "'" + text.replace("\\", "\\\\").replace("'", "\\'") + "'"
    draw = [f"viewbox 0 0 {COLUMNS * CELL_WIDTH} {LINES * CELL_HEIGHT}", f"fill '{BACKGROUND}'",
            f"rectangle 0,0 {COLUMNS * CELL_WIDTH},{LINES * CELL_HEIGHT}", "font 'DejaVu-Sans-Mono'",
            f"font-size {FONT_SIZE}"]
    for row in range(LINES):
        line = screen.buffer[row]
        for column in range(COLUMNS):
            char = line[column]
            fg, bg = colour(char.fg, FOREGROUND), colour(char.bg, BACKGROUND)
            if char.reverse:
                fg, bg = bg, fg
            x, y = column * CELL_WIDTH, row * CELL_HEIGHT
            if bg != BACKGROUND:
                draw += [f"fill '{bg}'", f"rectangle {x},{y} {x + CELL_WIDTH - 1},{y + CELL_HEIGHT - 1}"]
            if char.data.strip():
                weight = "bold" if char.bold else "normal"
                draw += [f"fill '{fg}'", f"font-weight {weight}", f"text {x},{y + CELL_HEIGHT - 5} {quote(char.data)}"]
    with tempfile.NamedTemporaryFile("w", suffix=".mvg", delete=False) as f:
        f.write("\n".join(draw) + "\n")
    try:
        subprocess.run(["convert", "-size", f"{COLUMNS * CELL_WIDTH}x{LINES * CELL_HEIGHT}", f"mvg:{f.name}",
                        "-strip", out], check=True)
    finally:
        os.remove(f.name)


def main():
    out, rest = sys.argv[1], sys.argv[2:]
    split = rest.index("--")
    steps = []
    for step in rest[:split]:
        seconds, _, keys = step.partition(":")
        steps.append((float(seconds), keys))
    paint(run(rest[split + 1:], steps), out)


if __name__ == "__main__":
    main()
