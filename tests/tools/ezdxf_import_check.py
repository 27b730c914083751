#!/usr/bin/env python3
"""blk import of DXF drawings written by a second, independent writer (ezdxf).

Usage: ezdxf_import_check.py BLK

Each case draws with ezdxf, imports the file with blk import and checks the entity lines the
library then holds (read back with blk show and blk parse). Exits 77 (skipped) when ezdxf is not
installed.
"""
import json
import math
import os
import subprocess
import sys
import tempfile

try:
    import ezdxf
    from ezdxf.math import Vec3
except ImportError:
    print("ezdxf is not installed: skipped")
    sys.exit(77)

BLK = None
OUT = None
problems = []


def blk(*args, stdin=None):
    return subprocess.run([BLK, *args], capture_output=True, text=True, input=stdin)


def imported(doc, *args, name="rysunek"):
    """The doc saved and imported; returns (run, {block: [parsed lines]})."""
    dxf = os.path.join(OUT, name + ".dxf")
    lib = os.path.join(OUT, name + ".blk")
    if os.path.exists(lib):
        os.remove(lib)
    doc.saveas(dxf)
    run = blk("import", dxf, lib, *args)
    blocks = {}
    if run.returncode == 0:
        for block in blk("list", lib).stdout.splitlines():
            lines = blk("show", lib, block).stdout.splitlines()[1:]
            parsed = blk("parse", stdin="\n".join(lines) + "\n").stdout.splitlines()
            blocks[block] = [json.loads(p) for p in parsed]
    return run, blocks


def expect(what, condition, detail=""):
    if not condition:
        problems.append(f"{what}: {detail}")


def near(a, b, tolerance=1e-4):
    return abs(a - b) <= tolerance


def numbers_near(entity, want, tolerance=1e-4):
    return all(near(entity[k], v, tolerance) for k, v in want.items())


def new_doc(version="R2013", units=6):
    doc = ezdxf.new(version, setup=False)
    doc.header["$INSUNITS"] = units
    return doc


def segments_within(what, entities, points, size, share=0.001):
    """Every segment's ends and midpoint lie near the densely sampled curve."""
    worst = 0.0
    for e in entities:
        if e["kind"] != "line":
            problems.append(f"{what}: {e['kind']} among the flattened lines")
            return
        for x, y in ((e["x1"], e["y1"]), (e["x2"], e["y2"]),
                     ((e["x1"] + e["x2"]) / 2, (e["y1"] + e["y2"]) / 2)):
            worst = max(worst, min(math.hypot(x - p.x, y - p.y) for p in points) / size)
    # The sampling itself is a little off the curve, and the lines are written to 4 decimals.
    expect(what, worst <= share * 1.05, f"a point {worst:.5f} of the size off the curve")
    expect(what, len(entities) >= 8, f"only {len(entities)} lines")


def check_kinds():
    doc = new_doc()
    msp = doc.modelspace()
    msp.add_line((0, 0), (1, 2))
    msp.add_circle((1, 1), 0.5)
    msp.add_arc((0, 0), 2, 350, 10)
    msp.add_lwpolyline([(0, 0, 0), (2, 0, 1), (4, 0, 0)], format="xyb")
    msp.add_lwpolyline([(1, 1), (3, 1), (3, 4), (1, 4)], close=True)
    msp.add_polyline2d([(0, 0), (5, 5)])
    run, blocks = imported(doc)
    expect("kinds: import", run.returncode == 0, run.stderr)
    got = blocks.get("rysunek", [])
    # The editor's order is DXF's reversed.
    kinds = [e["kind"] for e in got]
    expect("kinds", kinds == ["line", "rectangle", "arc", "line", "arc", "circle", "line"],
           kinds)
    if len(got) != 7:
        return
    expect("line", numbers_near(got[6], {"x1": 0, "y1": 0, "x2": 1, "y2": 2}), got[6])
    expect("circle", numbers_near(got[5], {"x": 1, "y": 1, "r": 0.5}), got[5])
    expect("arc", numbers_near(got[4], {"x": 0, "y": 0, "r": 2}) and
           near(math.degrees(got[4]["a1"]), 350, 1e-3) and
           near(math.degrees(got[4]["a2"]), 10, 1e-3), got[4])
    expect("polyline segment", numbers_near(got[3], {"x1": 0, "y1": 0, "x2": 2, "y2": 0}), got[3])
    expect("bulge", numbers_near(got[2], {"x": 3, "y": 0, "r": 1}) and
           near(math.degrees(got[2]["a1"]), 180, 1e-3) and near(got[2]["a2"], 0), got[2])
    expect("rectangle", numbers_near(got[1], {"x1": 1, "y1": 1, "x2": 3, "y2": 4}), got[1])
    expect("2-D polyline", numbers_near(got[0], {"x1": 0, "y1": 0, "x2": 5, "y2": 5}), got[0])


def check_curves():
    doc = new_doc()
    msp = doc.modelspace()
    ellipse = msp.add_ellipse((1, 2), major_axis=(3, 1), ratio=0.3, start_param=0.5,
                              end_param=5)
    run, blocks = imported(doc, name="elipsa")
    expect("ellipse: import", run.returncode == 0, run.stderr)
    points = list(ellipse.construction_tool().vertices(
        [0.5 + i * 4.5 / 20000 for i in range(20001)]))
    segments_within("ellipse", blocks.get("elipsa", []), points, math.hypot(3, 1))

    doc = new_doc()
    spline = doc.modelspace().add_open_spline([(0, 0), (1, 3), (4, 3), (5, 0), (8, 1)], degree=3)
    run, blocks = imported(doc, name="krzywa")
    expect("spline: import", run.returncode == 0, run.stderr)
    points = list(spline.construction_tool().approximate(20000))
    size = math.hypot(8, 3)
    segments_within("spline", blocks.get("krzywa", []), points, size)

    doc = new_doc()
    doc.modelspace().add_ellipse((0, 0), major_axis=(0, 2), ratio=1)
    run, blocks = imported(doc, name="okrag")
    got = blocks.get("okrag", [])
    expect("circular ellipse", len(got) == 1 and got[0]["kind"] == "circle" and
           numbers_near(got[0], {"x": 0, "y": 0, "r": 2}), got)


def check_texts():
    doc = new_doc()
    msp = doc.modelspace()
    msp.add_text("Zażółć gęślą jaźń", dxfattribs={"height": 0.6, "insert": (1, 2)})
    msp.add_text("Obrócony", dxfattribs={"height": 1.2, "width": 0.8, "rotation": 30,
                                          "insert": (0, 0)})
    mirrored = msp.add_text("Lustro", dxfattribs={"height": 0.6, "insert": (0, 0)})
    mirrored.dxf.text_generation_flag = 2 | 4
    msp.add_text("%%c20 90%%d", dxfattribs={"height": 0.6})
    msp.add_mtext("{\\fArial|b1;Pierwsza} \\C1;linia\\PDruga \\S1^2;\\Pźdźbło",
                  dxfattribs={"char_height": 0.6, "insert": (0, 10)})
    run, blocks = imported(doc, name="teksty")
    expect("texts: import", run.returncode == 0, run.stderr)
    got = list(reversed(blocks.get("teksty", [])))
    texts = [e.get("text") for e in got]
    expect("texts", texts == ["Zażółć gęślą jaźń", "Obrócony", "Lustro", "fi20 90°",
                              "Pierwsza linia", "Druga 1/2", "źdźbło"], texts)
    if len(got) != 7:
        return
    h = got[0]["h"]
    expect("text size", h > 0 and near(got[0]["w"], h) and near(got[1]["h"], 2 * h) and
           near(got[1]["w"], 1.6 * h), got[:2])
    expect("text angle", near(got[1]["angle"], 30) and near(got[0]["angle"], 0), got[:2])
    expect("mirror flags", got[2]["h"] < 0 and got[2]["w"] < 0, got[2])
    expect("mtext lines go down", got[4]["y"] > got[5]["y"] > got[6]["y"] and
           near(got[4]["x"], 0) and near(got[5]["x"], 0), got[4:])
    # The same text the same height, the baseline one line spacing (5/3 of it) lower.
    expect("mtext spacing", near(got[4]["y"] - got[5]["y"], 1.0, 1e-3), got[4:6])


def check_inserts():
    doc = new_doc()
    valve = doc.blocks.new("Zawór", base_point=(1, 0))
    valve.add_circle((1, 0), 1)
    valve.add_line((1, 0), (2, 0))
    outer = doc.blocks.new("Zewnętrzny")
    outer.add_blockref("Zawór", (0, 5))
    msp = doc.modelspace()
    msp.add_blockref("Zawór", (10, 5), dxfattribs={"xscale": 2, "yscale": 2, "rotation": 90})
    msp.add_blockref("Zewnętrzny", (0, 0), dxfattribs={"rotation": 180})
    msp.add_blockref("Zawór", (0, 0), dxfattribs={"xscale": 3, "yscale": 1})
    msp.add_blockref("Zawór", (0, 0), dxfattribs={"column_count": 2, "row_count": 3,
                                                   "column_spacing": 10, "row_spacing": 20})
    run, blocks = imported(doc, name="wstawienia")
    expect("inserts: import", run.returncode == 0, run.stderr)
    got = list(reversed(blocks.get("wstawienia", [])))
    circles = [e for e in got if e["kind"] == "circle"]
    expect("turned and scaled",
           numbers_near(circles[0], {"x": 10, "y": 5, "r": 2}) if circles else False, circles)
    expect("turned line", numbers_near(got[1], {"x1": 10, "y1": 5, "x2": 10, "y2": 7}), got[1])
    expect("nested", numbers_near(circles[1], {"x": 0, "y": -5, "r": 1})
           if len(circles) > 1 else False, circles)
    # The stretched circle is an ellipse of lines, 3 by 1.
    stretched = got[4:-12]
    points = [Vec3(3 * math.cos(t), math.sin(t)) for t in
              (i * 2 * math.pi / 20000 for i in range(20000))]
    segments_within("stretched circle", stretched[:-1], points, 3)
    array = [(round(e["x"], 4), round(e["y"], 4)) for e in got[-12:] if e["kind"] == "circle"]
    expect("columns and rows", sorted(array) == sorted(
        (10.0 * c, 20.0 * r) for c in range(2) for r in range(3)), array)

    doc = new_doc()
    loop = doc.blocks.new("Pętla")
    loop.add_line((0, 0), (1, 1))
    loop.add_blockref("Pętla", (1, 1))
    doc.modelspace().add_blockref("Pętla", (0, 0))
    run, blocks = imported(doc, name="petla")
    expect("self insert refused", run.returncode == 2 and "wstawia sam siebie" in run.stderr,
           run.stderr)
    expect("self insert writes nothing", not os.path.exists(os.path.join(OUT, "petla.blk")))


def check_colours_and_units():
    doc = new_doc()
    doc.layers.add("Niebieska", color=5)
    doc.layers.get("Niebieska").dxf.lineweight = 50
    msp = doc.modelspace()
    msp.add_line((0, 0), (1, 0), dxfattribs={"color": 1, "lineweight": 35})
    msp.add_line((0, 0), (1, 0), dxfattribs={"true_color": ezdxf.rgb2int((18, 52, 86))})
    msp.add_line((0, 0), (1, 0), dxfattribs={"color": 7})
    msp.add_line((0, 0), (1, 0), dxfattribs={"layer": "Niebieska"})
    block = doc.blocks.new("ByBlock")
    block.add_line((0, 0), (1, 0), dxfattribs={"color": 0, "lineweight": -2})
    msp.add_blockref("ByBlock", (0, 0), dxfattribs={"color": 3, "lineweight": 70})
    run, blocks = imported(doc, name="kolory")
    expect("colours: import", run.returncode == 0, run.stderr)
    got = list(reversed(blocks.get("kolory", [])))
    tails = [(e["colour"], e["thickness"]) for e in got]
    expect("colours", tails == [([255, 0, 0], 0.35), ([18, 52, 86], 0.1), ([0, 0, 0], 0.1),
                                ([0, 0, 255], 0.5), ([0, 255, 0], 0.7)], tails)

    for units, unit, scale in ((1, "cm", 2.54), (4, "mm", 1), (2, "m", 0.3048)):
        doc = new_doc(units=units)
        doc.modelspace().add_line((0, 0), (1, 0))
        run, blocks = imported(doc, name="jednostki")
        shown = blk("show", os.path.join(OUT, "jednostki.blk"), "jednostki").stdout
        got = blocks.get("jednostki", [{}])
        expect(f"unit {units}", shown.startswith(f"unit: {unit}\n") and
               near(got[0].get("x2", 0), scale), shown)

    doc = new_doc(units=0)
    doc.modelspace().add_line((0, 0), (1, 0))
    run, _ = imported(doc, name="bez")
    expect("unitless", run.returncode == 0 and "przyjęto m" in run.stderr, run.stderr)


def check_polish_code_page():
    doc = new_doc("R2000")
    doc.header["$DWGCODEPAGE"] = "ANSI_1250"
    block = doc.blocks.new("Żółw")
    block.add_text("Łódź", dxfattribs={"height": 0.6})
    block.add_circle((0, 0), 1)
    doc.blocks.new("Pusty")
    doc.modelspace().add_blockref("Żółw", (0, 0))
    run, blocks = imported(doc, "--blocks", name="polskie")
    expect("code page 1250: import", run.returncode == 0, run.stderr)
    expect("block names", list(blocks) == ["Żółw"], list(blocks))
    texts = [e.get("text") for e in blocks.get("Żółw", [])]
    expect("Polish text", "Łódź" in texts, texts)


def main():
    global BLK, OUT
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    BLK = sys.argv[1]
    with tempfile.TemporaryDirectory() as out:
        OUT = out
        for check in (check_kinds, check_curves, check_texts, check_inserts,
                      check_colours_and_units, check_polish_code_page):
            check()
    for p in problems:
        print(p)
    print(f"ezdxf {ezdxf.__version__}: {len(problems)} problems")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
