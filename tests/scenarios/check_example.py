#!/usr/bin/env python3
"""Runs examples/beam.scr through `armavo` as run-example.sh does (a fresh settings file, the
files written under out/ of the working folder) and checks that it ends with status 0 and
that its picture is docs/beam.svg byte for byte, so that the README shows what the example
draws, and that the count of stirrups typed in OPR (41) is what the CSV and BVBS exports give
for their mark. On a difference the new picture is left beside the old one as
docs/beam.svg.out. Its sheet, out/beam.pdf, is checked by check_plot.py.

usage: check_example.py ARMAVO SOURCE_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_plot  # noqa: E402


def main():
    armavo, source = sys.argv[1], sys.argv[2]
    script = os.path.join(source, "examples", "beam.scr")
    golden = os.path.join(source, "docs", "beam.svg")
    with tempfile.TemporaryDirectory() as work:
        os.mkdir(os.path.join(work, "out"))
        settings = os.path.join(work, "settings")
        run = subprocess.run([armavo, "--settings", settings, "--script", script], cwd=work,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
        transcript = run.stdout.decode("utf-8", "replace")
        if run.returncode != 0:
            print(transcript[-3000:])
            print("FAIL: the example ended with status %d" % run.returncode)
            return 1
        for name in ("beam.dxf", "beam.svg", "beam.pdf", "beam.csv", "beam.abs"):
            if not os.path.isfile(os.path.join(work, "out", name)):
                print("FAIL: the example wrote no out/%s" % name)
                return 1
        if "AUDIT: rysunek bez usterek." not in transcript:
            print(transcript[-3000:])
            print("FAIL: AUDIT found faults in the example's drawing")
            return 1
        # The stirrups' count typed in OPR is the table's, the CSV's and the BVBS record's.
        with open(os.path.join(work, "out", "beam.csv"), encoding="utf-8", newline="") as f:
            csv_mark4 = [line for line in f.read().split("\r\n") if line.startswith("4,")]
        with open(os.path.join(work, "out", "beam.abs"), encoding="ascii", newline="") as f:
            abs_mark4 = [line for line in f.read().split("\r\n") if "@p4@" in line]
        if (len(csv_mark4) != 1 or csv_mark4[0].split(",")[4] != "41" or len(abs_mark4) != 1
                or "@n41@" not in abs_mark4[0]):
            print("FAIL: mark 4 does not give 41 stirrups in out/beam.csv and out/beam.abs:",
                  csv_mark4, abs_mark4)
            return 1
        with open(os.path.join(work, "out", "beam.svg"), "rb") as f:
            made = f.read()
        with open(golden, "rb") as f:
            kept = f.read()
        if made != kept:
            shutil.copyfile(os.path.join(work, "out", "beam.svg"), golden + ".out")
            print("FAIL: the example's picture differs from docs/beam.svg; the new one is in "
                  "docs/beam.svg.out (look at it, then move it over docs/beam.svg)")
            return 1
        problems = check_plot.check(os.path.join(work, "out", "beam.pdf"),
                                    os.path.join(work, "out", "beam.dxf"))
        if problems:
            print("\n".join("FAIL: out/beam.pdf: " + p for p in problems))
            return 1
    print("OK: the example ends with status 0, draws docs/beam.svg and plots its A3 sheet")
    return 0


if __name__ == "__main__":
    sys.exit(main())
