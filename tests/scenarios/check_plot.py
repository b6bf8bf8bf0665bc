#!/usr/bin/env python3
"""Checks the example's sheet as the one handed it would, with poppler's tools: one A3
landscape page (1190.55 x 841.89 pt); the schedule's title, the bar descriptions and the scale
"1:50" found as text; and the drawing at 1:50 (one unit is one centimetre): two notes under the
steel schedule lie as far apart on paper as in the drawing at that scale, within 1 %.

usage: check_plot.py BEAM.PDF BEAM.DXF   (check_example.py runs it on the example's files)
"""
import re
import shutil
import subprocess
import sys

TEXTS = ["WYKAZ STALI ZBROJENIOWEJ", "# 16 co 15 L= 642", "# 12 co 15 L= 632",
         "# 16 co 15 L= 654", "Ø 8 co 15", "1:50"]
# The two notes by a word each has alone, and how each begins in the drawing.
NOTES = [("KONSTRUKCYJNY", "BETON KONSTRUKCYJNY"), ("ZBROJENIOWA", "STAL ZBROJENIOWA")]
PT_PER_UNIT = 10 / 50 * 72 / 25.4  # one centimetre at 1:50, in points


def run(*command):
    return subprocess.run(command, stdout=subprocess.PIPE, check=True).stdout.decode("utf-8")


def note_heights(dxf):
    """The y of each note's insertion point in the drawing, from the DXF's TEXT entities."""
    with open(dxf, encoding="utf-8") as f:
        lines = [line.strip() for line in f]
    pairs = list(zip(lines[0::2], lines[1::2]))
    heights, entity = {}, {}
    for code, value in pairs + [("0", "EOF")]:
        if code == "0":
            for _, start in NOTES:
                if entity.get("type") == "TEXT" and entity.get("1", "").startswith(start):
                    heights[start] = float(entity["20"])
            entity = {"type": value}
        elif code not in entity:
            entity[code] = value
    return heights


def check(pdf, dxf):
    missing = [tool for tool in ("pdfinfo", "pdftotext") if not shutil.which(tool)]
    if missing:
        return ["%s not found (scripts/install-deps.sh --tests installs poppler-utils)"
                % ", ".join(missing)]
    failures = []
    info = run("pdfinfo", pdf)
    if not re.search(r"^Pages:\s+1$", info, re.M):
        failures.append("the sheet is not one page")
    size = re.search(r"^Page size:\s+([\d.]+) x ([\d.]+) pts", info, re.M)
    if not size or (size.group(1), size.group(2)) != ("1190.55", "841.89"):
        failures.append("the page is not A3 landscape: %s" % (size.group(0) if size else info))
    text = " ".join(run("pdftotext", pdf, "-").split())
    failures += ["no text %r in the sheet" % want for want in TEXTS if want not in text]
    words = re.findall(r'<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)<',
                       run("pdftotext", "-bbox", pdf, "-"))
    drawn = note_heights(dxf)
    found = [[float(y) for y, word in words if word == alone] for alone, _ in NOTES]
    if [len(f) for f in found] != [1, 1] or len(drawn) != 2:
        return failures + ["the notes are not found once each: sheet %s, drawing %s"
                           % (found, drawn)]
    on_paper = found[1][0] - found[0][0]  # the sheet's y runs down, the drawing's up
    wanted = (drawn[NOTES[0][1]] - drawn[NOTES[1][1]]) * PT_PER_UNIT
    if not wanted > 0 or abs(on_paper - wanted) > 0.01 * wanted:
        failures.append("the notes lie %.3f pt apart on the sheet, %.3f pt at 1:50"
                        % (on_paper, wanted))
    return failures


if __name__ == "__main__":
    problems = check(sys.argv[1], sys.argv[2])
    print("\n".join("FAIL: " + p for p in problems) or "OK: the sheet is A3 at 1:50")
    sys.exit(1 if problems else 0)
