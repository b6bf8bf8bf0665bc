#!/usr/bin/env python3
"""Runs `armavo --script SCRIPT` with a fresh settings file and checks its transcript: each
non-empty line of EXPECT appears as a whole output line, in order (others may come between);
a line "!text" means no output line may contain text. The exit status must be --status (0)."""
import argparse, os, subprocess, sys, tempfile

parser = argparse.ArgumentParser()
for name in ("program", "script", "expect"):
    parser.add_argument(name)
parser.add_argument("--status", type=int, default=0)
args = parser.parse_args()
with tempfile.TemporaryDirectory() as tmp:
    run = subprocess.run([args.program, "--settings", os.path.join(tmp, "settings"), "--script",
                          args.script], stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
output = run.stdout.decode("utf-8", errors="replace")
lines = output.split("\n")
failures = [] if run.returncode == args.status else [f"exit status {run.returncode}"]
position = 0
with open(args.expect, encoding="utf-8") as f:
    for want in (raw.rstrip("\n") for raw in f if raw.strip()):
        if want.startswith("!"):
            failures += [f"unexpected: {want[1:]!r}"] if any(want[1:] in l for l in lines) else []
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
    print("\n".join("FAIL: " + failure for failure in failures))
sys.exit(1 if failures else 0)
