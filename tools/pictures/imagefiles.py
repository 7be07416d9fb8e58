"""Writers for the picture files Quantrel's resources take, and a reader of their headers.

Bitmaps are Windows BMP with a 40-byte BITMAPINFOHEADER, uncompressed
(BI_RGB), bottom-up, rows padded to four bytes: the form that LoadBitmap and
LoadImage accept and that the resource compiler embeds as it is.
"""

import struct
import zlib

BI_RGB = 0
FILE_HEADER = struct.Struct("<2sIHHI")          # BITMAPFILEHEADER, 14 bytes
INFO_HEADER = struct.Struct("<IiiHHIIiiII")     # BITMAPINFOHEADER, 40 bytes
PIXELS_PER_METRE = 2835                         # 72 dots per inch


def _byte(value):
    return max(0, min(255, int(round(value))))


def _row_stride(width, bits):
    return ((width * bits + 31) // 32) * 4


def _bitmap(width, height, bits, palette, rows):
    """Assemble a BMP file from bottom-up packed rows."""
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pixels = b"".join(rows)
    offset = FILE_HEADER.size + INFO_HEADER.size + len(colour_table)
    header = FILE_HEADER.pack(b"BM", offset + len(pixels), 0, 0, offset)
    info = INFO_HEADER.pack(INFO_HEADER.size, width, height, 1, bits, BI_RGB,
                            len(pixels), PIXELS_PER_METRE, PIXELS_PER_METRE,
                            len(palette), 0)
    return header + info + colour_table + pixels


def bitmap_24(canvas):
    stride = _row_stride(canvas.width, 24)
    rows = []
    for y in reversed(range(canvas.height)):
        row = bytearray()
        for r, g, b in canvas.pixels[y]:
            row += bytes((_byte(b), _byte(g), _byte(r)))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    return _bitmap(canvas.width, canvas.height, 24, [], rows)


def bitmap_4(indexes, palette):
    """A 16-colour bitmap from rows of palette indexes (top row first)."""
    if len(palette) != 16:
        raise ValueError("a 4-bit picture needs a palette of 16")
    height, width = len(indexes), len(indexes[0])
    stride = _row_stride(width, 4)
    rows = []
    for y in reversed(range(height)):
        line = list(indexes[y]) + [0] * (width % 2)
        row = bytes((line[i] << 4) | line[i + 1] for i in range(0, len(line), 2))
        rows.append(row + bytes(stride - len(row)))
    return _bitmap(width, height, 4, palette, rows)


def quantise(canvas, palette):
    """Nearest palette colour for each pixel, by a weighted RGB distance."""
    cache = {}

    def nearest(colour):
        key = tuple(_byte(c) for c in colour)
        if key not in cache:
            r, g, b = key
            cache[key] = min(range(len(palette)), key=lambda i: (
                2 * (palette[i][0] - r) ** 2 + 4 * (palette[i][1] - g) ** 2
                + 3 * (palette[i][2] - b) ** 2))
        return cache[key]
    return [[nearest(c) for c in row] for row in canvas.pixels]


def icon(images):
    """An .ico file from (canvas, alpha rows) pairs, 32 bits per pixel each.

    Every image carries an AND mask too (set where alpha is under half), so
    that a system drawing without alpha still cuts the corners out.
    """
    directory = struct.pack("<HHH", 0, 1, len(images))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for canvas, alpha in images:
        w, h = canvas.width, canvas.height
        colour = b""
        for y in reversed(range(h)):
            colour += b"".join(bytes((_byte(b), _byte(g), _byte(r), _byte(alpha[y][x])))
                               for x, (r, g, b) in enumerate(canvas.pixels[y]))
        mask_stride = _row_stride(w, 1)
        mask = b""
        for y in reversed(range(h)):
            bits = bytearray(mask_stride)
            for x in range(w):
                if alpha[y][x] < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        info = INFO_HEADER.pack(INFO_HEADER.size, w, 2 * h, 1, 32, BI_RGB,
                                len(colour) + len(mask), 0, 0, 0, 0)
        blob = info + colour + mask
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return directory + entries + blobs


def png(rgb_rows, scale=1):
    """A PNG of rows of (r, g, b), each pixel repeated `scale` times: for looking only."""
    raw = b""
    for row in rgb_rows:
        line = b"".join(bytes((_byte(r), _byte(g), _byte(b))) * scale for r, g, b in row)
        raw += (b"\0" + line) * scale
    height, width = len(rgb_rows) * scale, len(rgb_rows[0]) * scale

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def read_bitmap(data):
    """Header facts and pixels of a BMP as written above, checking its framing.

    Returns a dict with width, height (positive: bottom-up), bits, compression,
    colours (palette entries) and rows (top row first) of (r, g, b).
    Raises ValueError when the file is not a plain bottom-up BI_RGB bitmap
    whose sizes agree with its length.
    """
    magic, file_size, _, _, offset = FILE_HEADER.unpack_from(data, 0)
    (info_size, width, height, planes, bits, compression, image_size,
     _, _, used, _) = INFO_HEADER.unpack_from(data, FILE_HEADER.size)
    problems = []
    if magic != b"BM":
        problems.append("no BM signature")
    if file_size != len(data):
        problems.append("file size field %d, file has %d bytes" % (file_size, len(data)))
    if info_size != INFO_HEADER.size:
        problems.append("info header of %d bytes" % info_size)
    if planes != 1 or compression != BI_RGB:
        problems.append("planes %d, compression %d" % (planes, compression))
    if height <= 0:
        problems.append("not bottom-up")
    colours = used or (1 << bits if bits <= 8 else 0)
    palette_start = FILE_HEADER.size + info_size
    if offset != palette_start + 4 * colours:
        problems.append("pixel offset %d" % offset)
    stride = _row_stride(width, bits)
    if len(data) - offset != stride * abs(height) or image_size not in (0, stride * abs(height)):
        problems.append("pixel data of %d bytes for %d x %d" % (len(data) - offset, width, height))
    if problems:
        raise ValueError("; ".join(problems))
    palette = [struct.unpack_from("<BBB", data, palette_start + 4 * i)[::-1]
               for i in range(colours)]
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        line = data[start:start + stride]
        if bits == 24:
            rows.append([tuple(line[3 * x:3 * x + 3][::-1]) for x in range(width)])
        elif bits == 4:
            rows.append([palette[(line[x // 2] >> (0 if x % 2 else 4)) & 15] for x in range(width)])
        else:
            raise ValueError("%d bits per pixel not expected here" % bits)
    return {"width": width, "height": height, "bits": bits, "compression": compression,
            "colours": colours, "rows": rows}


def read_icon(data):
    """(width, height, bits) of each image of an .ico, checking the directory."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        raise ValueError("not an icon file")
    images = []
    for i in range(count):
        w, h, _, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        if offset + size > len(data):
            raise ValueError("image %d runs past the end of the file" % i)
        info = INFO_HEADER.unpack_from(data, offset)
        if info[0] != INFO_HEADER.size or info[1] != (w or 256) or info[2] != 2 * (h or 256):
            raise ValueError("image %d header disagrees with its directory entry" % i)
        if info[4] != bits:
            raise ValueError("image %d bit count disagrees with its directory entry" % i)
        images.append((w or 256, h or 256, bits))
    return images
