#!/usr/bin/env python3
"""blk import of DXF texts written by a second, independent writer (ezdxf).

Usage: ezdxf_text_check.py BLK

MTEXT of one and of three lines at each of the nine attachments, placed as ezdxf's own drawing
layout places them, and texts in letters code page 1250 lacks. Exits 77 (skipped) when ezdxf is
not installed.
"""
import math
import os
import sys
import tempfile

# The helpers of the import check: running blk on a drawing ezdxf writes, and the problems found.
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import ezdxf_import_check as common  # noqa: E402 (exits 77 itself when ezdxf is missing)
from ezdxf_import_check import expect, imported, new_doc  # noqa: E402

import ezdxf  # noqa: E402
from ezdxf.addons import MTextExplode  # noqa: E402
from ezdxf.addons.drawing.text import simplified_text_chunks  # noqa: E402
from ezdxf.enums import TextEntityAlignment  # noqa: E402
from ezdxf.math import Vec3  # noqa: E402
from ezdxf.tools.fonts import FontMeasurements  # noqa: E402


def descender():
    """How deep the stroke font's descenders reach below the baseline, in capital heights: a
    TEXT on its baseline comes in with its foot that deep below."""
    doc = new_doc()
    doc.modelspace().add_text("H", dxfattribs={"height": 1, "insert": (0, 0)})
    _, blocks = imported(doc, name="litera")
    return -blocks["litera"][0]["y"]


class StrokeFontMeasure:
    """What ezdxf's text layout asks of a backend, answered for the stroke font: its capitals,
    its descenders, and the lengths of the lines as the import measured them. The stroke font's
    lower case is as tall as its descenders are deep under the capitals (14 and 7 of 21)."""

    def __init__(self, depth, lengths):
        self.depth = depth
        self.lengths = lengths

    def get_text_line_width(self, text, cap_height, font=None):
        return self.lengths[text]

    def get_font_measurements(self, cap_height, font=None):
        return FontMeasurements(baseline=0, cap_height=cap_height,
                                x_height=cap_height * (1 - self.depth),
                                descender_height=cap_height * self.depth)


LINES = (["Hp"], ["Abg", "Cdefgh", "Ij"])
INSERT = (10, 20)
HEIGHT = 2.5


def mtext_doc(lines, attachment, rotation):
    doc = new_doc()
    doc.modelspace().add_mtext("\\P".join(lines), dxfattribs={
        "char_height": HEIGHT, "insert": INSERT, "attachment_point": attachment,
        "rotation": rotation})
    return doc


def imported_mtext(lines, attachment, rotation):
    run, blocks = imported(mtext_doc(lines, attachment, rotation), name="mtext")
    expect(f"mtext {attachment}: import", run.returncode == 0, run.stderr)
    got = list(reversed(blocks.get("mtext", [])))
    expect(f"mtext {attachment}: lines", [e.get("text") for e in got] == lines, got)
    return got if len(got) == len(lines) else None


def check_mtext_attachments(depth):
    worst = 0.0
    shifts = {}  # row of attachments → how far above ours ezdxf's exploded baselines lie
    for rotation in (0, 30):
        for lines in LINES:
            # The lengths of the lines: how far left of the point a right-attached one starts.
            right = imported_mtext(lines, 3, 0)
            if right is None:
                continue
            lengths = {e["text"]: INSERT[0] - e["x"] for e in right}
            measure = StrokeFontMeasure(depth, lengths)
            box = HEIGHT * (1 + 5 / 3 * (len(lines) - 1) + depth)
            size = math.hypot(max(lengths.values()), box)
            for attachment in range(1, 10):
                what = f"attachment {attachment}, {len(lines)} lines, {rotation}°"
                got = imported_mtext(lines, attachment, rotation)
                if got is None:
                    continue
                mtext = mtext_doc(lines, attachment, rotation).modelspace().query("MTEXT")[0]
                chunks = list(simplified_text_chunks(mtext, measure))
                exploded = exploded_baselines(lines, attachment, rotation)
                for e, (text, m, _) in zip(got, chunks):
                    up = m.transform_direction(Vec3(0, 1, 0)).normalize()
                    # The editor's text stands on the foot of its descenders.
                    foot = m.transform(Vec3(0, 0, 0)) - up * (depth * HEIGHT)
                    off = math.hypot(e["x"] - foot.x, e["y"] - foot.y) / size
                    worst = max(worst, off)
                    expect(what, text == e["text"] and off <= 0.001,
                           f"{e['text']} at ({e['x']}, {e['y']}), ezdxf ({foot.x:.4f}, "
                           f"{foot.y:.4f}), {off:.5f} of the size")
                    expect(f"{what}: angle", abs(e["angle"] - rotation) < 1e-3, e)
                    # Exploded, ezdxf sets the box of the capitals alone: its baselines are the
                    # same for the top row, half the descenders lower in the middle one, the
                    # whole descenders at the bottom.
                    row = (attachment - 1) // 3
                    base = Vec3(e["x"], e["y"]) + up * (depth * HEIGHT)
                    shifts.setdefault(row, []).append(
                        up.dot(exploded[e["text"]] - base) / HEIGHT)
    for row, above in shifts.items():
        want = (0, -depth / 2, -depth)[row]
        expect(f"exploded, row {row + 1}", all(abs(a - want) < 0.001 for a in above),
               f"baselines {min(above):.4f}…{max(above):.4f} capitals above ours, "
               f"{want:.4f} expected")
    return worst


def check_text_justification(depth):
    """TEXT at each justification but the stretched ones, where ezdxf's layout puts it."""
    worst = 0.0
    names = [f"{v}_{h}" for v in ("TOP", "MIDDLE", "BOTTOM") for h in ("LEFT", "CENTER", "RIGHT")]
    lengths = {}  # from the right-justified one, unturned
    for rotation in (0, 30):
        for name in ["LEFT", "RIGHT", "CENTER", "MIDDLE"] + names:
            doc = new_doc()
            text = doc.modelspace().add_text("Hpg", dxfattribs={"height": HEIGHT,
                                                                "rotation": rotation})
            text.set_placement(INSERT, align=TextEntityAlignment[name])
            run, blocks = imported(doc, name="tekst")
            got = blocks.get("tekst", [])
            expect(f"TEXT {name}: import", run.returncode == 0 and len(got) == 1, run.stderr)
            if len(got) != 1:
                continue
            e = got[0]
            if name == "RIGHT" and rotation == 0:
                lengths["Hpg"] = INSERT[0] - e["x"]
            if not lengths:
                continue
            ((_, m, _),) = simplified_text_chunks(text, StrokeFontMeasure(depth, lengths))
            up = m.transform_direction(Vec3(0, 1, 0)).normalize()
            foot = m.transform(Vec3(0, 0, 0)) - up * (depth * HEIGHT)
            off = math.hypot(e["x"] - foot.x, e["y"] - foot.y) / math.hypot(lengths["Hpg"],
                                                                           HEIGHT)
            worst = max(worst, off)
            expect(f"TEXT {name}, {rotation}°", off <= 0.001,
                   f"at ({e['x']}, {e['y']}), ezdxf ({foot.x:.4f}, {foot.y:.4f})")
    return worst


def exploded_baselines(lines, attachment, rotation):
    doc = mtext_doc(lines, attachment, rotation)
    msp = doc.modelspace()
    with MTextExplode(msp) as explode:
        explode.explode(msp.query("MTEXT")[0])
    return {t.dxf.text: Vec3(t.dxf.insert) for t in msp.query("TEXT")}


def check_other_letters():
    doc = new_doc()
    msp = doc.modelspace()
    msp.add_text("Дата", dxfattribs={"height": 0.6, "insert": (0, 0)})
    msp.add_text("Zawór ⌀20 😀", dxfattribs={"height": 0.6, "insert": (0, 2)})
    msp.add_text("Zażółć gęślą jaźń", dxfattribs={"height": 0.6, "insert": (0, 4)})
    mtext = msp.add_mtext("{\\fArial|b1;Дата}\\PΑθήνα \\Lподпись\\l\\PŁódź Øst Straße",
                          dxfattribs={"char_height": 0.6, "insert": (0, 10)})
    run, blocks = imported(doc, "-v", name="teksty")
    expect("other letters: import", run.returncode == 0, run.stderr)
    texts = [e.get("text") for e in reversed(blocks.get("teksty", []))]
    expect("other letters", texts == ["Data", "Zawór ?20 ?", "Zażółć gęślą jaźń", "Data",
                                      "Athena podpis’", "Łódź Ost Straße"], texts)
    # What ezdxf reads of the MTEXT, line for line, is what came in before the letters changed.
    plain = mtext.plain_text().split("\n")
    listed = [line for line in run.stdout.splitlines() if line.startswith("zmieniony ")]
    expect("ezdxf's plain text", plain == ["Дата", "Αθήνα подпись", "Łódź Øst Straße"], plain)
    expect("each listed", listed == [
        "zmieniony blok teksty: „Дата” → „Data”",
        "zmieniony blok teksty: „Zawór ⌀20 😀” → „Zawór ?20 ?”",
        "zmieniony blok teksty: „Дата” → „Data”",
        "zmieniony blok teksty: „Αθήνα подпись” → „Athena podpis’”",
        "zmieniony blok teksty: „Łódź Øst Straße” → „Łódź Ost Straße”"], listed)
    expect("counted", "literami łacińskimi: 5\n" in run.stderr, run.stderr)
    run, _ = imported(doc, name="teksty")
    expect("counted without -v", "literami łacińskimi: 5 (--verbose je wymienia)" in run.stderr
           and "zmieniony" not in run.stdout, run.stderr + run.stdout)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    common.BLK = sys.argv[1]
    with tempfile.TemporaryDirectory() as out:
        common.OUT = out
        depth = descender()
        worst = check_mtext_attachments(depth)
        worst_text = check_text_justification(depth)
        check_other_letters()
    for p in common.problems:
        print(p)
    print(f"ezdxf {ezdxf.__version__}: descenders {depth:.4f} of the capitals, MTEXT at most "
          f"{worst:.6f} and TEXT {worst_text:.6f} of the drawing's size from ezdxf's layout; "
          f"{len(common.problems)} problems")
    sys.exit(1 if common.problems else 0)


if __name__ == "__main__":
    main()
