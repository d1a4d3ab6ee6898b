#!/usr/bin/env python3
"""The README's figures for the browser site, from the site that was built.

  tools/readme_site_sizes.py SITE_DIR README.md           exit 1 when they differ
  tools/readme_site_sizes.py SITE_DIR README.md --write   writes today's into README.md

Sizes as tools/build-web.sh prints them: bytes, and `gzip -9c FILE` (whose
header holds the file's name); the totals in thousands of bytes, rounded.
"""
import pathlib
import re
import subprocess
import sys

N = r"([0-9][0-9,]*)"
S = r"\s+"
SENTENCE = re.compile(
    rf"`index\.html`{S}\({N}{S}bytes,{S}{N}{S}gzipped\),{S}`index\.js`{S}\({N}{S}bytes,{S}{N}{S}gzipped\)"
    rf"{S}and{S}`index\.wasm`{S}\({N}{S}bytes,{S}{N}{S}gzipped\):{S}{N}{S}KB,{S}or{S}{N}{S}KB{S}gzipped")


def figures(site):
    sizes = []
    for name in ("index.html", "index.js", "index.wasm"):
        path = site / name
        packed = subprocess.run(["gzip", "-9c", str(path)], check=True, capture_output=True).stdout
        sizes += [path.stat().st_size, len(packed)]
    plain, packed = sum(sizes[0::2]), sum(sizes[1::2])
    return [f"{n:,}" for n in sizes] + [f"{round(plain / 1000):,}", f"{round(packed / 1000):,}"]


def main():
    if len(sys.argv) not in (3, 4) or (len(sys.argv) == 4 and sys.argv[3] != "--write"):
        sys.exit(__doc__.strip())
    site, readme = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    text = readme.read_text()
    match = SENTENCE.search(text)
    if not match:
        sys.exit(f"{readme}: the sentence with the site's sizes is not there")
    built = figures(site)
    written = list(match.groups())
    if written == built:
        return
    if len(sys.argv) == 3:
        labels = ["index.html", "gzipped", "index.js", "gzipped", "index.wasm", "gzipped", "KB", "KB gzipped"]
        for label, old, new in zip(labels, written, built):
            if old != new:
                print(f"{readme}: {label} says {old}, the build gives {new}", file=sys.stderr)
        sys.exit(f"run {sys.argv[0]} {site} {readme} --write")
    for index in reversed(range(len(built))):
        start, end = match.span(index + 1)
        text = text[:start] + built[index] + text[end:]
    readme.write_text(text)


if __name__ == "__main__":
    main()
