#!/usr/bin/env python3
"""Runs `armavo --script SCRIPT` and checks its transcript against an expectation file.

Each non-empty line of the expectation file must appear as a whole line of the output, in
the given order (other lines may come between them). A line starting with "!" must not
appear anywhere in the output. The exit status must be 0 unless --status says otherwise.
"""
import argparse
import os
import subprocess
import sys
import tempfile


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("script")
    parser.add_argument("expect")
    parser.add_argument("--status", type=int, default=0)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as tmp:
        settings = os.path.join(tmp, "settings")
        run = subprocess.run([args.program, "--settings", settings, "--script", args.script],
                             stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    output = run.stdout.decode("utf-8", errors="replace")
    lines = output.split("\n")
    failures = []
    if run.returncode != args.status:
        failures.append(f"exit status {run.returncode}, expected {args.status}")
    position = 0
    with open(args.expect, encoding="utf-8") as f:
        for raw in f:
            want = raw.rstrip("\n")
            if not want:
                continue
            if want.startswith("!"):
                if any(want[1:] in line for line in lines):
                    failures.append(f"unexpected: {want[1:]!r}")
                continue
            while position < len(lines) and lines[position] != want:
                position += 1
            if position == len(lines):
                failures.append(f"missing (in order): {want!r}")
                break
            position += 1
    if failures:
        sys.stdout.write(output)
        sys.stderr.write(run.stderr.decode("utf-8", errors="replace"))
        for failure in failures:
            print("FAIL:", failure)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
