#!/usr/bin/env python3
"""The README's figures for the browser site, from the site that was built.

  tools/readme_site_sizes.py SITE_DIR README.md           exit 1 when they differ
  tools/readme_site_sizes.py SITE_DIR README.md --write   writes today's into README.md

Sizes as tools/build-web.sh prints them: bytes, and `gzip -9c FILE` (whose
header holds the file's name); totals in thousands of bytes, rounded.
"""
import pathlib
import re
import subprocess
import sys

N = r"([0-9][0-9,]*)"
S = r"\s+"
# Each sentence with its figures, and the figures it should hold.
PRODUCTION = re.compile(
    rf"`index\.html`{S}\({N}{S}bytes,{S}{N}{S}gzipped\),{S}`index\.js`{S}\({N}{S}bytes,{S}{N}{S}gzipped\)"
    rf"{S}and{S}`index\.wasm`{S}\({N}{S}bytes,{S}{N}{S}gzipped\):{S}{N}{S}KB,{S}or{S}{N}{S}KB{S}gzipped")
PLAYER = re.compile(
    rf"`player\.html`{S}\({N}{S}bytes\),{S}`player\.js`{S}\({N}\){S}and{S}`player\.wasm`{S}\({N},"
    rf"{S}with{S}the{S}production's{S}song\):{S}{N}{S}KB,{S}or{S}{N}{S}KB{S}gzipped")


def sizes(site, name):
    path = site / name
    packed = subprocess.run(["gzip", "-9c", str(path)], check=True, capture_output=True).stdout
    return path.stat().st_size, len(packed)


def thousands(n):
    return f"{round(n / 1000):,}"


def production(site):
    files = [sizes(site, f"index.{kind}") for kind in ("html", "js", "wasm")]
    figures = [f"{n:,}" for pair in files for n in pair]
    return figures + [thousands(sum(p for p, _ in files)), thousands(sum(g for _, g in files))]


def player(site):
    files = [sizes(site, f"player.{kind}") for kind in ("html", "js", "wasm")]
    return [f"{p:,}" for p, _ in files] + [thousands(sum(p for p, _ in files)), thousands(sum(g for _, g in files))]


def main():
    if len(sys.argv) not in (3, 4) or (len(sys.argv) == 4 and sys.argv[3] != "--write"):
        sys.exit(__doc__.strip())
    site, readme = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    text = readme.read_text()
    stale = False
    for name, sentence, built_by in (("site", PRODUCTION, production), ("player page", PLAYER, player)):
        match = sentence.search(text)
        if not match:
            sys.exit(f"{readme}: the sentence with the {name}'s sizes is not there")
        built, written = built_by(site), list(match.groups())
        if built == written:
            continue
        stale = True
        print(f"{readme}: the {name}'s sizes say {', '.join(written)}; the build gives {', '.join(built)}",
              file=sys.stderr)
        for index in reversed(range(len(built))):
            start, end = match.span(index + 1)
            text = text[:start] + built[index] + text[end:]
    if stale and len(sys.argv) == 4:
        readme.write_text(text)
    elif stale:
        sys.exit(f"run {sys.argv[0]} {site} {readme} --write")


if __name__ == "__main__":
    main()
