#!/usr/bin/env python3
"""Checks the editor bitmaps in resources/: that they are what the generator
draws, and that they keep the rules the editor's drawing relies on."""
import math
import os
import struct
import subprocess
import sys
import tempfile
import unittest

try:
    from PIL import Image
except ImportError:
    # Debian's Pillow belongs to the system interpreter; a python3 found
    # earlier in PATH (pyenv, a virtualenv) does not see it.
    if os.path.exists("/usr/bin/python3") and sys.executable != "/usr/bin/python3":
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RESOURCES = os.path.join(ROOT, "resources")
GENERATOR = os.path.join(ROOT, "tools", "artwork", "generate.py")

# file, width, height
BITMAPS = [
    ("skin.bmp", 600, 155),
    ("knob_strip.bmp", 24, 1920),
    ("knob_mask.bmp", 24, 24),
    ("status_learning.bmp", 70, 40),
    ("status_forgot.bmp", 70, 40),
    ("dialog_picture.bmp", 239, 68),
    ("q_button1.bmp", 21, 30),
    ("q_button2.bmp", 21, 30),
    ("q_button3.bmp", 21, 30),
    ("q_button_row.bmp", 63, 45),
]
INSET = (10, 42, 586, 146)  # right and bottom exclusive
FRAMES, KNOB, KNOB_TOP = 80, 24, 89


def knob_left(band):
    return 48 + 80 * (band - 1)


def button_left(band, k):
    return 29 + 80 * (band - 1) + 21 * (k - 1)


def in_frame_region(x, y):
    x0, y0, x1, y1 = INSET
    return not (x0 <= x < x1 and y0 <= y < y1)


def load(name):
    return Image.open(os.path.join(RESOURCES, name)).convert("RGB")


def frame(strip, n):
    return strip.crop((0, KNOB * n, KNOB, KNOB * (n + 1)))


def pixels(img):
    """Rows of (r, g, b) tuples."""
    data = list(img.getdata())
    return [data[y * img.width:(y + 1) * img.width] for y in range(img.height)]


def mean_difference(a, b):
    total = sum(abs(p - q) for pa, pb in zip(a.getdata(), b.getdata()) for p, q in zip(pa, pb))
    return total / (a.width * a.height * 3)


def pointer_angle(img):
    """Direction of the knob's light pointer, degrees clockwise from up, taken
    from the centroid of its brightest pixels."""
    points = [(x + 0.5 - KNOB / 2, y + 0.5 - KNOB / 2)
              for y, row in enumerate(pixels(img)) for x, p in enumerate(row) if min(p) > 180]
    if not points:
        return None
    cx = sum(p[0] for p in points) / len(points)
    cy = sum(p[1] for p in points) / len(points)
    return math.degrees(math.atan2(cx, -cy))


def first_difference(a, b):
    for i, (p, q) in enumerate(zip(a, b)):
        if p != q:
            return i
    return min(len(a), len(b))


class Case(unittest.TestCase):
    longMessage = False  # the messages below say what is wrong; the raw values would bury it


class Regeneration(Case):
    def test_committed_files_are_the_generator_output(self):
        with tempfile.TemporaryDirectory() as out:
            run = subprocess.run([sys.executable, GENERATOR, out], capture_output=True, text=True)
            self.assertEqual(run.returncode, 0, "generator failed:\n" + run.stderr)
            made = sorted(f for f in os.listdir(out) if f.endswith(".bmp"))
            committed = sorted(f for f in os.listdir(RESOURCES) if f.endswith(".bmp"))
            self.assertEqual(made, sorted(b[0] for b in BITMAPS), "generator wrote %s" % made)
            self.assertEqual(committed, made, "resources/ holds other bitmaps than the generator writes")
            for name in made:
                with self.subTest(file=name):
                    with open(os.path.join(out, name), "rb") as f:
                        fresh = f.read()
                    with open(os.path.join(RESOURCES, name), "rb") as f:
                        stored = f.read()
                    self.assertTrue(fresh == stored,
                                    "%s differs from a fresh run (%d vs %d bytes, first at byte %d); "
                                    "run tools/artwork/generate.py and commit" %
                                    (name, len(stored), len(fresh), first_difference(stored, fresh)))


class FileFormat(Case):
    def test_each_file_is_a_24_bit_uncompressed_bmp_of_its_size(self):
        for name, width, height in BITMAPS:
            with self.subTest(file=name):
                with open(os.path.join(RESOURCES, name), "rb") as f:
                    data = f.read()
                magic, size, _, offset = struct.unpack_from("<2sIIi", data, 0)
                header, w, h, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
                self.assertEqual(magic, b"BM", "%s: not a BMP (starts %r)" % (name, magic))
                self.assertEqual(size, len(data), "%s: file size field %d, file %d bytes" % (name, size, len(data)))
                self.assertGreaterEqual(header, 40, "%s: info header of %d bytes" % (name, header))
                self.assertEqual((w, h), (width, height), "%s: %d by %d, expected %d by %d bottom-up"
                                 % (name, w, h, width, height))
                self.assertEqual((planes, bits, compression), (1, 24, 0),
                                 "%s: %d planes, %d bits per pixel, compression %d; expected 1, 24, 0"
                                 % (name, planes, bits, compression))
                stride = (width * 3 + 3) // 4 * 4
                self.assertEqual(len(data), offset + stride * height,
                                 "%s: %d bytes of pixels, expected %d" % (name, len(data) - offset, stride * height))


class Knob(Case):
    @classmethod
    def setUpClass(cls):
        cls.mask = pixels(load("knob_mask.bmp"))
        cls.strip = load("knob_strip.bmp")
        cls.skin = load("skin.bmp")

    def test_mask_is_a_centred_black_disc_on_white(self):
        other = {(x, y, p) for y, row in enumerate(self.mask) for x, p in enumerate(row)
                 if p not in ((0, 0, 0), (255, 255, 255))}
        self.assertFalse(other, "mask pixels neither black nor white: %s" % sorted(other)[:5])
        black = [(x, y) for y, row in enumerate(self.mask) for x, p in enumerate(row) if p == (0, 0, 0)]
        self.assertTrue(black, "mask has no disc")
        dist = lambda x, y: math.hypot(x + 0.5 - KNOB / 2, y + 0.5 - KNOB / 2)
        radius = max(dist(x, y) for x, y in black)
        self.assertGreaterEqual(radius, 9, "disc too small for a knob")
        holes = [(x, y) for y in range(KNOB) for x in range(KNOB)
                 if dist(x, y) <= radius and self.mask[y][x] != (0, 0, 0)]
        self.assertFalse(holes, "white pixels inside the disc: %s" % holes[:5])

    def test_strip_is_black_wherever_the_mask_is_white(self):
        for n in range(FRAMES):
            rows = pixels(frame(self.strip, n))
            bad = [(x, y, rows[y][x]) for y in range(KNOB) for x in range(KNOB)
                   if self.mask[y][x] == (255, 255, 255) and rows[y][x] != (0, 0, 0)]
            with self.subTest(frame=n):
                self.assertFalse(bad, "frame %d not black outside the disc at %s" % (n, bad[:5]))
                self.assertNotEqual(rows[KNOB // 2][KNOB // 2], (0, 0, 0), "frame %d: no knob drawn" % n)

    def test_skin_under_every_knob_is_the_same(self):
        # The frames carry the hole's rim inside the disc: one strip fits all seven bands.
        first = self.skin.crop((knob_left(1), KNOB_TOP, knob_left(1) + KNOB, KNOB_TOP + KNOB))
        for band in range(2, 8):
            with self.subTest(band=band):
                here = self.skin.crop((knob_left(band), KNOB_TOP, knob_left(band) + KNOB, KNOB_TOP + KNOB))
                self.assertTrue(list(here.getdata()) == list(first.getdata()),
                                 "skin under the knob of band %d differs from band 1" % band)

    def test_pointer_sweeps_from_lower_left_through_the_top_to_lower_right(self):
        angles = [pointer_angle(frame(self.strip, n)) for n in range(FRAMES)]
        missing = [n for n, a in enumerate(angles) if a is None]
        self.assertFalse(missing, "no light pointer found in frames %s" % missing)
        for n, low, high in [(0, -150, -120), (39, -6, 6), (40, -6, 6), (79, 120, 150)]:
            with self.subTest(frame=n):
                self.assertTrue(low <= angles[n] <= high,
                                "frame %d points at %.1f degrees, expected %d to %d" % (n, angles[n], low, high))
        backwards = [n for n in range(1, FRAMES) if angles[n] < angles[n - 1] - 0.5]
        self.assertFalse(backwards, "pointer turns back at frames %s" % backwards[:10])

    def test_mirrored_frames_match_and_ends_differ(self):
        mirror = lambda img: img.transpose(Image.FLIP_LEFT_RIGHT)
        first, last = frame(self.strip, 0), frame(self.strip, FRAMES - 1)
        self.assertGreater(mean_difference(first, last), 3, "frames 0 and 79 look alike")
        for n in (0, 20, 39):
            with self.subTest(frame=n):
                d = mean_difference(frame(self.strip, n), mirror(frame(self.strip, FRAMES - 1 - n)))
                self.assertLess(d, 1.5, "frame %d is not the mirror of frame %d (mean difference %.2f)"
                                % (n, FRAMES - 1 - n, d))


class Skin(Case):
    @classmethod
    def setUpClass(cls):
        cls.skin = load("skin.bmp")
        cls.rows = pixels(cls.skin)
        cls.buttons = [load("q_button%d.bmp" % k) for k in (1, 2, 3)]

    def coloured(self, x0, y0, x1, y1):
        return [(x, y) for y in range(y0, y1) for x in range(x0, x1)
                if len(set(self.rows[y][x])) > 1]

    def test_every_coloured_pixel_lies_in_the_frame_around_the_inset(self):
        stray = [(x, y, self.rows[y][x]) for x, y in self.coloured(0, 0, 600, 155) if not in_frame_region(x, y)]
        self.assertFalse(stray, "%d coloured pixels inside the inset (the hue change would miss them), "
                         "first: %s" % (len(stray), stray[:5]))

    def test_accents_are_coloured(self):
        # Without colour the hue setting would have nothing to act on.
        self.assertTrue(self.coloured(76, 0, 600, 16), "no coloured bar beside the logo")
        for band in range(1, 8):
            with self.subTest(band=band):
                x = knob_left(band) + 12
                self.assertTrue(self.coloured(x - 40, 14, x + 40, 42), "band %d has no coloured header" % band)

    def test_skin_shows_the_released_image_of_each_q_button(self):
        for band in range(1, 8):
            for k in (1, 2, 3):
                with self.subTest(band=band, button=k):
                    x = button_left(band, k)
                    here = list(self.skin.crop((x, 46, x + 21, 61)).getdata())
                    released = list(self.buttons[k - 1].crop((0, 0, 21, 15)).getdata())
                    bad = [i for i, (p, q) in enumerate(zip(here, released)) if p != q]
                    self.assertFalse(bad, "band %d button %d: skin differs from the released image at "
                                     "%d pixels, first (%d, %d)" % (band, k, len(bad), bad[0] % 21, bad[0] // 21)
                                     if bad else "")


class Buttons(Case):
    @classmethod
    def setUpClass(cls):
        cls.buttons = [load("q_button%d.bmp" % k) for k in (1, 2, 3)]
        cls.row = load("q_button_row.bmp")

    def test_row_is_the_three_buttons_with_one_lit(self):
        for r in range(3):
            for k in range(3):
                with self.subTest(row=r, button=k + 1):
                    top = 15 if k == r else 0
                    expected = list(self.buttons[k].crop((0, top, 21, top + 15)).getdata())
                    got = list(self.row.crop((21 * k, 15 * r, 21 * k + 21, 15 * r + 15)).getdata())
                    self.assertTrue(got == expected, "row %d: button %d should be %s" %
                                    (r, k + 1, "lit" if k == r else "released"))

    def test_lit_differs_from_released_and_buttons_differ(self):
        halves = [(list(b.crop((0, 0, 21, 15)).getdata()), list(b.crop((0, 15, 21, 30)).getdata()))
                  for b in self.buttons]
        for k, (released, lit) in enumerate(halves, start=1):
            with self.subTest(button=k):
                self.assertNotEqual(released, lit, "button %d looks the same lit" % k)
        self.assertEqual(len({tuple(h[0]) for h in halves}), 3, "two buttons carry the same mark")


class Pictures(Case):
    def test_dialog_picture_is_greyscale(self):
        rows = pixels(load("dialog_picture.bmp"))
        coloured = [(x, y) for y, row in enumerate(rows) for x, p in enumerate(row) if len(set(p)) > 1]
        self.assertFalse(coloured, "coloured pixels in the dialog picture: %s" % coloured[:5])
        self.assertGreater(len({p for row in rows for p in row}), 8, "dialog picture is blank")

    def test_status_pictures_differ_and_are_not_blank(self):
        learning, forgot = load("status_learning.bmp"), load("status_forgot.bmp")
        for name, img in [("learning", learning), ("forgot", forgot)]:
            with self.subTest(picture=name):
                self.assertGreater(len(set(img.getdata())), 8, name + " picture is blank")
        self.assertGreater(mean_difference(learning, forgot), 1, "the two status pictures look alike")


if __name__ == "__main__":
    unittest.main(verbosity=2)
