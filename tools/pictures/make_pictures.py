#!/usr/bin/env python3
"""Draws Quantrel's pictures and icon and writes them as resource files.

    python3 tools/pictures/make_pictures.py [--out DIR] [--preview DIR]
    python3 tools/pictures/make_pictures.py --check [--out DIR]

Without options the files go to resources/quantrel/pictures/ beside this
tool's repository root, named after their resource ids (bmp126.bmp,
icon101.ico).  --preview also writes enlarged PNG copies for looking at.
--check only reads the files back and verifies size, colour depth and form;
generating ends with the same check.  Needs Python 3 and ImageMagick's
`convert` with the DejaVu fonts (for the text).
"""

import argparse
import os
import sys

import imagefiles
import raster
import strip_glyphs
from raster import (Canvas, SANS, SANS_BOLD, circle, ellipse, intersect, inset,
                    polygon, ring, round_rect, segment, subtract, vertical_ramp)

LAUNCHER_BLUE = (189, 224, 250)      # the launcher's and the screens' background
WHITE = (255, 255, 255)
NAVY = (16, 48, 112)
GOLD = (245, 176, 40)

# -- Launcher buttons (100 x 25, 24 bits) -----------------------------------

# (normal id, pressed id, normal caption, pressed caption), launcher order.
BUTTONS = [
    (126, 127, "Area Codes", "Area Codes"),
    (129, 128, "Currency", "Currency"),
    (130, 138, "Loan", "Loan"),
    (140, 141, "Tip calc", "Tip Calc"),
    (131, 136, "Computer", "Computer"),
    (132, 139, "Metric", "Metric"),
    (133, 137, "Date", "Date"),
    (134, 135, "Lat / Lon", "Lat / Lon"),
]

BUTTON_LOOKS = {
    # body ramp (top, above the middle, below the middle, bottom), border,
    # gloss strength, caption shadow
    "normal": (((126, 184, 242), (52, 126, 218), (22, 90, 192), (64, 150, 236)),
               (18, 56, 132), 0.55, (8, 36, 96)),
    "pressed": (((196, 198, 202), (150, 152, 156), (118, 120, 124), (160, 162, 166)),
                (84, 86, 90), 0.45, (52, 54, 58)),
}
BUTTON_FONT_SIZE = 12


def glass(canvas, x0, y0, x1, y1, radius, look):
    """A glass lozenge: bordered body, bright upper half, glow at the bottom."""
    (top, upper, lower, bottom), border, gloss, _ = look
    middle = (y0 + y1) / 2
    outline = round_rect(x0, y0, x1, y1, radius)
    body = inset(outline, 1)
    canvas.fill(outline, border)
    canvas.fill(body, vertical_ramp([(y0 + 1, top), (middle, upper),
                                     (middle + 0.01, lower), (y1 - 1, bottom)]))
    # The shine fades from `gloss` at its top to a quarter of it at the middle.
    shine = round_rect(x0 + 2, y0 + 1.5, x1 - 2, middle, max(radius - 2, 1))
    for y in range(int(y0), int(middle) + 1):
        fade = raster.clamp((y + 0.5 - y0 - 1.5) / (middle - y0 - 1.5))
        canvas.fill(shine, WHITE, alpha=gloss * (1 - 0.75 * fade), box=(x0, y, x1, y + 1))


def button(caption, pressed):
    """A launcher button; a pressed one is grey with its caption a pixel lower."""
    look = BUTTON_LOOKS["pressed" if pressed else "normal"]
    canvas = Canvas(100, 25, LAUNCHER_BLUE)
    glass(canvas, 0.5, 0.5, 99.5, 24.5, 6, look)
    cap = raster.TextRun("H", SANS_BOLD, BUTTON_FONT_SIZE).ink_height
    baseline = int(round(12.5 + cap / 2)) + (1 if pressed else 0)
    canvas.text(caption, SANS_BOLD, BUTTON_FONT_SIZE, baseline, WHITE,
                centre=50 + (0.5 if pressed else 0), shadow=(look[3], 0.55, 0, 1))
    return canvas


# -- The suite's mark, emblem 145 and icon 101 -------------------------------

MARK_LOOK = (((92, 160, 236), (36, 108, 208), (16, 76, 176), (52, 136, 226)),
             (14, 46, 112), 0.5, None)


def mark(canvas, left, top, size, look=MARK_LOOK):
    """The suite's mark: a blue glass tile bearing a white Q with a gold tail."""
    glass(canvas, left, top, left + size, top + size, mark_radius(size), look)
    if size <= 16:
        # On pixel edges, so that the small icon's ring stays sharp.
        cx, cy, r, stroke, tail_width = left + 7, top + 7, 3.9, 2.0, 2.2
    else:
        cx, cy = left + size * 0.47, top + size * 0.46
        r, stroke, tail_width = size * 0.25, size * 0.12, size * 0.13
    canvas.fill(ring(circle(cx, cy, r), stroke), WHITE)
    reach = r * 0.4
    tail = segment(cx + reach, cy + reach, left + size * 0.80, top + size * 0.80, tail_width)
    canvas.fill(tail, GOLD)


def mark_radius(size):
    return max(2.0, size * 0.2)


def icon_image(size):
    """The mark as an icon image: colours, with alpha from the tile's outline."""
    canvas = Canvas(size, size, MARK_LOOK[1])
    mark(canvas, 0, 0, size)
    outline = round_rect(0, 0, size, size, mark_radius(size))
    alpha = [[255 * raster.clamp(0.5 - outline(x + 0.5, y + 0.5)) for x in range(size)]
             for y in range(size)]
    return canvas, alpha


EMBLEM_TEXT = NAVY
EMBLEM_TAGLINE = (44, 86, 146)


def emblem():
    """The suite's emblem under the launcher buttons: mark, name and a tag line."""
    canvas = Canvas(240, 100, LAUNCHER_BLUE)
    left, top, size = 14, 16, 68
    canvas.shadow(round_rect(left, top, left + size, top + size, mark_radius(size)),
                  (30, 70, 130), 0.35, 5, box=(0, 0, 240, 100), offset=(1.5, 2.5))
    mark(canvas, left, top, size)
    text_left = 94
    canvas.text("Quantrel", SANS_BOLD, 28, 49, EMBLEM_TEXT, left=text_left,
                shadow=(WHITE, 0.6, 1, 1))
    for x in range(text_left, 232):
        fade = 1.0 - (x - text_left) / (232 - text_left)
        canvas.blend(x, 58, EMBLEM_TAGLINE, 0.7 * fade)
    canvas.text("Calculator Suite", SANS, 12, 74, EMBLEM_TAGLINE, left=text_left + 1)
    return canvas


# -- The About box: pieces 117 to 119 and picture 120 (16 colours) -----------

ABOUT_PALETTE = [
    (255, 255, 255), (0, 0, 0), (64, 64, 64), (128, 128, 128),
    (192, 192, 192), (230, 230, 230), (16, 48, 112), (24, 88, 184),
    (80, 144, 224), (189, 224, 250), (34, 139, 74), (120, 196, 96),
    (245, 176, 40), (176, 110, 20), (208, 52, 40), (255, 236, 150),
]
(A_WHITE, A_BLACK, A_DARK, A_GREY, A_SILVER, A_FAINT, A_NAVY, A_BLUE,
 A_MID, A_LIGHT, A_GREEN, A_LEAF, A_GOLD, A_BROWN, A_RED, A_CREAM) = ABOUT_PALETTE

# Where the About box draws each piece when the animation ends.
PIECES = {117: (22, 102, 62, 91), 118: (102, 72, 64, 84), 119: (192, 102, 27, 84)}

# Link lines: hot-spot rectangle (left, top, right, bottom), text, font, size.
LINKS = [
    ((65, 187, 178, 198), "Contact us", SANS, 10),
    ((44, 202, 196, 213), "Trademarks and copyrights", SANS, 10),
    ((52, 221, 189, 229), "www.orvandel.example", SANS, 9),
]
VERSION_LINE = "Version 1.0"


def calculator_piece():
    """Left piece: a pocket calculator."""
    canvas = Canvas(62, 91)
    body = round_rect(5.5, 2.5, 56.5, 82.5, 7)
    canvas.fill(round_rect(7.5, 4.5, 58.5, 84.5, 7), A_FAINT)
    canvas.fill(body, A_NAVY)
    canvas.fill(subtract(inset(body, 1), inset(round_rect(6.5, 4.5, 56.5, 82.5, 7), 1)), A_BLUE)
    canvas.fill(round_rect(10.5, 8.5, 51.5, 24.5, 2), A_LIGHT)
    canvas.text("3.14", SANS_BOLD, 11, 21, A_NAVY, left=51 - 3 - raster.TextRun(
        "3.14", SANS_BOLD, 11).ink_width)
    keys = [(A_SILVER, A_SILVER, A_SILVER, A_GOLD)] * 4 + [(A_SILVER, A_SILVER, A_SILVER, A_RED)]
    for row, colours in enumerate(keys):
        for column, colour in enumerate(colours):
            x, y = 10.5 + column * 11, 30.5 + row * 10
            canvas.fill(round_rect(x, y, x + 8, y + 7, 1.5), colour)
            canvas.fill(round_rect(x, y, x + 8, y + 2, 1), A_WHITE, alpha=0.6,
                        clip=round_rect(x, y, x + 8, y + 7, 1.5))
    return canvas


def globe_piece():
    """Top piece: a desk globe, the world of currencies and coordinates."""
    canvas = Canvas(64, 84)
    cx, cy, r = 32, 31, 25
    sphere = circle(cx, cy, r)
    holder = intersect(ring(circle(cx, cy, r + 3.5), 2.5), lambda x, y: cx - 6 - x)
    canvas.fill(holder, A_GREY)
    canvas.fill(sphere, A_BLUE)
    canvas.fill(circle(cx - 6, cy - 6, r - 6), A_MID, clip=sphere)
    lands = [
        polygon([(14, 16), (24, 10), (33, 12), (30, 20), (24, 23), (25, 31), (19, 35), (14, 26)]),
        polygon([(24, 36), (31, 34), (34, 41), (30, 52), (26, 50), (24, 43)]),
        polygon([(38, 9), (47, 12), (54, 20), (50, 26), (44, 25), (40, 32), (36, 26), (41, 19)]),
        polygon([(43, 37), (50, 35), (54, 42), (47, 47)]),
    ]
    for k in (9, 18):
        canvas.fill(ring(ellipse(cx, cy, k, r), 1), A_LIGHT, clip=inset(sphere, 1))
    for dy in (-12, 0, 12):
        half = (r * r - dy * dy) ** 0.5
        canvas.fill(segment(cx - half, cy + dy, cx + half, cy + dy, 1), A_LIGHT,
                    clip=inset(sphere, 1))
    for land in lands:
        canvas.fill(land, A_GREEN, clip=sphere)
        canvas.fill(land, A_LEAF, clip=intersect(sphere, circle(cx - 10, cy - 10, r - 4)))
    canvas.fill(ring(sphere, 1.5), A_NAVY)
    canvas.fill(segment(cx, cy + r + 3, cx, 74, 4), A_DARK)
    canvas.fill(ellipse(cx, 77, 19, 5), A_DARK)
    canvas.fill(ellipse(cx, 76, 16, 3), A_GREY)
    return canvas


def ruler_piece():
    """Right piece: a ruler, for measures and units."""
    canvas = Canvas(27, 84)
    body = round_rect(3.5, 1.5, 23.5, 82.5, 2.5)
    canvas.fill(round_rect(5.5, 3.5, 25.5, 83.5, 2.5), A_FAINT)
    canvas.fill(body, A_BROWN)
    canvas.fill(inset(body, 1), A_GOLD)
    canvas.fill(round_rect(18.5, 2.5, 22.5, 81.5, 1.5), A_CREAM, alpha=0.9)
    for n, y in enumerate(range(6, 80, 4)):
        length = 10 if n % 4 == 0 else 7 if n % 2 == 0 else 4
        for x in range(4, 4 + length):
            canvas.put(x, y, A_BROWN)
    return canvas


def about_piece(number):
    return {117: calculator_piece, 118: globe_piece, 119: ruler_piece}[number]()


def about_picture(pieces):
    """The final About picture; `pieces` are the quantised pieces by number."""
    canvas = Canvas(240, 320)
    for number, (left, top, width, height) in PIECES.items():
        indexes = pieces[number]
        for y in range(height):
            for x in range(width):
                canvas.put(left + x, top + y, ABOUT_PALETTE[indexes[y][x]])
    canvas.text("Quantrel", SANS_BOLD, 26, 38, A_NAVY, centre=120)
    canvas.text(VERSION_LINE, SANS, 11, 58, A_DARK, centre=120)
    for (left, top, right, bottom), words, font, size in LINKS:
        # Tall letters start on the rectangle's top row, or one row higher
        # where the rectangle is too low to hold them, a gap and the underline.
        baseline = min(top - raster.TextRun("Hd", font, size).ink_top, bottom - 2)
        x0, _, x1, _ = canvas.text(words, font, size, baseline, A_BLUE, centre=(left + right) / 2)
        underline = min(baseline + 2, bottom - 1)
        for x in range(x0, x1):
            canvas.put(x, underline, A_BLUE)
    canvas.text("Copyright \u00a9 Orvandel", SANS, 9, 262, A_GREY, centre=120)
    return canvas


def picture_files():
    """(file name, kind, payload) for every output; kind says how to write it."""
    files = []
    for normal, pressed, normal_caption, pressed_caption in BUTTONS:
        files.append(("bmp%d.bmp" % normal, "rgb", button(normal_caption, False)))
        files.append(("bmp%d.bmp" % pressed, "rgb", button(pressed_caption, True)))
    files.append(("bmp113.bmp", "indexed", (strip_glyphs.strip(), strip_glyphs.PALETTE)))
    pieces = {}
    for number in sorted(PIECES):
        pieces[number] = imagefiles.quantise(about_piece(number), ABOUT_PALETTE)
        files.append(("bmp%d.bmp" % number, "indexed", (pieces[number], ABOUT_PALETTE)))
    about = imagefiles.quantise(about_picture(pieces), ABOUT_PALETTE)
    files.append(("bmp120.bmp", "indexed", (about, ABOUT_PALETTE)))
    files.append(("bmp145.bmp", "rgb", emblem()))
    files.append(("icon101.ico", "icon", [icon_image(16), icon_image(32)]))
    return files


class Indexed:
    """A palette picture seen as colours, for the previews."""

    def __init__(self, indexes, palette):
        self.width = len(indexes[0])
        self.pixels = [[palette[i] for i in row] for row in indexes]


def write_preview(directory, name, rows, scale):
    path = os.path.join(directory, os.path.splitext(name)[0] + ".png")
    with open(path, "wb") as out:
        out.write(imagefiles.png(rows, scale))


# Launcher button places (left, top) by normal picture, and the emblem's top.
LAUNCHER_PLACES = {126: (10, 15), 129: (130, 15), 130: (10, 60), 140: (130, 60),
                   131: (10, 105), 133: (130, 105), 132: (10, 150), 134: (130, 150)}
LAUNCHER_EMBLEM_TOP = 177


def launcher_mock(files, pressed=141):
    """The launcher's client area as it will look, one button held, for the previews."""
    by_name = {name: payload for name, kind, payload in files if kind == "rgb"}
    canvas = Canvas(240, 268, LAUNCHER_BLUE)
    held = {normal: pressed_id for normal, pressed_id, _, _ in BUTTONS}
    for normal, (left, top) in LAUNCHER_PLACES.items():
        shown = held[normal] if held[normal] == pressed else normal
        canvas.paste(by_name["bmp%d.bmp" % shown], left, top)
    canvas.paste(by_name["bmp145.bmp"], 0, LAUNCHER_EMBLEM_TOP)
    return canvas


# What the program's resources expect of each file: width, height, bits per pixel.
EXPECTED = dict(
    [("bmp113.bmp", (207, 19, 4)), ("bmp120.bmp", (240, 320, 4)), ("bmp145.bmp", (240, 100, 24))]
    + [("bmp%d.bmp" % n, (w, h, 4)) for n, (_, _, w, h) in PIECES.items()]
    + [("bmp%d.bmp" % n, (100, 25, 24)) for n in range(126, 142)])
EXPECTED_ICON = ("icon101.ico", [(16, 16, 32), (32, 32, 32)])


def check(directory):
    """Read every file back; print its facts and return the list of problems."""
    problems, bitmaps = [], {}
    for name in sorted(EXPECTED):
        try:
            with open(os.path.join(directory, name), "rb") as source:
                facts = imagefiles.read_bitmap(source.read())
        except (OSError, ValueError) as error:
            problems.append("%s: %s" % (name, error))
            continue
        bitmaps[name] = facts
        got = (facts["width"], facts["height"], facts["bits"])
        print("%-12s %3d x %3d, %2d bits, %2d palette entries, BI_RGB, bottom-up"
              % (name, got[0], got[1], got[2], facts["colours"]))
        if got != EXPECTED[name]:
            problems.append("%s: %d x %d x %d, expected %d x %d x %d" % ((name,) + got + EXPECTED[name]))
        elif got[2] == 4 and facts["colours"] != 16:
            problems.append("%s: %d palette entries, expected 16" % (name, facts["colours"]))
    name, sizes = EXPECTED_ICON
    try:
        with open(os.path.join(directory, name), "rb") as source:
            images = imagefiles.read_icon(source.read())
        print("%-12s %s" % (name, ", ".join("%d x %d, %d bits" % image for image in images)))
        if sorted(images) != sizes:
            problems.append("%s: images %s, expected %s" % (name, images, sizes))
    except (OSError, ValueError) as error:
        problems.append("%s: %s" % (name, error))
    if len(bitmaps) == len(EXPECTED):
        problems += check_looks(bitmaps)
    return problems


def check_looks(bitmaps):
    """What the screens rely on beyond the headers."""
    problems = []
    for number in range(126, 142):
        rows = bitmaps["bmp%d.bmp" % number]["rows"]
        for x, y in ((0, 0), (99, 0), (0, 24), (99, 24)):
            if rows[y][x] != LAUNCHER_BLUE:
                problems.append("bmp%d.bmp: corner (%d, %d) is %s, not the launcher's blue"
                                % (number, x, y, rows[y][x]))
    about = bitmaps["bmp120.bmp"]["rows"]
    for number, (left, top, width, height) in PIECES.items():
        piece = bitmaps["bmp%d.bmp" % number]["rows"]
        if piece[0][0] != WHITE or piece[-1][-1] != WHITE:
            problems.append("bmp%d.bmp: its corners are not white" % number)
        if any(about[top + y][left:left + width] != piece[y] for y in range(height)):
            problems.append("bmp120.bmp: piece %d differs at its final place" % number)
    for (left, top, right, bottom), words, _, _ in LINKS:
        inked = [y for y in range(top, bottom) if any(c != WHITE for c in about[y][left:right])]
        if not inked or inked[-1] != bottom - 1:
            problems.append("bmp120.bmp: no underlined text in the %r rectangle" % words)
    return problems


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "..", "resources",
                                                      "quantrel", "pictures"))
    parser.add_argument("--preview", help="also write enlarged PNG copies here")
    parser.add_argument("--check", action="store_true", help="only verify the written files")
    args = parser.parse_args()
    if not args.check:
        os.makedirs(args.out, exist_ok=True)
        files = picture_files()
        for name, kind, payload in files:
            if kind == "rgb":
                data = imagefiles.bitmap_24(payload)
                looks = [payload]
            elif kind == "indexed":
                indexes, palette = payload
                data = imagefiles.bitmap_4(indexes, palette)
                looks = [Indexed(indexes, palette)]
            elif kind == "icon":
                data = imagefiles.icon(payload)
                looks = [canvas for canvas, _ in payload]
            with open(os.path.join(args.out, name), "wb") as out:
                out.write(data)
            if args.preview:
                os.makedirs(args.preview, exist_ok=True)
                for canvas in looks:
                    label = name if len(looks) == 1 else "%s-%d" % (os.path.splitext(name)[0], canvas.width)
                    write_preview(args.preview, label, canvas.pixels, 4)
        if args.preview:
            write_preview(args.preview, "launcher.png", launcher_mock(files).pixels, 2)
    problems = check(args.out)
    for problem in problems:
        print("problem: " + problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
