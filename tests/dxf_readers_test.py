"""The DXF files as two programs that no one here wrote read them.

- ezdxf loads every file of every profile, its audit finds no error, and its
  entities are the ones the writer meant (dxf_record's JSON): kinds, counts,
  layers, line types, colours, coordinates within 1e-6 of the drawing's size,
  texts equal after decoding;
- the jw profile keeps JW_CAD's rules, on the file's own tags;
- a .jwc file's records come back through DXF and ezdxf within the float
  precision of the .jwc;
- LibreCAD prints every file; LibreCAD's page (pdftoppm) of the drawing's
  lines (no texts: the fonts differ) has every line within 2 pixels of the
  preview's painting of them (every line type solid: LibreCAD dashes by
  names with patterns of its own), and every entity the writer meant shows
  there. The pictures of the whole drawing stay in --out: NAME-preview.png
  (tavo render) and NAME-PROFILE-librecad.png.

dxf_readers_test.py --tavo TAVO --record DXF_RECORD --examples DIR --data DIR --out DIR
"""
import argparse
import functools
import json
import math
import operator
import os
import re
import shutil
import subprocess
import sys

import ezdxf

PX_PER_MM = 2  # a JW line type's dot is 0.5 mm: one pixel, as the preview draws it
PROFILES = ["jw", "2000", "2018"]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def run(*command, env=None):
    result = subprocess.run(command, capture_output=True, env=env)
    if result.returncode != 0:
        raise SystemExit("%s failed: %s" % (" ".join(command), result.stderr.decode(errors="replace")))
    return result.stdout


# --- ezdxf against the writer's own account -------------------------------

def near(a, b, tolerance):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def compare_entity(ours, theirs, tolerance, where):
    kind = ours["kind"]
    check(theirs.dxftype() == kind, "%s: %s read as %s" % (where, kind, theirs.dxftype()))
    if theirs.dxftype() != kind:
        return
    dxf = theirs.dxf
    check(dxf.layer == bytes.fromhex(ours["layer"]).decode("cp932"), "%s: layer %s" % (where, dxf.layer))
    check(dxf.linetype == ours["linetype"], "%s: line type %s" % (where, dxf.linetype))
    check(dxf.color == ours["aci"], "%s: colour %s, not %s" % (where, dxf.color, ours["aci"]))
    if ours["truecolor"] >= 0:
        check(dxf.get("true_color") == ours["truecolor"], "%s: true colour %s" % (where, dxf.get("true_color")))
    check(abs(dxf.get("ltscale", 1) - ours["ltscale"]) < 1e-12, "%s: line type scale" % where)
    points = ours["points"]
    got = {
        "LINE": lambda: [dxf.start, dxf.end],
        "CIRCLE": lambda: [dxf.center], "ARC": lambda: [dxf.center], "ELLIPSE": lambda: [dxf.center],
        "POINT": lambda: [dxf.location],
        "TEXT": lambda: [dxf.insert] + ([dxf.align_point] if ours["fit"] else []),
        # SOLID's third and fourth corners go crosswise
        "SOLID": lambda: [dxf.vtx0, dxf.vtx1, dxf.vtx3, dxf.vtx2][:len(points)] if len(points) == 4
        else [dxf.vtx0, dxf.vtx1, dxf.vtx2],
        "HATCH": lambda: [v[:2] for v in theirs.paths[0].vertices],
        "LWPOLYLINE": lambda: [p[:2] for p in theirs.get_points()],
    }[kind]()
    check(len(got) == len(points) and all(near(p, q, tolerance) for p, q in zip(points, got)),
          "%s: points %s, not %s" % (where, [tuple(p)[:2] for p in got], points))
    if kind in ("CIRCLE", "ARC"):
        check(abs(dxf.radius - ours["radius"]) <= tolerance, "%s: radius" % where)
    if kind == "ARC":
        check(abs(dxf.start_angle - ours["start"]) < 1e-9 and abs(dxf.end_angle - ours["end"]) < 1e-9,
              "%s: angles" % where)
    if kind == "ELLIPSE":
        check(near(dxf.major_axis, ours["major"], tolerance) and abs(dxf.ratio - ours["ratio"]) < 1e-12
              and abs(dxf.start_param - ours["start"]) < 1e-12 and abs(dxf.end_param - ours["end"]) < 1e-12,
              "%s: ellipse" % where)
    if kind == "LWPOLYLINE":
        check(theirs.closed == ours["closed"], "%s: closed" % where)
    if kind == "TEXT":
        check(dxf.text == bytes.fromhex(ours["text"]).decode("cp932"), "%s: text %r" % (where, dxf.text))
        check(abs(dxf.height - ours["height"]) <= tolerance and abs(dxf.width - ours["width"]) < 1e-12
              and abs(dxf.rotation - ours["rotation"]) < 1e-9, "%s: text size or rotation" % where)
        check((dxf.halign == 5) == ours["fit"], "%s: fitted" % where)


def check_with_ezdxf(path, recorded):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    check(not auditor.has_errors, "%s: audit: %s" % (path, [str(e) for e in auditor.errors[:5]]))
    theirs = list(doc.modelspace())
    ours = recorded["entities"]
    check(len(theirs) == len(ours), "%s: %d entities read, %d written" % (path, len(theirs), len(ours)))
    xs = [c for e in ours for p in e["points"] for c in p] or [1]
    tolerance = 1e-6 * max(1.0, max(abs(c) for c in xs))
    for i, (o, t) in enumerate(zip(ours, theirs)):
        compare_entity(o, t, tolerance, "%s entity %d" % (os.path.basename(path), i + 1))
    return doc


# --- JW_CAD's rules, on the file's own tags ---------------------------------

JW_NAME = re.compile(rb"^[A-Z0-9$_-]+$")


def tags_of(path):
    lines = open(path, "rb").read().split(b"\r\n")
    return [(int(lines[i]), lines[i + 1]) for i in range(0, len(lines) - 1, 2)]


def check_jw_rules(path, texts_expected):
    where = os.path.basename(path)
    tags = tags_of(path)
    check(tags[-1] == (0, b"EOF"), where + ": no EOF")
    sections = [tags[i + 1][1] for i, t in enumerate(tags) if t == (0, b"SECTION")]
    check(sections == [b"HEADER", b"TABLES", b"ENTITIES"], "%s: sections %s" % (where, sections))
    tables = [tags[i + 1][1] for i, t in enumerate(tags) if t == (0, b"TABLE")]
    check(tables == [b"LTYPE", b"LAYER", b"STYLE"], "%s: tables %s" % (where, tables))
    check(not any(code in (5, 105, 330, 100) for code, _ in tags), where + ": handles or subclass markers")
    header = dict((tags[i][1], tags[i + 1][1]) for i, t in enumerate(tags) if t[0] == 9)
    check(header.get(b"$ACADVER") == b"AC1009" and header.get(b"$DWGCODEPAGE") == b"ANSI_932",
          "%s: header %s" % (where, header))
    start = tags.index((2, b"ENTITIES"))
    kinds = {v for c, v in tags[start + 1:] if c == 0} - {b"ENDSEC", b"EOF"}
    check(kinds <= {b"LINE", b"CIRCLE", b"ARC", b"TEXT", b"POINT", b"SOLID"}, "%s: kinds %s" % (where, kinds))
    names = {v for c, v in tags if c in (2, 6, 7, 8)} - {b"HEADER", b"TABLES", b"ENTITIES", b"LTYPE", b"LAYER",
                                                          b"STYLE"}
    check(all(JW_NAME.match(n) for n in names), "%s: names %s" % (where, sorted(names)))
    check({b"CONTINUOUS", b"STANDARD"} <= names, "%s: CONTINUOUS and STANDARD" % where)
    texts = {v for c, v in tags[start:] if c == 1}
    for text in texts_expected:
        check(text.encode("cp932") in texts, "%s: the Shift-JIS bytes of %s" % (where, text))


# --- the bundled form: what makes it a form ------------------------------------

def check_form(doc, profile):
    """Its double borders, vertical text, superscripts and fills."""
    where = "form-" + profile
    msp = doc.modelspace()
    texts = list(msp.query("TEXT"))
    lines = [(l.dxf.start, l.dxf.end) for l in msp.query("LINE") if abs(l.dxf.start.y - l.dxf.end.y) < 1e-6]
    check(any(abs(a[0].x - b[0].x) < 1e-6 and abs(a[1].x - b[1].x) < 1e-6 and 0 < abs(a[0].y - b[0].y) < 100
              for a in lines for b in lines), where + ": no double border")
    column = [t for t in texts if t.dxf.text in "消費税別途"]
    check(len(column) == 5 and len({round(t.dxf.insert.x, 6) for t in column}) == 1
          and [t.dxf.insert.y for t in column] == sorted((t.dxf.insert.y for t in column), reverse=True)
          and all(t.dxf.rotation == 0 for t in column), where + ": the vertical text, one character under another")
    check(len(msp.query("SOLID" if profile == "jw" else "HATCH")) > 0, where + ": no fill")
    if profile == "jw":
        check(any(t.dxf.text == "m^u2" for t in texts), where + ": the superscript as JW_CAD writes it")
        return
    raised = [(m, t) for m, t in zip(texts, texts[1:]) if m.dxf.text == "m" and t.dxf.text == "2"]
    check(raised and all(abs(t.dxf.height - m.dxf.height / 2) < 1e-9 and t.dxf.insert.y > m.dxf.insert.y
                         for m, t in raised), where + ": the superscript, small and raised")


# --- a .jwc file back through DXF ---------------------------------------------

def on_curve(e, point, tolerance):
    """Whether the point lies on the circle, arc or ellipse ezdxf read, within its ends."""
    c = e.dxf.center
    v = (point[0] - c.x, point[1] - c.y)
    if e.dxftype() == "ELLIPSE":
        m, r = e.dxf.major_axis, e.dxf.ratio
        n = (-m.y * r, m.x * r)
        phi = math.atan2((v[0] * n[0] + v[1] * n[1]) / (n[0] ** 2 + n[1] ** 2), (v[0] * m.x + v[1] * m.y) / m.magnitude ** 2)
        back = (c.x + m.x * math.cos(phi) + n[0] * math.sin(phi), c.y + m.y * math.cos(phi) + n[1] * math.sin(phi))
        start, end = e.dxf.start_param, e.dxf.end_param
    else:
        phi = math.atan2(v[1], v[0])
        back = (c.x + e.dxf.radius * math.cos(phi), c.y + e.dxf.radius * math.sin(phi))
        start, end = (0, 0) if e.dxftype() == "CIRCLE" else map(math.radians, (e.dxf.start_angle, e.dxf.end_angle))
    sweep = (end - start) % (2 * math.pi) or 2 * math.pi
    return math.dist(back, point) <= tolerance and (phi - start + 1e-6) % (2 * math.pi) <= sweep + 2e-6


def check_round_trip(tavo, jwc, dxf):
    """The .jwc's records in real-world millimetres against what ezdxf reads."""
    info = json.loads(run(tavo, "info", jwc, "--json"))[0]
    f = info["layout"]["unit_divisor_mm"] * info["scale"]
    dump = [row.split(",") for row in run(tavo, "dump", jwc, "--encoding", "utf8").decode().splitlines()
            if row and not row.startswith("#")]
    doc = ezdxf.readfile(dxf)
    by_kind = {}
    for e in doc.modelspace():
        by_kind.setdefault(e.dxftype(), []).append(e)
    size = 518 * f
    tolerance = 1e-6 * size
    sen = [[float(v) * f for v in r[1:5]] for r in dump if r[0] == "Sen"]
    lines = by_kind.get("LINE", [])
    check(len(sen) == len(lines) and all(
        near(s, [l.dxf.start.x, l.dxf.start.y, l.dxf.end.x, l.dxf.end.y], tolerance) for s, l in zip(sen, lines)),
        "round trip: lines")
    curves = [e for e in doc.modelspace() if e.dxftype() in ("CIRCLE", "ARC", "ELLIPSE")]
    enko = [r for r in dump if r[0] == "Enko"]
    check(len(enko) == len(curves), "round trip: %d arcs, %d curves" % (len(enko), len(curves)))
    for r, e in zip(enko, curves):
        x, y, radius = (float(v) * f for v in r[1:4])
        flatness = int(r[4]) / 10000
        start, end, tilt = (int(v) / 65536 for v in r[5:8])
        end += 360 if end <= start else 0
        c, s = math.cos(math.radians(tilt)), math.sin(math.radians(tilt))
        for k in range(5):
            t = math.radians(start + (end - start) * k / 4)
            u, v = radius * math.cos(t), radius * flatness * math.sin(t)
            check(on_curve(e, (x + u * c - v * s, y + u * s + v * c), tolerance), "round trip: %s as %s" % (r, e))
    ten = [[float(v) * f for v in r[1:3]] for r in dump if r[0] == "Ten"]
    points = by_kind.get("POINT", [])
    check(len(ten) == len(points) and all(near(t, p.dxf.location, tolerance) for t, p in zip(ten, points)),
          "round trip: points")
    texts = {e.dxf.text: e for e in by_kind.get("TEXT", [])}
    plain = [r for r in dump if r[0] == "Moji" and int(r[7]) & 32 == 0 and "^" not in r[8] and "・" not in r[8]]
    check(len(plain) > 3, "round trip: plain texts")
    for r in plain:
        e = texts.get(r[8])
        if not check(e is not None, "round trip: text %s" % r[8]):
            continue
        x1, y1, x2, y2 = (float(v) * f for v in r[1:5])
        check(near((x1, y1), e.dxf.insert, tolerance), "round trip: text %s at %s" % (r[8], e.dxf.insert))
        direction = math.degrees(math.atan2(y2 - y1, x2 - x1)) % 360
        check(abs((e.dxf.rotation - direction + 180) % 360 - 180) < 1e-4, "round trip: text %s turned" % r[8])


# --- LibreCAD's page against the preview ---------------------------------------

def read_ppm(path):
    data = open(path, "rb").read()
    magic, width, height, depth, pixels = data.split(maxsplit=4)
    assert magic == b"P6" and depth == b"255"
    return int(width), int(height), pixels


def ink_rows(picture):
    """One bit mask per row: the pixels that are not white."""
    width, height, pixels = picture
    rows = []
    for y in range(height):
        row = pixels[y * width * 3:(y + 1) * width * 3]
        mask = 0
        for x in range(width):
            if min(row[3 * x], row[3 * x + 1], row[3 * x + 2]) < 235:
                mask |= 1 << x
        rows.append(mask)
    return rows


def grown(rows, by):
    """Every pixel within `by` pixels (a square) of one set."""
    wide = []
    for r in rows:
        m = r
        for k in range(1, by + 1):
            m |= r << k | r >> k
        wide.append(m)
    return [functools.reduce(operator.or_, wide[max(0, y - by):y + by + 1]) for y in range(len(rows))]


def samples(e):
    """Points along what an entity draws."""
    p = e["points"]
    kind = e["kind"]
    if kind in ("LINE", "LWPOLYLINE", "SOLID", "HATCH"):
        path = p + ([p[0]] if kind != "LINE" and (kind != "LWPOLYLINE" or e["closed"]) else [])
        return [(a[0] + (b[0] - a[0]) * k / 20, a[1] + (b[1] - a[1]) * k / 20)
                for a, b in zip(path, path[1:]) for k in range(21)]
    if kind == "POINT":
        return p
    if kind in ("CIRCLE", "ARC"):
        start, end = (0, 360) if kind == "CIRCLE" else (e["start"], e["end"] + (360 if e["end"] <= e["start"] else 0))
        return [(p[0][0] + e["radius"] * math.cos(math.radians(start + (end - start) * k / 60)),
                 p[0][1] + e["radius"] * math.sin(math.radians(start + (end - start) * k / 60))) for k in range(61)]
    if kind == "ELLIPSE":
        (mx, my), r = e["major"], e["ratio"]
        start, end = e["start"], e["end"] + (2 * math.pi if e["end"] <= e["start"] else 0)
        ts = [start + (end - start) * k / 60 for k in range(61)]
        return [(p[0][0] + mx * math.cos(t) - my * r * math.sin(t), p[0][1] + my * math.cos(t) + mx * r * math.sin(t))
                for t in ts]
    return []


def librecad_page(dxf, scale, out, name, resolution, png=False):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    result = subprocess.run(["librecad", "dxf2pdf", "-s", repr(1 / scale), "-f", "0,0,0,0", "-t", out, dxf],
                            capture_output=True, env=env, timeout=120)
    pdf = os.path.join(out, os.path.splitext(os.path.basename(dxf))[0] + ".pdf")
    if not check(result.returncode == 0 and os.path.exists(pdf) and b"DONE" in result.stderr + result.stdout,
                 "%s: librecad dxf2pdf: %s" % (dxf, result.stderr.decode(errors="replace")[-300:])):
        return None
    base = os.path.join(out, name)
    run("pdftoppm", "-r", repr(resolution), "-aa", "no", "-aaVector", "no", "-singlefile", *(["-png"] if png else []),
        pdf, base)
    return base + (".png" if png else ".ppm")


def check_with_librecad(dxf, recorded, preview_ppm, out):
    name = os.path.splitext(os.path.basename(dxf))[0]
    scale, paper = recorded["sheetScale"], recorded["paperLength"]
    librecad_page(dxf, scale, out, name + "-librecad", 2 * PX_PER_MM * 25.4, png=True)
    lines = librecad_page(dxf[:-4] + "-lines.dxf", scale, out, name + "-lines-librecad", PX_PER_MM * 25.4)
    if not lines:
        return
    height_mm = paper / math.sqrt(2)

    def to_page(point):
        return point[0] / scale * PX_PER_MM, (height_mm - point[1] / scale) * PX_PER_MM

    page = read_ppm(lines)
    preview = read_ppm(preview_ppm)
    # pdftoppm rounds the page's size up.
    check(0 <= page[0] - preview[0] <= 1 and 0 <= page[1] - preview[1] <= 1,
          "%s: page %sx%s, preview %sx%s" % ((name,) + page[:2] + preview[:2]))
    theirs = ink_rows(page)[:preview[1]]
    ours = grown(ink_rows(preview), 2)
    stray = sum(bin(t & ~o).count("1") for t, o in zip(theirs, ours))
    check(stray == 0, "%s: %d pixels of LibreCAD's page more than 2 pixels from the preview's lines" % (name, stray))
    near_theirs = grown(theirs, 2)
    for i, e in enumerate(recorded["entities"]):
        on_page = [to_page(q) for q in samples(e)]
        inside = [(round(x), round(y)) for x, y in on_page if 0 <= round(x) < preview[0] and 0 <= round(y) < preview[1]]
        if inside:
            check(any(near_theirs[y] >> x & 1 for x, y in inside),
                  "%s: entity %d (%s) does not show on LibreCAD's page" % (name, i + 1, e["kind"]))


# --- the run ------------------------------------------------------------------

def main():
    parser = argparse.ArgumentParser()
    for option in ("--tavo", "--record", "--examples", "--data", "--out"):
        parser.add_argument(option, required=True)
    a = parser.parse_args()
    shutil.rmtree(a.out, ignore_errors=True)
    os.makedirs(a.out)
    env = dict(os.environ, TAVO_SETTINGS_DIR=os.path.join(a.out, "settings"))
    os.environ.update(env)
    run(a.tavo, "config", "set", "ExchangeSolid", "1")  # as make demo exports the form
    run(a.tavo, "config", "set", "ExchangeCaret", "1")
    jwc = os.path.join(a.out, "entities.jwc")
    run(a.tavo, "build", os.path.join(a.examples, "entities.csv"), "--mm", "--utf8", "-o", jwc)
    inputs = [("form", "book", os.path.join(a.examples, "form.xlsx"), ["御　見　積　書", "消"]),
              ("entities", "jwc", jwc, ["文字サイズ7 Tavo", "上付きA^u2 下付きB^d3 中C^c4"]),
              ("cases", "sheet", os.path.join(a.data, "dxf_sheet.csv"), ["斜めの文字 ABC"])]
    for name, kind, path, texts in inputs:
        run(a.record, kind, path, a.out, name, str(PX_PER_MM))
        size = "%dx%d" % (round(420 * 2 * PX_PER_MM), round(420 / math.sqrt(2) * 2 * PX_PER_MM))
        if kind == "book":
            run(a.tavo, "render", path, "-o", os.path.join(a.out, name + "-preview.png"), "--size", size)
        else:
            source = ["--export", path] if kind == "sheet" else [path]
            run(a.tavo, "render", *source, "-o", os.path.join(a.out, name + "-preview.png"), "--size", size)
        for profile in PROFILES:
            dxf = os.path.join(a.out, "%s-%s.dxf" % (name, profile))
            recorded = json.load(open(dxf[:-4] + ".json"))
            doc = check_with_ezdxf(dxf, recorded)
            if name == "form":
                check_form(doc, profile)
            if profile == "jw":
                check_jw_rules(dxf, texts)
            check_with_librecad(dxf, recorded, os.path.join(a.out, name + "-lines.ppm"), a.out)
    check_round_trip(a.tavo, jwc, os.path.join(a.out, "entities-2018.dxf"))
    for failure in failures:
        print("FAIL:", failure)
    print("dxf readers: %s" % ("%d failures" % len(failures) if failures else "all checks passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
