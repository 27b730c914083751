#!/usr/bin/env python3
"""blk export checked by a second, independent DXF reader (ezdxf).

Usage: ezdxf_check.py BLK LIBRARY...

Each library is exported whole; the DXF must load, pass ezdxf's audit without errors, hold one
block definition per block with as many entities as blk check finds drawable lines in it, and
show every block once in the model space. Exits 77 (skipped) when ezdxf is not installed.
"""
import os
import subprocess
import sys
import tempfile

try:
    import ezdxf
except ImportError:
    print("ezdxf is not installed: skipped")
    sys.exit(77)


def blk(*args):
    done = subprocess.run(args, capture_output=True, text=True)
    if done.returncode not in (0, 1):
        sys.exit(f"{' '.join(args)} failed: {done.stderr}")
    return done.stdout


def drawable_lines(blk_path, library, name):
    """Lines blk check reads as entities, colour and thickness commands left out."""
    count = 0
    for line in blk(blk_path, "check", library, name).splitlines():
        _, status, text = (line.split(" ", 2) + [""])[:3]
        if status == "ok" and not text.upper().startswith(("K(", "GR(")):
            count += 1
    return count


def check(blk_path, library, out_dir):
    out = os.path.join(out_dir, os.path.basename(library) + ".dxf")
    mapping = {}
    for line in blk(blk_path, "export", library, "-o", out, "--verbose").splitlines():
        if line.startswith("blok ") and " → " in line:
            name, dxf_name = line[len("blok "):].split(" → ", 1)
            mapping[name] = dxf_name
    doc = ezdxf.readfile(out)
    auditor = doc.audit()
    problems = [f"audit: {e.message}" for e in auditor.errors]
    if doc.encoding != "cp1250":
        problems.append(f"encoding {doc.encoding}, not cp1250")
    names = blk(blk_path, "list", library).splitlines()
    if set(names) != set(mapping):
        problems.append(f"blocks {sorted(set(names))} exported as {sorted(mapping)}")
    for name, dxf_name in mapping.items():
        if dxf_name not in doc.blocks:
            problems.append(f"no block definition {dxf_name!r} for {name!r}")
            continue
        got = len(doc.blocks[dxf_name])
        want = drawable_lines(blk_path, library, name)
        if got != want:
            problems.append(f"{name!r}: {got} entities, {want} drawable lines")
    inserted = [e.dxf.name for e in doc.modelspace() if e.dxftype() == "INSERT"]
    if sorted(inserted) != sorted(mapping.values()):
        problems.append(f"model space inserts {sorted(inserted)}")
    for p in problems:
        print(f"{library}: {p}")
    print(f"{library}: {len(mapping)} blocks, audit errors {len(auditor.errors)}, "
          f"fixes {len(auditor.fixes)}")
    return not problems


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    with tempfile.TemporaryDirectory() as out_dir:
        results = [check(sys.argv[1], lib, out_dir) for lib in sys.argv[2:]]
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main()
