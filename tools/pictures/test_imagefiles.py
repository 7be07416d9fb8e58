"""Byte-exact checks of the picture writers against hand-laid-out files.

    python3 -m unittest discover -s tools/pictures
"""

import struct
import unittest

import imagefiles
from raster import Canvas


class BitmapLayout(unittest.TestCase):
    def test_16_colours_bottom_row_first_high_nibble_left_rows_padded(self):
        palette = [(i, 2 * i, 3 * i) for i in range(16)]
        data = imagefiles.bitmap_4([[1, 2, 3], [4, 5, 6]], palette)
        self.assertEqual(data[:2], b"BM")
        self.assertEqual(struct.unpack_from("<I", data, 2)[0], len(data))
        self.assertEqual(struct.unpack_from("<I", data, 10)[0], 14 + 40 + 64)
        self.assertEqual(struct.unpack_from("<IiiHHI", data, 14), (40, 3, 2, 1, 4, 0))
        self.assertEqual(data[58:62], bytes((3, 2, 1, 0)), "palette entry 1 is B, G, R, 0")
        self.assertEqual(data[118:], bytes((0x45, 0x60, 0, 0, 0x12, 0x30, 0, 0)))

    def test_24_bits_blue_green_red_bottom_row_first(self):
        canvas = Canvas(1, 2)
        canvas.put(0, 0, (255, 0, 0))
        canvas.put(0, 1, (0, 0, 255))
        data = imagefiles.bitmap_24(canvas)
        self.assertEqual(struct.unpack_from("<IiiHHI", data, 14), (40, 1, 2, 1, 24, 0))
        self.assertEqual(data[54:], bytes((255, 0, 0, 0, 0, 0, 255, 0)))

    def test_reader_refuses_top_down_and_short_files(self):
        data = bytearray(imagefiles.bitmap_4([[0, 1]], [(0, 0, 0)] * 16))
        imagefiles.read_bitmap(bytes(data))
        struct.pack_into("<i", data, 22, -1)
        with self.assertRaisesRegex(ValueError, "bottom-up"):
            imagefiles.read_bitmap(bytes(data))
        with self.assertRaisesRegex(ValueError, "file size"):
            imagefiles.read_bitmap(imagefiles.bitmap_24(Canvas(2, 2))[:-4])

    def test_quantise_keeps_palette_colours_and_takes_the_nearest(self):
        canvas = Canvas(3, 1)
        canvas.put(1, 0, (250, 250, 250))
        canvas.put(2, 0, (20, 10, 120))
        palette = [(0, 0, 0), (255, 255, 255), (16, 48, 112)] + [(128, 0, 0)] * 13
        self.assertEqual(imagefiles.quantise(canvas, palette), [[1, 1, 2]])


class IconLayout(unittest.TestCase):
    def test_mask_bit_set_where_transparent_and_height_doubled(self):
        canvas = Canvas(2, 1, (255, 0, 0))
        data = imagefiles.icon([(canvas, [[0, 255]])])
        self.assertEqual(struct.unpack_from("<HHH", data, 0), (0, 1, 1))
        width, height, _, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
        self.assertEqual((width, height, planes, bits, offset + size), (2, 1, 1, 32, len(data)))
        self.assertEqual(struct.unpack_from("<Iii", data, offset), (40, 2, 2))
        pixels = offset + 40
        self.assertEqual(data[pixels:pixels + 8], bytes((0, 0, 255, 0, 0, 0, 255, 255)))
        self.assertEqual(data[pixels + 8:], bytes((0x80, 0, 0, 0)))
        self.assertEqual(imagefiles.read_icon(data), [(2, 1, 32)])


if __name__ == "__main__":
    unittest.main()
