#!/usr/bin/env python3
"""blk import of hatches and points drawn by a second, independent writer (ezdxf).

Usage: ezdxf_hatch_check.py BLK

Each case draws a hatch with ezdxf and imports it with blk import twice: with an empty pattern
(its boundary alone), compared with ezdxf's own flattening of the boundary; and solid (or with
its pattern), whose further lines must lie inside the boundary, at the pen width apart, and
cover it. Exits 77 (skipped) when ezdxf is not installed.
"""
import json
import math
import os
import sys
import tempfile

# The helpers of the import check: running blk on a drawing ezdxf writes, and the problems found.
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import ezdxf_import_check as common  # noqa: E402 (exits 77 itself when ezdxf is missing)
from ezdxf_import_check import (expect, imported, near, new_doc, numbers_near,  # noqa: E402
                                problems)

import ezdxf  # noqa: E402
from ezdxf import path as ezpath  # noqa: E402


# How far apart a solid fill's lines lie in a hatch of no line weight: its thickness 0.10 is
# drawn a tenth of that wide, in the drawing's units, and the lines lie half of that apart.
PEN = 0.005


def reference(hatch, size):
    """ezdxf's flattening of the hatch's boundary paths, as closed lists of (x, y)."""
    loops = []
    for p in ezpath.from_hatch(hatch):
        points = [(v.x, v.y) for v in p.flattening(size * 1e-5)]
        loops.append(points)
    return loops


def samples(e, steps=16):
    """Points along an imported entity."""
    if e["kind"] == "line":
        return [(e["x1"] + (e["x2"] - e["x1"]) * i / steps,
                 e["y1"] + (e["y2"] - e["y1"]) * i / steps) for i in range(steps + 1)]
    if e["kind"] == "rectangle":
        x1, y1, x2, y2 = e["x1"], e["y1"], e["x2"], e["y2"]
        corners = [(x1, y1), (x2, y1), (x2, y2), (x1, y2), (x1, y1)]
        out = []
        for (ax, ay), (bx, by) in zip(corners, corners[1:]):
            out += [(ax + (bx - ax) * i / steps, ay + (by - ay) * i / steps) for i in range(steps)]
        return out
    if e["kind"] in ("arc", "circle"):
        a1, a2 = (e["a1"], e["a2"]) if e["kind"] == "arc" else (0.0, 2 * math.pi)
        while a2 <= a1:
            a2 += 2 * math.pi
        return [(e["x"] + e["r"] * math.cos(a1 + (a2 - a1) * i / steps),
                 e["y"] + e["r"] * math.sin(a1 + (a2 - a1) * i / steps)) for i in range(steps + 1)]
    problems.append(f"unexpected {e['kind']}")
    return []


def distance_to_loops(x, y, loops):
    best = math.inf
    for loop in loops:
        for (ax, ay), (bx, by) in zip(loop, loop[1:] + loop[:1]):
            dx, dy = bx - ax, by - ay
            length = dx * dx + dy * dy
            t = 0 if length == 0 else max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / length))
            best = min(best, math.hypot(x - ax - t * dx, y - ay - t * dy))
    return best


def inside(x, y, loops):
    """The even-odd rule."""
    crossings = 0
    for loop in loops:
        for (ax, ay), (bx, by) in zip(loop, loop[1:] + loop[:1]):
            if (ay <= y) != (by <= y) and x < ax + (y - ay) / (by - ay) * (bx - ax):
                crossings += 1
    return crossings % 2 == 1


def intervals_at(y, loops):
    """Where the level line at y is inside the loops."""
    xs = []
    for loop in loops:
        for (ax, ay), (bx, by) in zip(loop, loop[1:] + loop[:1]):
            if (ay <= y) != (by <= y):
                xs.append(ax + (y - ay) / (by - ay) * (bx - ax))
    xs.sort()
    return list(zip(xs[0::2], xs[1::2]))


def key(e):
    return json.dumps({k: round(v, 4) if isinstance(v, float) else v for k, v in e.items()},
                      sort_keys=True)


def hatch_doc(draw, fill):
    doc = new_doc(units=4)  # millimetres
    hatch = doc.modelspace().add_hatch()
    draw(hatch)
    if fill == "solid":
        hatch.set_solid_fill()
    elif fill == "none":
        hatch.set_pattern_fill("BRAK", definition=[[0, (0, 0), (0, 1), []]])
        hatch.pattern.lines = []
    else:
        hatch.set_pattern_fill(fill, scale=0.2)
    return doc, hatch


def check_hatch(what, draw, size, fill="solid"):
    """size: the diagonal of the drawing's extents (of a spline's control points). Boundary
    against ezdxf's; fill lines inside it, apart as they should be, covering it."""
    doc, hatch = hatch_doc(draw, "none")
    run, blocks = imported(doc, name="obrys")
    expect(f"{what}: boundary import", run.returncode == 0, run.stderr)
    boundary = blocks.get("obrys", [])
    loops = reference(hatch, size)
    tolerance = 0.001 * size
    worst = 0.0
    for e in boundary:
        for x, y in samples(e):
            worst = max(worst, distance_to_loops(x, y, loops))
    expect(f"{what}: boundary on ezdxf's", worst <= tolerance, f"{worst:.5f} off")
    drawn = [p for e in boundary for p in samples(e, 64)]
    worst = 0.0
    for loop in loops:
        for x, y in loop:
            worst = max(worst, min(math.hypot(x - px, y - py) for px, py in drawn))
    expect(f"{what}: ezdxf's boundary drawn", worst <= tolerance + size / 64, f"{worst:.5f} off")

    doc, hatch = hatch_doc(draw, fill)
    run, blocks = imported(doc, name="wypelnienie")
    expect(f"{what}: fill import", run.returncode == 0, run.stderr)
    got = blocks.get("wypelnienie", [])
    left = {}
    for e in boundary:
        left[key(e)] = left.get(key(e), 0) + 1
    fill_lines = []
    for e in got:
        if left.get(key(e), 0) > 0:
            left[key(e)] -= 1
        else:
            fill_lines.append(e)
    expect(f"{what}: the boundary kept", not any(left.values()), left)
    expect(f"{what}: fill lines", len(fill_lines) > 0 and
           all(e["kind"] == "line" for e in fill_lines), len(fill_lines))
    for e in fill_lines:
        for x, y in samples(e, 4)[1:-1]:
            if not inside(x, y, loops) and distance_to_loops(x, y, loops) > tolerance:
                problems.append(f"{what}: fill at ({x:.4f}, {y:.4f}) outside the boundary")
                return
    if fill == "solid":
        check_solid(what, fill_lines, loops, size)
    else:
        check_pattern(what, fill_lines, hatch, size)


def check_solid(what, fill_lines, loops, size):
    rows = {}
    for e in fill_lines:
        expect(f"{what}: level fill", near(e["y1"], e["y2"]), e)
        rows.setdefault(round(e["y1"] / PEN), []).append(e)
    ys = sorted(rows)
    expect(f"{what}: lines at the pen width", ys == list(range(ys[0], ys[-1] + 1)),
           f"rows {ys[:5]}…")
    bottom = min(y for loop in loops for _, y in loop)
    top = max(y for loop in loops for _, y in loop)
    tolerance = 0.001 * size
    expect(f"{what}: covered from the bottom", ys[0] * PEN - bottom <= PEN + tolerance,
           ys[0] * PEN - bottom)
    expect(f"{what}: covered to the top", top - ys[-1] * PEN <= PEN + tolerance,
           top - ys[-1] * PEN)
    # Uncovered pieces wider than the spacing are gaps, unless they hug the boundary where the
    # flattened curve cuts a little inside ezdxf's.
    gaps = 0
    for row in range(ys[0], ys[-1] + 1):
        y = row * PEN
        spans = sorted((min(e["x1"], e["x2"]), max(e["x1"], e["x2"])) for e in rows.get(row, []))
        for a, b in intervals_at(y, loops):
            at = a
            for s1, s2 in spans + [(b, b)]:
                if s2 < a or s1 > b:
                    continue
                s1 = min(max(s1, a), b)
                if s1 - at > PEN and distance_to_loops((at + s1) / 2, y, loops) > 0.001 * size:
                    gaps += 1
                at = max(at, s2)
    expect(f"{what}: the area covered", gaps == 0, f"{gaps} gaps")


def check_pattern(what, fill_lines, hatch, size):
    line = hatch.pattern.lines[0]
    angle = math.radians(line.angle)
    d = (math.cos(angle), math.sin(angle))
    n = (-d[1], d[0])
    signed = line.offset[0] * n[0] + line.offset[1] * n[1]
    spacing = abs(signed)
    shift = (line.offset[0] * d[0] + line.offset[1] * d[1]) * (1 if signed > 0 else -1)
    dashes = list(line.dash_length_items)
    period = sum(abs(x) for x in dashes)
    for e in fill_lines:
        dx, dy = e["x2"] - e["x1"], e["y2"] - e["y1"]
        length = math.hypot(dx, dy)
        cross = abs(dx * d[1] - dy * d[0]) / length
        across = ((e["x1"] - line.base_point[0]) * n[0] + (e["y1"] - line.base_point[1]) * n[1])
        if cross > 1e-3 or abs(across / spacing - round(across / spacing)) > 1e-3:
            problems.append(f"{what}: a line off the pattern: {e}")
            return
        if dashes:
            # The middle of each piece within the drawn dash (the first, in these patterns),
            # counted along its line from where the line's own dashes start.
            mx, my = (e["x1"] + e["x2"]) / 2, (e["y1"] + e["y2"]) / 2
            w = ((mx - line.base_point[0]) * d[0] + (my - line.base_point[1]) * d[1] -
                 round(across / spacing) * shift) % period
            if length > dashes[0] + 1e-3 or not 0 < w < dashes[0]:
                problems.append(f"{what}: a dash off the pattern: {e} at {w:.4f}")
                return
    expect(f"{what}: pattern lines", len(fill_lines) >= size / spacing, len(fill_lines))


def square(hatch, x=0, y=0, side=10):
    hatch.paths.add_polyline_path([(x, y), (x + side, y), (x + side, y + side), (x, y + side)],
                                  is_closed=True)


def check_hatches():
    check_hatch("square", square, math.hypot(10, 10))
    check_hatch("square with an island", lambda h: (square(h), square(h, 3, 3, 4)),
                math.hypot(10, 10))
    check_hatch("bulged polyline", lambda h: h.paths.add_polyline_path(
        [(0, 0, 0), (10, 0, 1), (10, 10, 0), (0, 10, 0)], is_closed=True), math.hypot(15, 10))

    def lines_and_arcs(h):
        e = h.paths.add_edge_path()
        e.add_line((0, 0), (10, 0))
        e.add_arc((10, 5), 5, -90, 90, ccw=True)
        e.add_line((10, 10), (0, 10))
        e.add_arc((0, 5), 5, 90, 270, ccw=False)
    check_hatch("lines and arcs", lines_and_arcs, math.hypot(20, 10))

    def ellipse(h):
        h.paths.add_edge_path().add_ellipse((5, 5), major_axis=(5, 2), ratio=0.5)
    check_hatch("ellipse", ellipse, 11)

    def spline(h):
        h.paths.add_edge_path().add_spline(
            control_points=[(0, 0), (10, 0), (10, 10), (0, 10), (0, 0)],
            knot_values=[0, 0, 0, 0, 1, 2, 2, 2, 2], degree=3)
    check_hatch("spline", spline, math.hypot(10, 10))
    check_hatch("pattern ANSI31", square, math.hypot(10, 10), fill="ANSI31")
    check_hatch("pattern DASH", square, math.hypot(10, 10), fill="DASH")


def check_points():
    doc = new_doc(units=4)  # millimetres
    msp = doc.modelspace()
    where = [(0, 0), (400, 0), (400, 200), (125, 70)]
    for p in where:
        msp.add_point(p)
    run, blocks = imported(doc, name="punkty")
    expect("points: import", run.returncode == 0, run.stderr)
    got = blocks.get("punkty", [])
    expect("points: circles", [e["kind"] for e in got] == ["circle"] * len(where), got)
    if len(got) != len(where):
        return
    for e, (x, y) in zip(reversed(got), where):
        expect("point", numbers_near(e, {"x": x, "y": y}), e)
    # A hundredth of the extent, 400 across.
    expect("points: radius", all(near(e["r"], 4) for e in got), [e["r"] for e in got])
    expect("points: note", "punkty DXF: 4, narysowane jako okręgi o promieniu 4" in run.stderr,
           run.stderr)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    common.BLK = sys.argv[1]
    with tempfile.TemporaryDirectory() as out:
        common.OUT = out
        for check in (check_hatches, check_points):
            check()
    for p in problems:
        print(p)
    print(f"ezdxf {ezdxf.__version__}: {len(problems)} problems")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
