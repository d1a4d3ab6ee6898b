#!/usr/bin/env python3
"""Mutation measurement of the test suite (by hand; CI does not run it).

  tests/mutation/run.py SOURCE_DIR BUILD_DIR [--area ym|demo|app|programs] [--match TEXT] [--list]

Each mutant in mutants.py is a plausible mistake: one exact piece of source
replaced by another. For each, the file is changed, only the build's affected
targets are rebuilt (ninja's own dependency tracking), and the area's tests
run through CTest; a mutant is killed when a test fails (or the build does).
The file is restored after each mutant, and the build once more at the end.
A mutant whose original text is no longer in the file is reported as gone;
one marked equivalent (no run of realistic length can tell it apart) is
listed but not counted.
Two shared cores: builds use -j2, tests run two at a time.
"""
import argparse
import pathlib
import subprocess
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from mutants import MUTANTS, TESTS_EXCLUDED  # noqa: E402


def run(command, cwd, timeout):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1  # a hang counts as a kill


def build(build_dir):
    return run(["cmake", "--build", str(build_dir), "-j2"], None, 1800)


def tests_pass(build_dir, area):
    return run(["ctest", "-j2", "--timeout", "300", "-E", TESTS_EXCLUDED[area]], build_dir, 3600) == 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("build")
    parser.add_argument("--area")
    parser.add_argument("--match", help="only the mutants whose description holds this text")
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()
    source, build_dir = pathlib.Path(args.source), pathlib.Path(args.build)
    chosen = [m for m in MUTANTS if (not args.area or m["area"] == args.area) and
              (not args.match or args.match in m["why"])]
    if args.list:
        for m in chosen:
            print(f'{m["area"]:6} {m["file"]}: {m["why"]}')
        return
    if build(build_dir) != 0 or not tests_pass(build_dir, "app"):
        sys.exit("the unmutated build or its tests fail: fix that first")
    results = {}
    for m in chosen:
        path = source / m["file"]
        original = path.read_text() if path.exists() else ""
        if m.get("equivalent"):
            verdict = "equivalent"
        elif original.count(m["old"]) != 1:
            verdict = "gone"
        else:
            start = time.time()
            path.write_text(original.replace(m["old"], m["new"]))
            try:
                verdict = "killed" if build(build_dir) != 0 or not tests_pass(build_dir, m["area"]) else "SURVIVED"
            finally:
                path.write_text(original)
            verdict += f" ({time.time() - start:.0f} s)"
        print(f'{verdict:16} {m["area"]:6} {m["file"]}: {m["why"]}', flush=True)
        results.setdefault(m["area"], []).append(verdict.split()[0])
    build(build_dir)
    total_killed = total = 0
    for area, verdicts in results.items():
        counted = [v for v in verdicts if v not in ("gone", "equivalent")]
        killed = counted.count("killed")
        total_killed += killed
        total += len(counted)
        print(f"{area}: {killed} of {len(counted)} killed" + (f" ({100 * killed // len(counted)}%)" if counted else ""))
    if total:
        print(f"all: {total_killed} of {total} killed ({100 * total_killed // total}%)")


if __name__ == "__main__":
    main()
