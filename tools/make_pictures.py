#!/usr/bin/env python3
"""Draws every picture of Nimbrel as SVG and writes the Qt resource file that embeds them.

All pictures come from the few shapes below (cloud, sun, drop, flake, question mark, ...) so the
families share one style. The output is deterministic: running the script twice gives the same
bytes, and tools/check_pictures.py relies on that to find hand edits or a stale set.

Usage: tools/make_pictures.py [--out DIR]   (default: resources/ beside this script's folder)
Standard library only.
"""

import argparse
import math
import pathlib
import sys

# --- palette ------------------------------------------------------------------------------------

SKY = (99, 181, 231)  # ground of the weather pictures and the tray frames
SKY_EDGE = (40, 120, 185)  # keeps a sky square apart from a light panel or task bar
GREY = (189, 189, 189)  # ground of "no data" pictures and the wind list
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
SUN = (255, 210, 0)
DROP = (30, 105, 220)
ICE = (214, 236, 255)
BLUE = (33, 99, 206)
RED = (214, 34, 34)
NOTE_LINE = (90, 150, 225)

# Thermometer grounds, coldest band first; the last one is the "no temperature" picture.
TEMPERATURE_GROUNDS = [
    (231, 0, 231), (0, 74, 255), (0, 165, 255), (0, 231, 255), (0, 255, 181),
    (206, 255, 0), (255, 231, 0), (255, 173, 0), (255, 123, 0), (255, 0, 0),
]

FONT = "DejaVu Sans, Arial, sans-serif"

# Outline width on the 48-unit grid; one third of it survives at 16 pixels, so it must be bold.
LINE = 2.4


def colour(rgb):
    return "#%02x%02x%02x" % rgb


def num(value):
    """Shortest text of a coordinate rounded to 1/100, so the files stay small and stable."""
    text = "%.2f" % value
    text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def points(pairs):
    return " ".join("%s,%s" % (num(x), num(y)) for x, y in pairs)


# --- SVG document -------------------------------------------------------------------------------


class Picture:
    """One SVG document; shapes are appended in painting order."""

    def __init__(self, size):
        self.size = size
        self.items = []

    @staticmethod
    def start_tag(tag, attrs):
        """Python names stand for SVG's: stroke_width is stroke-width."""
        parts = ["<" + tag]
        for name, value in attrs.items():
            if isinstance(value, float):
                value = num(value)
            parts.append(' %s="%s"' % (name.replace("_", "-"), value))
        return "".join(parts)

    def add(self, tag, text=None, **attrs):
        start = self.start_tag(tag, attrs)
        if text is None:
            self.items.append(start + "/>")
        else:
            self.items.append("%s>%s</%s>" % (start, text, tag))

    def open(self, tag, **attrs):
        self.items.append(self.start_tag(tag, attrs) + ">")

    def close(self, tag):
        self.items.append("</%s>" % tag)

    def svg(self):
        head = (
            '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            'width="%d" height="%d" viewBox="0 0 %d %d">' % ((self.size,) * 4)
        )
        return "\n".join([head] + ["  " + item for item in self.items] + ["</svg>"]) + "\n"


def ground(pic, rgb, **corners):
    pic.add("rect", x=0, y=0, width=pic.size, height=pic.size, **corners, fill=colour(rgb))


def outlined_path(pic, d, fill, line=LINE):
    pic.add("path", d=d, fill=colour(fill), stroke=colour(BLACK), stroke_width=line,
            stroke_linejoin="round")


def outlined_stroke(pic, d, width, line=LINE):
    """A white stroked line with a black rim: the black copy underneath is wider by two rims."""
    for stroke, extra in ((BLACK, 2 * line), (WHITE, 0.0)):
        pic.add("path", d=d, fill="none", stroke=colour(stroke), stroke_width=width + extra,
                stroke_linecap="round", stroke_linejoin="round")


def outlined_circle(pic, cx, cy, r, fill, line=LINE):
    pic.add("circle", cx=float(cx), cy=float(cy), r=float(r), fill=colour(fill),
            stroke=colour(BLACK), stroke_width=line)


# --- geometry -----------------------------------------------------------------------------------


def circle_crossings(c1, c2):
    """The two points where circles (x, y, r) cross, upper one first."""
    (x1, y1, r1), (x2, y2, r2) = c1, c2
    d = math.hypot(x2 - x1, y2 - y1)
    a = (r1 * r1 - r2 * r2 + d * d) / (2 * d)
    h = math.sqrt(max(r1 * r1 - a * a, 0.0))
    mx, my = x1 + a * (x2 - x1) / d, y1 + a * (y2 - y1) / d
    p = (mx + h * (y2 - y1) / d, my - h * (x2 - x1) / d)
    q = (mx - h * (y2 - y1) / d, my + h * (x2 - x1) / d)
    return (p, q) if p[1] <= q[1] else (q, p)


def arc_to(circle, start, end, via):
    """SVG arc command along `circle` from start to end that passes the point `via`."""
    cx, cy, r = circle
    angle = lambda p: math.atan2(p[1] - cy, p[0] - cx)
    turn = lambda a, b: (b - a) % (2 * math.pi)  # clockwise on screen, y pointing down
    clockwise = turn(angle(start), angle(via)) < turn(angle(start), angle(end))
    span = turn(angle(start), angle(end))
    if not clockwise:
        span = 2 * math.pi - span
    return "A%s %s 0 %d %d %s %s" % (num(r), num(r), span > math.pi, clockwise, num(end[0]),
                                     num(end[1]))


def star(cx, cy, inner, outer, rays):
    corners = []
    for i in range(2 * rays):
        a = math.pi * i / rays
        r = outer if i % 2 == 0 else inner
        corners.append((cx + r * math.sin(a), cy - r * math.cos(a)))
    return corners


# --- shapes of the weather pictures -------------------------------------------------------------


def cloud_outline(x, y, scale):
    """A flat-bottomed cloud of three puffs, 40 x 24 units before scaling, top left at (x, y)."""
    puffs = [(9, 15, 9), (21, 11, 11), (32, 16, 8)]
    puffs = [(x + px * scale, y + py * scale, r * scale) for px, py, r in puffs]
    left, top, right = puffs
    bottom_left = (left[0], left[1] + left[2])
    bottom_right = (right[0], right[1] + right[2])
    left_top = circle_crossings(left, top)[0]
    top_right = circle_crossings(top, right)[0]
    return "M%s %s %s %s %s L%s %sZ" % (
        num(bottom_left[0]), num(bottom_left[1]),
        arc_to(left, bottom_left, left_top, (left[0] - left[2], left[1])),
        arc_to(top, left_top, top_right, (top[0], top[1] - top[2])),
        arc_to(right, top_right, bottom_right, (right[0] + right[2], right[1])),
        num(bottom_right[0]), num(bottom_right[1]))


def cloud(pic, x, y, scale, hollow=False):
    d = cloud_outline(x, y, scale)
    if hollow:
        # A ring of white between two black lines reads as "a cloud outline" on any ground.
        pic.add("path", d=d, fill="none", stroke=colour(BLACK), stroke_width=3 * LINE + 1.6,
                stroke_linejoin="round")
        pic.add("path", d=d, fill="none", stroke=colour(WHITE), stroke_width=LINE + 1.6,
                stroke_linejoin="round")
    else:
        outlined_path(pic, d, WHITE)


def sun(pic, cx, cy, r):
    pic.add("polygon", points=points(star(cx, cy, r * 1.12, r * 1.85, 8)), fill=colour(SUN),
            stroke=colour(BLACK), stroke_width=LINE, stroke_linejoin="round")
    outlined_circle(pic, cx, cy, r, SUN)


def moon(pic, cx, cy, r):
    outer = (cx, cy, r)
    inner = (cx + 0.55 * r, cy - 0.45 * r, 0.8 * r)
    upper, lower = circle_crossings(outer, inner)
    d = "M%s %s %s %sZ" % (num(upper[0]), num(upper[1]),
                           arc_to(outer, upper, lower, (cx - r, cy)),
                           arc_to(inner, lower, upper, (inner[0] - inner[2], inner[1])))
    outlined_path(pic, d, SUN)


def drop(pic, cx, cy, r):
    """A drop whose round part is centred on (cx, cy), with its tip 2.3 r above."""
    tip = 2.3 * r
    side = r * math.sqrt(1 - (r / tip) ** 2)
    rise = r * r / tip
    d = "M%s %s L%s %s A%s %s 0 1 1 %s %sZ" % (
        num(cx), num(cy - tip), num(cx + side), num(cy - rise), num(r), num(r),
        num(cx - side), num(cy - rise))
    outlined_path(pic, d, DROP)


def flake(pic, cx, cy, arm):
    d = []
    for i in range(3):
        a = math.pi * i / 3
        dx, dy = arm * math.sin(a), arm * math.cos(a)
        d.append("M%s %s L%s %s" % (num(cx - dx), num(cy - dy), num(cx + dx), num(cy + dy)))
    # A thinner rim than elsewhere: at 16 pixels a full one swallows the white arms.
    outlined_stroke(pic, " ".join(d), 3.4, line=0.6 * LINE)


def hailstone(pic, cx, cy):
    outlined_circle(pic, cx, cy, 5.5, ICE)


def bolt(pic, x, y, scale):
    shape = [(7, 0), (0, 11), (5, 11), (1, 20), (12, 7), (7, 7), (11, 0)]
    outlined_path(pic, "M" + points((x + px * scale, y + py * scale) for px, py in shape) + "Z",
                  SUN)


def question_mark(pic, cx, cy, scale, line=LINE):
    """A stroked question mark centred on (cx, cy); 24 units high before scaling."""
    s = lambda dx, dy: "%s %s" % (num(cx + dx * scale), num(cy + dy * scale))
    r = 6.5 * scale
    d = "M%s A%s %s 0 1 1 %s Q%s %s L%s" % (
        s(-6.5, -6), num(r), num(r), s(2.2, -0.1), s(0, 1), s(0, 3.2), s(0, 4.5))
    outlined_stroke(pic, d, 5.5 * scale, line=line)
    outlined_circle(pic, cx, cy + 10.5 * scale, 3.1 * scale, WHITE, line=line)


def words(pic, lines, size, stretch=1.0):
    """Bold white words with a black rim, one or two lines centred on the picture.

    QtSvg ignores strokes on text, so the rim is a ring of black copies shifted around the
    white one."""
    spacing = size * 1.05
    first = pic.size / 2 + size * 0.36 - spacing * (len(lines) - 1) / 2
    rim = 0.65 * LINE
    shifts = [(rim * math.cos(math.pi * k / 4), rim * math.sin(math.pi * k / 4)) for k in range(8)]
    group = dict(font_family=FONT, font_size=float(size), font_weight="bold", text_anchor="middle")
    if stretch != 1.0:
        group["transform"] = "scale(%s 1)" % num(stretch)
    pic.open("g", **group)
    for fill, offsets in ((BLACK, shifts), (WHITE, [(0.0, 0.0)])):
        for dx, dy in offsets:
            for i, text in enumerate(lines):
                pic.add("text", text, x=(pic.size / 2 + dx) / stretch, y=first + i * spacing + dy,
                        fill=colour(fill))
    pic.close("g")


def bars(pic):
    for i, (left, right) in enumerate(((7, 36), (12, 41), (7, 36))):
        pic.add("rect", x=float(left), y=11.5 + 10 * i, width=float(right - left), height=5.5,
                rx=2.75, fill=colour(WHITE), stroke=colour(BLACK), stroke_width=LINE)


def spiral(pic):
    steps, turns, outer = 80, 2.4, 17.0
    trail = []
    for i in range(steps + 1):
        t = i / steps
        a = 2 * math.pi * turns * t
        trail.append((24 + outer * t * math.sin(a), 24 - outer * t * math.cos(a)))
    outlined_stroke(pic, "M" + " L".join(points([p]) for p in trail[2:]), 3.6)


# --- weather pictures ---------------------------------------------------------------------------

# What falls from a cloud: (kind, x, y) on the 48-unit grid, under a cloud at the top.
FALLING = {
    "one drop": [("drop", 24, 39.5)],
    "two drops": [("drop", 15, 39.5), ("drop", 33, 40.5)],
    "drop and flake": [("drop", 14, 39.5), ("flake", 34, 37.5)],
    "two hailstones": [("hail", 15, 37.5), ("hail", 33, 39.5)],
    "one flake": [("flake", 24, 37)],
    "two flakes": [("flake", 13, 36.5), ("flake", 35, 38.5)],
    "lightning": [("bolt", 16, 22)],
}


def falling_from_cloud(what, with_sun=False):
    def draw(pic):
        if with_sun:
            sun(pic, 35.5, 12, 5.8)
            cloud(pic, 3, 6, 0.85)
        else:
            cloud(pic, 7, 4, 0.85)
        for kind, x, y in FALLING[what]:
            if kind == "drop":
                drop(pic, x, y, 5.0)
            elif kind == "flake":
                flake(pic, x, y, 7.5)
            elif kind == "hail":
                hailstone(pic, x, y)
            else:
                bolt(pic, x, y, 1.2)

    return draw


def sun_behind_cloud(pic):
    sun(pic, 30, 20, 8.5)
    cloud(pic, 3, 21, 0.9)


def no_data(pic):
    """The question mark on grey shared by the weather, thermometer and wind lists."""
    question_mark(pic, 24, 22, 1.15)


# Drawings over the sky ground, by picture index.
WEATHER = [
    lambda pic: words(pic, ["HAZY"], 15, 0.82),
    lambda pic: words(pic, ["CLEAR"], 13.5, 0.78),
    lambda pic: sun(pic, 24, 24, 11),
    lambda pic: cloud(pic, 4, 11, 1.0),
    sun_behind_cloud,
    lambda pic: words(pic, ["SAND", "STORM"], 12, 0.78),
    lambda pic: words(pic, ["MIST"], 16, 0.86),
    lambda pic: words(pic, ["FOG"], 16),
    lambda pic: cloud(pic, 5, 12, 0.95, hollow=True),
    falling_from_cloud("one drop"),
    falling_from_cloud("one drop", with_sun=True),
    falling_from_cloud("two drops"),
    falling_from_cloud("two drops", with_sun=True),
    falling_from_cloud("drop and flake"),
    falling_from_cloud("drop and flake", with_sun=True),
    falling_from_cloud("two hailstones"),
    falling_from_cloud("two hailstones", with_sun=True),
    falling_from_cloud("one flake"),
    falling_from_cloud("one flake", with_sun=True),
    falling_from_cloud("two flakes"),
    falling_from_cloud("two flakes", with_sun=True),
    # The daytime thunderstorm is the one with the sun.
    falling_from_cloud("lightning", with_sun=True),
    falling_from_cloud("lightning"),
    spiral,
    no_data,  # on grey, see weather_picture
    bars,
    lambda pic: moon(pic, 22, 25, 15),
]


def weather_picture(index):
    pic = Picture(48)
    ground(pic, GREY if WEATHER[index] is no_data else SKY)
    WEATHER[index](pic)
    return pic


# --- thermometers -------------------------------------------------------------------------------


# Where the panel (ParentWeatherInfoForm) writes its figure on a thermometer, on the 48-unit
# grid: left, top, width and height of the figure's box (a bold 10-unit font).
THERMOMETER_FIGURE = (12, 27, 26, 13)


def thermometer_picture(index):
    pic = Picture(48)
    if index == len(TEMPERATURE_GROUNDS):
        ground(pic, GREY)
        no_data(pic)
        return pic
    ground(pic, TEMPERATURE_GROUNDS[index])
    # A short tube over a wide bulb; the bulb is a white plate that holds the figure, so no
    # outline ever crosses a digit or a minus sign. Black copies first, white bodies over them.
    left, top, width, height = THERMOMETER_FIGURE
    tube = dict(x=19.5, y=3.0, width=9.0, height=26.0, rx=4.5)
    bulb = dict(x=float(left - 2), y=float(top - 2.5), width=float(width + 4),
                height=float(height + 4.5), rx=4.0)
    rim = dict(fill=colour(BLACK), stroke=colour(BLACK), stroke_width=2 * LINE)
    for paint in (rim, dict(fill=colour(WHITE))):
        pic.add("rect", **tube, **paint)
        pic.add("rect", **bulb, **paint)
    ticks = " ".join("M31 %s H35" % num(y) for y in (7, 12, 17))
    pic.add("path", d=ticks, fill="none", stroke=colour(BLACK), stroke_width=LINE,
            stroke_linecap="round")
    return pic


# --- wind ---------------------------------------------------------------------------------------

# Large enough that the figure's box lies inside the disc's white, clear of its rim.
WIND_DISC = 16.0


def arrowhead(pic, cx, cy, degrees, base, tip, half_width):
    """A black arrowhead on the ray from (cx, cy) at `degrees` clockwise from up."""
    a = math.radians(degrees)
    along = lambda r, side: (cx + r * math.sin(a) + side * math.cos(a),
                             cy - r * math.cos(a) + side * math.sin(a))
    corners = [along(tip, 0), along(base, half_width), along(base, -half_width)]
    pic.add("polygon", points=points(corners), fill=colour(BLACK), stroke=colour(BLACK),
            stroke_width=1.2, stroke_linejoin="round")


def wind_picture(index):
    pic = Picture(48)
    ground(pic, GREY)
    if index < 16 or index == 17:
        outlined_circle(pic, 24, 24, WIND_DISC, WHITE)
    if index < 16:
        # The head sits outside the rim, leaving the whole disc free for the speed figure.
        arrowhead(pic, 24, 24, 22.5 * index, WIND_DISC - 0.5, 23.5, 5.5)
    elif index == 16:
        pic.add("rect", x=10.5, y=10.5, width=27.0, height=27.0, fill=colour(WHITE),
                stroke=colour(BLACK), stroke_width=LINE)
        for corner in range(4):
            arrowhead(pic, 24, 24, 45 + 90 * corner, 19.5, 25.5, 4.5)
    elif index == 18:
        no_data(pic)
    return pic


# --- tray animation -----------------------------------------------------------------------------


def tray_picture(index):
    pic = Picture(16)
    ground(pic, SKY)
    pic.add("rect", x=0.5, y=0.5, width=15.0, height=15.0, fill="none",
            stroke=colour(SKY_EDGE), stroke_width=1)
    for dot in range(index):
        outlined_circle(pic, 4 + 4 * dot, 12, 1.6, WHITE, line=0.8)
    return pic


# --- menu icons ---------------------------------------------------------------------------------

MENU_LINE = 1.0


def menu_information(pic):
    outlined_circle(pic, 8, 8, 7, BLUE, line=MENU_LINE)
    pic.add("circle", cx=8, cy=4.3, r=1.3, fill=colour(WHITE))
    pic.add("rect", x=6.9, y=6.5, width=2.2, height=6.2, rx=0.6, fill=colour(WHITE))


def menu_warning(pic):
    pic.add("polygon", points=points([(8, 1), (15.2, 14.5), (0.8, 14.5)]), fill=colour(SUN),
            stroke=colour(BLACK), stroke_width=MENU_LINE, stroke_linejoin="round")
    pic.add("path", d="M8 5.3V9.6", stroke=colour(BLACK), stroke_width=2.0,
            stroke_linecap="round", fill="none")
    pic.add("circle", cx=8, cy=12.2, r=1.1, fill=colour(BLACK))


def menu_error(pic):
    outlined_circle(pic, 8, 8, 7, RED, line=MENU_LINE)
    pic.add("path", d="M5.2 5.2L10.8 10.8M10.8 5.2L5.2 10.8", stroke=colour(WHITE),
            stroke_width=2.2, stroke_linecap="round", fill="none")


def menu_help(pic):
    outlined_circle(pic, 8, 8, 7, BLUE, line=MENU_LINE)
    pic.add("path", d="M5.7 5.9A2.4 2.4 0 1 1 8.9 8.2Q8 8.6 8 9.8", stroke=colour(WHITE),
            stroke_width=1.9, stroke_linecap="round", stroke_linejoin="round", fill="none")
    pic.add("circle", cx=8, cy=12.3, r=1.1, fill=colour(WHITE))


def menu_to_tray(pic):
    # A window going down into the tray: the action that hides the main window.
    pic.add("rect", x=1.5, y=1.5, width=10.0, height=8.0, fill=colour(WHITE),
            stroke=colour(BLACK), stroke_width=MENU_LINE)
    pic.add("rect", x=1.5, y=1.5, width=10.0, height=2.2, fill=colour(BLUE), stroke=colour(BLACK),
            stroke_width=MENU_LINE)
    pic.add("rect", x=0.5, y=12.5, width=15.0, height=3.0, fill=colour(SKY), stroke=colour(BLACK),
            stroke_width=MENU_LINE)
    pic.add("polygon", points=points([(10, 7), (15, 7), (12.5, 11)]), fill=colour(BLACK))


def menu_preferences(pic):
    pic.add("rect", x=0.5, y=1.5, width=14.0, height=12.0, fill=colour(WHITE),
            stroke=colour(BLACK), stroke_width=MENU_LINE)
    pic.add("rect", x=0.5, y=1.5, width=14.0, height=3.0, fill=colour(BLUE), stroke=colour(BLACK),
            stroke_width=MENU_LINE)
    check = "M4 9.6L7 12.5L14.5 5"
    pic.add("path", d=check, stroke=colour(WHITE), stroke_width=4.0, stroke_linecap="round",
            stroke_linejoin="round", fill="none")
    pic.add("path", d=check, stroke=colour(BLUE), stroke_width=2.2, stroke_linecap="round",
            stroke_linejoin="round", fill="none")


def menu_log(pic):
    pic.add("path", d="M2.5 0.5H10.5L13.5 3.5V15.5H2.5Z", fill=colour(WHITE),
            stroke=colour(BLACK), stroke_width=MENU_LINE, stroke_linejoin="round")
    pic.add("path", d="M10.5 0.5V3.5H13.5", fill="none", stroke=colour(BLACK),
            stroke_width=MENU_LINE * 0.8, stroke_linejoin="round")
    lines = " ".join("M4.5 %s H11.5" % num(y) for y in (6, 8.5, 11, 13.5))
    pic.add("path", d=lines, stroke=colour(NOTE_LINE), stroke_width=1.1, fill="none")


def menu_get_report(pic):
    pic.add("rect", x=0.5, y=0.5, width=15.0, height=15.0, rx=1.5, fill=colour(SKY),
            stroke=colour(SKY_EDGE), stroke_width=MENU_LINE)
    rays = " ".join("M%s %s L%s %s" % (num(10 + 2.4 * math.sin(a)), num(5.5 - 2.4 * math.cos(a)),
                                       num(10 + 4.6 * math.sin(a)), num(5.5 - 4.6 * math.cos(a)))
                    for a in (math.radians(d) for d in range(-90, 181, 45)))
    pic.add("path", d=rays, stroke=colour(SUN), stroke_width=1.5, stroke_linecap="round",
            fill="none")
    pic.add("circle", cx=10.0, cy=5.5, r=2.0, fill=colour(SUN))
    outlined_path(pic, cloud_outline(1.5, 5.5, 0.3), WHITE, line=MENU_LINE * 0.9)


MENU_ICONS = [menu_information, menu_warning, menu_error, menu_help, menu_to_tray,
              menu_preferences, menu_log, menu_get_report]


def menu_picture(index):
    pic = Picture(16)
    MENU_ICONS[index](pic)
    return pic


# --- program icon -------------------------------------------------------------------------------


def program_icon():
    pic = Picture(48)
    ground(pic, SKY, rx=9.0)
    sun_behind_cloud(pic)
    return pic


# --- the set ------------------------------------------------------------------------------------

FAMILIES = [
    ("weather", "weather-%02d.svg", 27, weather_picture),
    ("temperature", "temperature-%02d.svg", 11, thermometer_picture),
    ("wind", "wind-%02d.svg", 19, wind_picture),
    ("tray", "tray-%d.svg", 4, tray_picture),
    ("menu", "menu-%d.svg", 8, menu_picture),
]


def all_pictures():
    """(path relative to resources/pictures, SVG text) of every picture, in resource order."""
    for folder, pattern, count, draw in FAMILIES:
        for index in range(count):
            yield "%s/%s" % (folder, pattern % index), draw(index).svg()
    yield "nimbrel.svg", program_icon().svg()


def resource_file(names):
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '  <qresource prefix="/pictures">']
    lines += ['    <file alias="%s">pictures/%s</file>' % (name, name) for name in names]
    lines += ['  </qresource>', '</RCC>']
    return "\n".join(lines) + "\n"


def write(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(text, encoding="utf-8")


def main(argv):
    default_out = pathlib.Path(__file__).resolve().parent.parent / "resources"
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=pathlib.Path, default=default_out,
                        help="resources folder to write pictures/ and pictures.qrc into")
    out = parser.parse_args(argv).out
    names = []
    for name, text in all_pictures():
        write(out / "pictures" / name, text)
        names.append(name)
    write(out / "pictures.qrc", resource_file(names))
    print("wrote %d pictures and pictures.qrc to %s" % (len(names), out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
