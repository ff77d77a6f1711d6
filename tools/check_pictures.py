#!/usr/bin/env python3
"""Checks the picture set of Nimbrel and optionally renders a contact sheet of it.

Checks: every list has exactly its pictures under the expected names; each file is well-formed
SVG of the design size with a square view box, uses only plain shapes QtSvg draws (no bitmaps,
filters, masks, style sheets or outside references), stays small, and has the ground colour its
list prescribes; the sun shows on exactly the daytime weather pictures and wind arrow n points
22.5 n degrees clockwise from north; pictures.qrc embeds exactly these files under their aliases;
and the files are what tools/make_pictures.py draws today (so nobody edits a generated file by
hand).

Usage: tools/check_pictures.py [--resources DIR] [--sheet PNG]
The sheet needs rsvg-convert (librsvg2-bin) and ImageMagick's montage; the checks need neither.
Exit status 0 when every check passes, 1 otherwise.
"""

import argparse
import math
import pathlib
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

TOOLS = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(TOOLS))
import make_pictures  # noqa: E402  (the generator is the single source of the set)

SVG_NS = "{http://www.w3.org/2000/svg}"
ALLOWED = {"svg", "g", "rect", "circle", "ellipse", "line", "polyline", "polygon", "path", "text"}
FORBIDDEN_ATTRIBUTES = {"style", "class", "href", "{http://www.w3.org/1999/xlink}href", "filter",
                        "mask", "clip-path"}
MAX_BYTES = 8192

# Written out here rather than taken from the generator, so a wrong colour there shows up.
SKY = "#63b5e7"  # 99, 181, 231
GREY = "#bdbdbd"  # 189, 189, 189
SUN = "#ffd200"
THERMOMETER = ["#e700e7", "#004aff", "#00a5ff", "#00e7ff", "#00ffb5", "#ceff00", "#ffe700",
               "#ffad00", "#ff7b00", "#ff0000", GREY]

# Weather pictures that show the sun; 21, the daytime thunderstorm, is one of them and 22 not.
WITH_SUN = {2, 4, 10, 12, 14, 16, 18, 20, 21}

# (folder, names, design size, ground colour of picture i or None when it has no fixed ground)
LISTS = [
    ("weather", ["weather-%02d.svg" % i for i in range(27)], 48,
     lambda i: GREY if i == 24 else SKY),
    ("temperature", ["temperature-%02d.svg" % i for i in range(11)], 48,
     lambda i: THERMOMETER[i]),
    ("wind", ["wind-%02d.svg" % i for i in range(19)], 48, lambda i: GREY),
    ("tray", ["tray-%d.svg" % i for i in range(4)], 16, lambda i: SKY),
    ("menu", ["menu-%d.svg" % i for i in range(8)], 16, lambda i: None),
]


def expected_files():
    """(relative path, design size, ground colour or None) of every picture."""
    for folder, names, size, ground in LISTS:
        for index, name in enumerate(names):
            yield "%s/%s" % (folder, name), size, ground(index)
    yield "nimbrel.svg", 48, SKY


def check_svg(path, size, ground):
    problems = []
    if path.stat().st_size > MAX_BYTES:
        problems.append("larger than %d bytes" % MAX_BYTES)
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError as error:
        return ["not well-formed XML: %s" % error]
    if root.tag != SVG_NS + "svg":
        return ["root element is %s, not svg" % root.tag]
    wanted = {"width": str(size), "height": str(size), "viewBox": "0 0 %d %d" % (size, size)}
    for name, value in wanted.items():
        if root.get(name) != value:
            problems.append('%s is "%s", expected "%s"' % (name, root.get(name), value))
    for element in root.iter():
        tag = element.tag.replace(SVG_NS, "")
        if tag not in ALLOWED:
            problems.append("element <%s> is not a plain shape" % tag)
        for attribute in element.attrib:
            if attribute in FORBIDDEN_ATTRIBUTES:
                problems.append("attribute %s on <%s>" % (attribute, tag))
    first = next(iter(root), None)
    if ground is not None and (first is None or first.get("fill") != ground
                               or first.get("width") != str(size)):
        problems.append("ground is not a full %s square" % ground)
    return problems


def shapes(path, tag):
    return ET.parse(path).getroot().iter(SVG_NS + tag)


def check_sun(pictures):
    """The sun is the only yellow disc, so its presence tells the day pictures from the night."""
    problems = []
    for index in range(27):
        path = pictures / ("weather/weather-%02d.svg" % index)
        has_sun = any(c.get("fill") == SUN for c in shapes(path, "circle"))
        if has_sun != (index in WITH_SUN):
            problems.append("weather-%02d.svg: %s" % (index, "shows the sun" if has_sun
                                                      else "lacks the sun"))
    return problems


def check_wind_arrows(pictures):
    """Arrow n must point 22.5 n degrees clockwise from up, seen from the disc's centre."""
    problems = []
    for index in range(16):
        path = pictures / ("wind/wind-%02d.svg" % index)
        heads = list(shapes(path, "polygon"))
        if len(heads) != 1:
            problems.append("wind-%02d.svg: %d arrowheads" % (index, len(heads)))
            continue
        corners = [tuple(map(float, p.split(","))) for p in heads[0].get("points").split()]
        tip = max(corners, key=lambda p: math.hypot(p[0] - 24, p[1] - 24))
        degrees = math.degrees(math.atan2(tip[0] - 24, 24 - tip[1])) % 360
        if abs((degrees - 22.5 * index + 180) % 360 - 180) > 1:
            problems.append("wind-%02d.svg: points to %.1f degrees" % (index, degrees))
    return problems


def check_resource_file(resources, relative_paths):
    qrc = resources / "pictures.qrc"
    try:
        root = ET.parse(qrc).getroot()
    except (OSError, ET.ParseError) as error:
        return ["pictures.qrc: %s" % error]
    problems = []
    prefixes = [q.get("prefix") for q in root.iter("qresource")]
    if prefixes != ["/pictures"]:
        problems.append("pictures.qrc: prefixes %s, expected one /pictures" % prefixes)
    listed = {f.get("alias"): f.text for f in root.iter("file")}
    for path in relative_paths:
        if listed.pop(path, None) != "pictures/" + path:
            problems.append("pictures.qrc: %s missing or not aliased as %s" % (path, path))
    problems += ["pictures.qrc: unexpected entry %s" % alias for alias in listed]
    return problems


def check_generated(resources):
    """Compares the committed files with a fresh run of the generator."""
    problems = []
    for relative, text in make_pictures.all_pictures():
        path = resources / "pictures" / relative
        if path.exists() and path.read_text(encoding="utf-8") != text:
            problems.append("%s differs from tools/make_pictures.py's drawing" % relative)
    names = [relative for relative, _ in make_pictures.all_pictures()]
    qrc = resources / "pictures.qrc"
    if qrc.exists() and qrc.read_text(encoding="utf-8") != make_pictures.resource_file(names):
        problems.append("pictures.qrc differs from tools/make_pictures.py's")
    return problems


def check(resources):
    problems = []
    expected = list(expected_files())
    pictures = resources / "pictures"
    for relative, size, ground in expected:
        path = pictures / relative
        if not path.is_file():
            problems.append("%s: missing" % relative)
            continue
        problems += ["%s: %s" % (relative, p) for p in check_svg(path, size, ground)]
    known = {relative for relative, _, _ in expected}
    for path in sorted(pictures.rglob("*")):
        if path.is_file() and path.relative_to(pictures).as_posix() not in known:
            problems.append("%s: not part of any list" % path.relative_to(pictures).as_posix())
    if not problems:
        problems += check_sun(pictures) + check_wind_arrows(pictures)
    problems += check_resource_file(resources, [relative for relative, _, _ in expected])
    problems += check_generated(resources)
    return problems


def render_sheet(resources, sheet):
    """One row per list: every picture at 48 pixels, then the same row at 16 pixels."""
    for tool in ("rsvg-convert", "montage"):
        if shutil.which(tool) is None:
            raise SystemExit("the contact sheet needs %s on PATH" % tool)
    rows = []
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        groups = [(folder, ["%s/%s" % (folder, n) for n in names]) for folder, names, _, _ in LISTS]
        groups.append(("program", ["nimbrel.svg"]))
        for folder, relatives in groups:
            for pixels in (48, 16):
                tiles = []
                for relative in relatives:
                    tile = scratch / ("%s-%d.png" % (relative.replace("/", "_"), pixels))
                    subprocess.run(["rsvg-convert", "-w", str(pixels), "-h", str(pixels), "-o",
                                    str(tile), str(resources / "pictures" / relative)],
                                   check=True)
                    tiles.append(str(tile))
                row = scratch / ("row-%s-%d.png" % (folder, pixels))
                subprocess.run(["montage", *tiles, "-tile", "x1", "-geometry",
                                "%dx%d+4+4" % (pixels, pixels), "-background", "white",
                                "-title", "%s %dpx" % (folder, pixels), "-pointsize", "11",
                                str(row)], check=True)
                rows.append(str(row))
        sheet.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["convert", *rows, "-background", "white", "-gravity", "west", "-append",
                        str(sheet)], check=True)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--resources", type=pathlib.Path, default=TOOLS.parent / "resources")
    parser.add_argument("--sheet", type=pathlib.Path, help="also render a contact sheet PNG")
    args = parser.parse_args(argv)
    problems = check(args.resources)
    for problem in problems:
        print("check_pictures: " + problem, file=sys.stderr)
    if args.sheet:
        render_sheet(args.resources, args.sheet)
        print("contact sheet: %s" % args.sheet)
    if problems:
        return 1
    print("check_pictures: %d pictures OK" % len(list(expected_files())))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
