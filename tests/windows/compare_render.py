#!/usr/bin/env python3
"""GdiCanvas under Wine paints what QtCanvas paints on Linux.

The bundled sheet (examples/form.xlsx, its filled cells as solids) and the
drawing of every entity kind (examples/entities.csv) are made into .jwc
files by the Linux build's command, then painted by render_ppm through both
canvases at the same size, with and without their texts. Painted without
texts the pictures must agree: a pixel may differ only where the other
picture has the same colour one pixel away (GDI and our rasteriser may
round a curve's pixel the other way). With texts the same holds outside
the text's ink, and the text's ink must lie where the other's does; the
fonts differ, so nothing more is asked of it. The pictures stay in OUT.
"""
import argparse
import os
import subprocess
import sys

SIZE = (1123, 794)


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    parts = data.split(b"\n", 3)
    width, height = map(int, parts[1].split())
    pixels = parts[3]
    assert len(pixels) == width * height * 3, path
    return width, height, [pixels[i:i + 3] for i in range(0, len(pixels), 3)]


def neighbours(index, width, height, reach):
    x, y = index % width, index // width
    for ny in range(max(0, y - reach), min(height, y + reach + 1)):
        for nx in range(max(0, x - reach), min(width, x + reach + 1)):
            yield ny * width + nx


def unmatched(a, b, width, height, skip=frozenset()):
    """Pixels where a and b differ and neither has the other's colour one
    pixel away."""
    bad = []
    for i in range(len(a)):
        if a[i] == b[i] or i in skip:
            continue
        near_b = any(b[j] == a[i] for j in neighbours(i, width, height, 1))
        near_a = any(a[j] == b[i] for j in neighbours(i, width, height, 1))
        if not (near_a and near_b):
            bad.append(i)
    return bad


def ink(full, textless):
    return {i for i in range(len(full)) if full[i] != textless[i]}


def grow(pixels, width, height, reach):
    grown = set()
    for i in pixels:
        grown.update(neighbours(i, width, height, reach))
    return grown


def compare(name, out):
    w, h, linux_full = read_ppm(os.path.join(out, name + "-linux.ppm"))
    _, _, linux_plain = read_ppm(os.path.join(out, name + "-linux-notext.ppm"))
    _, _, win_full = read_ppm(os.path.join(out, name + "-windows.ppm"))
    _, _, win_plain = read_ppm(os.path.join(out, name + "-windows-notext.ppm"))
    failures = []
    drawn = sum(1 for p in linux_plain if p != b"\xff\xff\xff")
    if drawn < 1000:
        failures.append(f"{name}: the Linux picture shows almost nothing ({drawn} pixels)")
    differing = sum(1 for i in range(len(linux_plain)) if linux_plain[i] != win_plain[i])
    bad = unmatched(linux_plain, win_plain, w, h)
    print(f"{name}: without text {drawn} pixels drawn, {differing} differ, {len(bad)} of them unmatched")
    if bad:
        failures.append(f"{name}: without text, {len(bad)} pixels differ, first at " +
                        ", ".join(f"({i % w},{i // w})" for i in bad[:5]))
    linux_ink, win_ink = ink(linux_full, linux_plain), ink(win_full, win_plain)
    text_area = grow(linux_ink | win_ink, w, h, 2)
    bad = unmatched(linux_full, win_full, w, h, text_area)
    near = grow(linux_ink, w, h, 4)
    placed = sum(1 for i in win_ink if i in near) / max(1, len(win_ink))
    print(f"{name}: text ink {len(linux_ink)} pixels on Linux, {len(win_ink)} on Windows, "
          f"{placed:.0%} of it where Linux has ink; {len(bad)} unmatched outside it")
    if bad:
        failures.append(f"{name}: outside the texts {len(bad)} pixels differ")
    if linux_ink and (len(win_ink) < len(linux_ink) / 4 or placed < 0.7):
        failures.append(f"{name}: the texts are not where Linux draws them")
    return failures


def main():
    p = argparse.ArgumentParser()
    for option in ("--linux-build", "--wine-run", "--wine-script", "--windows-render", "--examples", "--out"):
        p.add_argument(option, required=True)
    args = p.parse_args()
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env.update(QT_QPA_PLATFORM="offscreen", TAVO_SETTINGS_DIR=os.path.join(out, "settings"))
    tavo = os.path.join(args.linux_build, "tavo")
    run = lambda cmd: subprocess.run(cmd, env=env, check=True)
    run([tavo, "config", "set", "ExchangeSolid", "1"])
    run([tavo, "export", os.path.join(args.examples, "form.xlsx"), "-o", os.path.join(out, "form.jwc")])
    run([tavo, "build", os.path.join(args.examples, "entities.csv"), "--mm", "--utf8", "-o",
         os.path.join(out, "entities.jwc")])
    size = "%dx%d" % SIZE
    failures = []
    for name in ("form", "entities"):
        jwc = os.path.join(out, name + ".jwc")
        run([os.path.join(args.linux_build, "tests", "render_ppm"), jwc, os.path.join(out, name + "-linux"), size])
        windows = lambda path: "Z:" + path.replace("/", "\\")
        run([args.wine_script, args.wine_run, args.windows_render, windows(jwc),
             windows(os.path.join(out, name + "-windows")), size])
        failures += compare(name, out)
    print(f"pictures in {out}")
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
