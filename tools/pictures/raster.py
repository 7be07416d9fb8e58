"""A small anti-aliased painter for Quantrel's pictures.

Shapes are described by signed distance functions (negative inside, in pixels);
a pixel's coverage is taken from the distance at its centre, which gives clean
one-pixel edges without supersampling.  Text comes from ImageMagick's `convert`
as an 8-bit coverage mask and is blended like any other shape.
"""

import math
import subprocess

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
SANS = FONT_DIR + "DejaVuSans.ttf"
SANS_BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"
SANS_CONDENSED = FONT_DIR + "DejaVuSansCondensed.ttf"
SANS_CONDENSED_BOLD = FONT_DIR + "DejaVuSansCondensed-Bold.ttf"


def clamp(value, low=0.0, high=1.0):
    return low if value < low else high if value > high else value


def mix(a, b, t):
    """Colour between a and b, t = 0 gives a."""
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def vertical_ramp(stops):
    """Paint function over y from (y, colour) stops in ascending y."""
    def paint(x, y):
        if y <= stops[0][0]:
            return stops[0][1]
        for (y0, c0), (y1, c1) in zip(stops, stops[1:]):
            if y <= y1:
                return mix(c0, c1, (y - y0) / (y1 - y0))
        return stops[-1][1]
    return paint


# Signed distances.  Each returns a function of the point (x, y).

def round_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hw, hh = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hw, abs(y - cy) - hh
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return distance


def circle(cx, cy, radius):
    return lambda x, y: math.hypot(x - cx, y - cy) - radius


def ellipse(cx, cy, rx, ry):
    """Approximate distance to an ellipse (first-order, good near the edge)."""
    def distance(x, y):
        u, v = (x - cx) / rx, (y - cy) / ry
        k = math.hypot(u, v)
        if k < 1e-9:
            return -min(rx, ry)
        gx, gy = u / (rx * k), v / (ry * k)
        return (k - 1.0) / max(math.hypot(gx, gy), 1e-9)
    return distance


def segment(ax, ay, bx, by, width):
    """A stroke of the given width with round caps."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def distance(x, y):
        t = clamp(((x - ax) * dx + (y - ay) * dy) / length2) if length2 else 0.0
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2
    return distance


def polygon(points):
    n = len(points)

    def distance(x, y):
        best = float("inf")
        sign = 1.0
        j = n - 1
        for i in range(n):
            (xi, yi), (xj, yj) = points[i], points[j]
            ex, ey = xj - xi, yj - yi
            wx, wy = x - xi, y - yi
            e2 = ex * ex + ey * ey
            t = clamp((wx * ex + wy * ey) / e2) if e2 else 0.0
            best = min(best, math.hypot(wx - ex * t, wy - ey * t))
            if (yi <= y) != (yj <= y) and x < xi + (y - yi) * ex / ey:
                sign = -sign
            j = i
        return sign * best
    return distance


def ring(shape, width):
    """The outline of width `width` centred on a shape's edge."""
    return lambda x, y: abs(shape(x, y)) - width / 2


def inset(shape, amount):
    return lambda x, y: shape(x, y) + amount


def intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


class Canvas:
    """An RGB picture with float channels 0..255, origin at the top left."""

    def __init__(self, width, height, background=(255, 255, 255)):
        self.width, self.height = width, height
        self.pixels = [[tuple(background) for _ in range(width)] for _ in range(height)]

    def get(self, x, y):
        return self.pixels[y][x]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = tuple(colour)

    def blend(self, x, y, colour, alpha):
        if alpha <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        if alpha >= 1:
            self.pixels[y][x] = tuple(colour)
        else:
            self.pixels[y][x] = mix(self.pixels[y][x], colour, alpha)

    def fill(self, shape, paint, alpha=1.0, clip=None, box=None):
        """Blend `paint` (a colour or a function of x, y) where `shape` covers.

        `box` (x0, y0, x1, y1) limits the pixels visited; `clip` is a second
        shape whose coverage multiplies the first one's.
        """
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        flat = not callable(paint)
        for y in range(y0, y1):
            cy = y + 0.5
            for x in range(x0, x1):
                cx = x + 0.5
                cover = clamp(0.5 - shape(cx, cy))
                if cover <= 0:
                    continue
                if clip is not None:
                    cover *= clamp(0.5 - clip(cx, cy))
                    if cover <= 0:
                        continue
                self.blend(x, y, paint if flat else paint(cx, cy), cover * alpha)

    def shadow(self, shape, colour, alpha, spread, box=None, offset=(0, 0)):
        """A soft shadow fading out over `spread` pixels outside `shape`."""
        ox, oy = offset
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(max(0, int(y0)), min(self.height, int(y1))):
            for x in range(max(0, int(x0)), min(self.width, int(x1))):
                d = shape(x + 0.5 - ox, y + 0.5 - oy)
                strength = clamp(1.0 - d / spread) if d > 0 else 1.0
                self.blend(x, y, colour, alpha * strength * strength)

    def paste(self, other, left, top):
        for y in range(other.height):
            for x in range(other.width):
                self.put(left + x, top + y, other.get(x, y))

    def mask(self, glyphs, left, top, colour, alpha=1.0):
        """Blend a coverage mask (rows of 0..255) with its top left at (left, top)."""
        for y, row in enumerate(glyphs):
            for x, value in enumerate(row):
                if value:
                    self.blend(left + x, top + y, colour, alpha * value / 255.0)

    def text(self, words, font, size, baseline, colour, left=None, centre=None,
             shadow=None, alpha=1.0):
        """Draw `words` with its baseline on row `baseline`.

        Give `left` for the left edge of the ink or `centre` for the ink's
        horizontal centre.  `shadow` is (colour, alpha, dx, dy) drawn first.
        Returns the ink box (x0, y0, x1, y1).
        """
        run = TextRun(words, font, size)
        x = left if left is not None else int(round(centre - run.ink_width / 2))
        top = baseline + run.ink_top
        if shadow:
            shade, shade_alpha, dx, dy = shadow
            self.mask(run.rows, x + dx, top + dy, shade, shade_alpha)
        self.mask(run.rows, x, top, colour, alpha)
        return x, top, x + run.ink_width, top + run.ink_height


_text_cache = {}


class TextRun:
    """The rendered ink of one line of text.

    `ink_top` is the ink's top row relative to the baseline (negative above
    it); `rows` holds the coverage of the ink box only.
    """

    def __init__(self, words, font, size):
        key = (words, font, size)
        if key not in _text_cache:
            _text_cache[key] = _render(words, font, size)
        self.rows, self.ink_top, self.pen_left = _text_cache[key]
        self.ink_height = len(self.rows)
        self.ink_width = len(self.rows[0]) if self.rows else 0


def _render(words, font, size):
    pad = 8
    width = int(len(words) * size * 0.9) + 2 * pad
    height = 2 * size + 2 * pad
    baseline = size + pad
    raw = subprocess.run(
        ["convert", "-density", "72", "-size", "%dx%d" % (width, height), "xc:black",
         "-font", font, "-pointsize", str(size), "-fill", "white",
         "-annotate", "+%d+%d" % (pad, baseline), words.replace("%", "%%"),
         "-depth", "8", "gray:-"],
        check=True, capture_output=True).stdout
    if len(raw) != width * height:
        raise RuntimeError("convert gave %d bytes for %r" % (len(raw), words))
    rows = [raw[y * width:(y + 1) * width] for y in range(height)]
    used_rows = [y for y in range(height) if any(rows[y])]
    used_cols = [x for x in range(width) if any(rows[y][x] for y in used_rows)]
    if not used_rows:
        return [], 0, 0
    y0, y1 = used_rows[0], used_rows[-1] + 1
    x0, x1 = used_cols[0], used_cols[-1] + 1
    if x1 >= width - 1:
        raise RuntimeError("text %r overflows its render box" % words)
    ink = [list(rows[y][x0:x1]) for y in range(y0, y1)]
    return ink, y0 - baseline, x0 - pad
