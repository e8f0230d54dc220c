"""The DXF files of a .jwc file and a worksheet, in every profile, as
programs that no one here wrote read them (dxf_record writes them, with the
entities it meant (JSON), and reads them with libdxflib):
- ezdxf's audit finds no error, and it reads the recorded entities: kinds,
  layers, line types, colours, coordinates within 1e-6 of the drawing's size;
- LibreCAD prints the lines (the fonts differ), and its page and the
  preview's painting (every line type solid: LibreCAD has dashes of its own)
  have every line within 2 pixels of one of the other.

dxf_readers_test.py --tavo TAVO --record DXF_RECORD --examples DIR --data DIR --out DIR
"""
import argparse
import functools
import json
import operator
import os
import shutil
import subprocess
import sys

import ezdxf

PX_PER_MM = 2  # a JW line type's dot is 0.5 mm: one pixel, as the preview draws it
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def run(*command):
    result = subprocess.run(command, capture_output=True)
    if result.returncode != 0:
        raise SystemExit("%s failed: %s" % (" ".join(command), result.stderr.decode(errors="replace")))


def near(a, b, tolerance):
    return len(a) == len(b) and all(abs(x - y) <= tolerance for x, y in zip(a, b))


# The ezdxf attributes of each kind against the recorded fields, and whether
# they are lengths (within the drawing's tolerance) or exact.
FIELDS = {"CIRCLE": [("radius", "radius", True)],
          "ARC": [("radius", "radius", True), ("start_angle", "start", False), ("end_angle", "end", False)],
          "ELLIPSE": [("ratio", "ratio", False), ("start_param", "start", False), ("end_param", "end", False)],
          "TEXT": [("height", "height", True), ("width", "width", False), ("rotation", "rotation", False)]}


def compare_entity(ours, theirs, tolerance, where):
    kind, dxf, points = ours["kind"], theirs.dxf, ours["points"]
    if not check(theirs.dxftype() == kind, "%s: %s read as %s" % (where, kind, theirs.dxftype())):
        return
    got = [dxf.layer, dxf.linetype, dxf.color, dxf.get("true_color") if ours["truecolor"] >= 0 else -1]
    meant = [bytes.fromhex(ours["layer"]).decode("cp932"), ours["linetype"], ours["aci"], ours["truecolor"]]
    check(got == meant and abs(dxf.get("ltscale", 1) - ours["ltscale"]) < 1e-12, "%s: %s, not %s" % (where, got, meant))
    got = {
        "LINE": lambda: [dxf.start, dxf.end],
        "CIRCLE": lambda: [dxf.center], "ARC": lambda: [dxf.center], "ELLIPSE": lambda: [dxf.center],
        "POINT": lambda: [dxf.location],
        "TEXT": lambda: [dxf.insert] + ([dxf.align_point] if ours["fit"] else []),
        # SOLID's third and fourth corners go crosswise
        "SOLID": lambda: [dxf.vtx0, dxf.vtx1, dxf.vtx3, dxf.vtx2] if len(points) == 4 else [dxf.vtx0, dxf.vtx1, dxf.vtx2],
        "HATCH": lambda: [v[:2] for v in theirs.paths[0].vertices],
        "LWPOLYLINE": lambda: [p[:2] for p in theirs.get_points()],
    }[kind]()
    check(len(got) == len(points) and all(near(tuple(p)[:2], q, tolerance) for p, q in zip(got, points)),
          "%s: points %s, not %s" % (where, [tuple(p)[:2] for p in got], points))
    for attribute, field, length in FIELDS.get(kind, []):
        check(abs(getattr(dxf, attribute) - ours[field]) <= (tolerance if length else 1e-9), "%s: %s" % (where, attribute))
    if kind == "ELLIPSE":
        check(near(tuple(dxf.major_axis)[:2], ours["major"], tolerance), "%s: major axis" % where)
    if kind == "LWPOLYLINE":
        check(theirs.closed == ours["closed"], "%s: closed" % where)
    if kind == "TEXT":
        check(dxf.text == bytes.fromhex(ours["text"]).decode("cp932") and (dxf.halign == 5) == ours["fit"],
              "%s: text %r" % (where, dxf.text))


def check_with_ezdxf(path, recorded):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    check(not auditor.has_errors, "%s: audit: %s" % (path, [str(e) for e in auditor.errors[:5]]))
    theirs, ours = list(doc.modelspace()), recorded["entities"]
    check(len(theirs) == len(ours), "%s: %d entities read, %d written" % (path, len(theirs), len(ours)))
    tolerance = 1e-6 * max([1.0] + [abs(c) for e in ours for p in e["points"] for c in p])
    for i, (o, t) in enumerate(zip(ours, theirs)):
        compare_entity(o, t, tolerance, "%s entity %d" % (os.path.basename(path), i + 1))


def ink_rows(path):
    """One bit mask per row of a PPM: the pixels that are not white."""
    magic, width, height, depth, pixels = open(path, "rb").read().split(maxsplit=4)
    width, height = int(width), int(height)
    rows = []
    for y in range(height):
        row = pixels[y * width * 3:(y + 1) * width * 3]
        rows.append(sum(1 << x for x in range(width) if min(row[3 * x:3 * x + 3]) < 235))
    return width, height, rows


def grown(rows, by):
    """Every pixel within `by` pixels (a square) of one set."""
    wide = [functools.reduce(operator.or_, (r << k | r >> k for k in range(by + 1))) for r in rows]
    return [functools.reduce(operator.or_, wide[max(0, y - by):y + by + 1]) for y in range(len(rows))]


def check_with_librecad(dxf, recorded, preview_ppm, out):
    name = os.path.splitext(os.path.basename(dxf))[0]
    scale = recorded["sheetScale"]
    lines = dxf[:-4] + "-lines.dxf"
    result = subprocess.run(["librecad", "dxf2pdf", "-s", repr(1 / scale), "-f", "0,0,0,0", "-t", out, lines],
                            capture_output=True, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"), timeout=120)
    pdf = lines[:-4] + ".pdf"
    if not check(result.returncode == 0 and os.path.exists(pdf) and b"DONE" in result.stderr + result.stdout,
                 "%s: librecad dxf2pdf: %s" % (lines, result.stderr.decode(errors="replace")[-300:])):
        return
    run("pdftoppm", "-r", repr(PX_PER_MM * 25.4), "-aa", "no", "-aaVector", "no", "-singlefile", pdf, lines[:-4])
    page, preview = ink_rows(lines[:-4] + ".ppm"), ink_rows(preview_ppm)
    # pdftoppm rounds the page's size up.
    check(0 <= page[0] - preview[0] <= 1 and 0 <= page[1] - preview[1] <= 1,
          "%s: page %sx%s, preview %sx%s" % ((name,) + page[:2] + preview[:2]))
    theirs, ours = page[2][:preview[1]], preview[2]
    check(any(ours), name + ": the preview paints nothing")
    for what, a, b in (("LibreCAD's page", theirs, ours), ("the preview", ours, theirs)):
        stray = sum(bin(t & ~o).count("1") for t, o in zip(a, grown(b, 2)))
        check(stray == 0, "%s: %d pixels of %s more than 2 pixels from the other's lines" % (name, stray, what))


def main():
    parser = argparse.ArgumentParser()
    for option in ("--tavo", "--record", "--examples", "--data", "--out"):
        parser.add_argument(option, required=True)
    a = parser.parse_args()
    shutil.rmtree(a.out, ignore_errors=True)
    os.makedirs(a.out)
    os.environ["TAVO_SETTINGS_DIR"] = os.path.join(a.out, "settings")
    jwc = os.path.join(a.out, "entities.jwc")
    run(a.tavo, "build", os.path.join(a.examples, "entities.csv"), "--mm", "--utf8", "-o", jwc)
    for name, kind, path in [("entities", "jwc", jwc), ("cases", "sheet", os.path.join(a.data, "dxf_sheet.csv"))]:
        run(a.record, kind, path, a.out, name, str(PX_PER_MM))
        for profile in ["jw", "2000", "2018"]:
            dxf = os.path.join(a.out, "%s-%s.dxf" % (name, profile))
            recorded = json.load(open(dxf[:-4] + ".json"))
            check_with_ezdxf(dxf, recorded)
            check_with_librecad(dxf, recorded, os.path.join(a.out, name + "-lines.ppm"), a.out)
    for failure in failures:
        print("FAIL:", failure)
    print("dxf readers: %s" % ("%d failures" % len(failures) if failures else "all checks passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
