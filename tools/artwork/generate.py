#!/usr/bin/env python3
"""Draws the editor's ten bitmaps and writes them as 24-bit BMPs.

    tools/artwork/generate.py [output folder]     (default: resources/)

The output is deterministic: the same bytes on every run, so the committed
files can be checked against a fresh run.
"""
import colorsys
import math
import os
import sys

try:
    from PIL import Image, ImageDraw, ImageFilter, ImageFont
except ImportError:
    # Debian's Pillow belongs to the system interpreter; a python3 found
    # earlier in PATH (pyenv, a virtualenv) does not see it.
    if os.path.exists("/usr/bin/python3") and sys.executable != "/usr/bin/python3":
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SS = 4  # shapes are drawn this many times larger, then box-filtered down

W, H = 600, 155
INSET = (10, 42, 586, 146)          # right and bottom exclusive
LOGO = (6, 5, 75, 13)               # the configuration hot spot, exclusive
LABELS = ["125Hz", "0,5kHz", "2kHz", "4.9kHz", "8.5kHz", "12.1kHz", "17kHz"]
KNOB = 24
KNOB_TOP = 89
FRAMES = 80
BUTTON_W, BUTTON_H = 21, 15
BUTTON_TOP = 46
SWEEP = 135.0                       # degrees either side of straight up

FILES = {
    "skin.bmp": 4096, "knob_strip.bmp": 4097, "knob_mask.bmp": 4098,
    "status_learning.bmp": 4099, "status_forgot.bmp": 4100,
    "dialog_picture.bmp": 4101, "q_button1.bmp": 4102, "q_button2.bmp": 4103,
    "q_button3.bmp": 4104, "q_button_row.bmp": 4105,
}


def knob_left(band):
    return 48 + 80 * (band - 1)


def button_left(band, k):
    return 29 + 80 * (band - 1) + 21 * (k - 1)


def band_centre(band):
    return knob_left(band) + KNOB / 2


def frame_angle(n):
    """Pointer angle of frame n, degrees clockwise from straight up."""
    return -SWEEP + 2 * SWEEP * n / (FRAMES - 1)


def font(size, bold=False):
    name = "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def accent(s, v):
    """An accent colour, saturation and value 0..1.

    The editor replaces the hue of every skin pixel when it opens (default
    setting 100, applied to the stored blue-green-red bytes); the accents are
    drawn at that hue so the file shows what a user first sees."""
    c1, c2, c3 = colorsys.hsv_to_rgb(100 / 255, s, v)
    return tuple(int(round(c * 255)) for c in (c3, c2, c1))


def paint_shape(image, fill, a, r, b=None):
    """Fills the pixels whose centres lie within r of point a, or of the
    segment a-b. Decided per pixel centre, so a shape and its mirror image
    come out as exact mirrors (the knob frames rely on it)."""
    b = b or a
    x0, x1 = int(min(a[0], b[0]) - r - 1), int(max(a[0], b[0]) + r + 2)
    y0, y1 = int(min(a[1], b[1]) - r - 1), int(max(a[1], b[1]) + r + 2)
    x0, y0 = max(0, x0), max(0, y0)
    x1, y1 = min(image.width, x1), min(image.height, y1)
    dx, dy = b[0] - a[0], b[1] - a[1]
    length2 = dx * dx + dy * dy
    mask = Image.new("L", (x1 - x0, y1 - y0))
    data = []
    for y in range(y0, y1):
        for x in range(x0, x1):
            px, py = x + 0.5 - a[0], y + 0.5 - a[1]
            t = 0.0 if length2 == 0 else max(0.0, min(1.0, (px * dx + py * dy) / length2))
            ex, ey = px - t * dx, py - t * dy
            data.append(255 if ex * ex + ey * ey <= r * r else 0)
    mask.putdata(data)
    image.paste(fill, (x0, y0), mask)


class Big:
    """A greyscale drawing surface SS times larger than the result."""

    def __init__(self, w, h, fill=0):
        self.image = Image.new("L", (w * SS, h * SS), fill)
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def box(x0, y0, x1, y1):
        return [x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1]

    def ellipse(self, cx, cy, r, fill):
        paint_shape(self.image, fill, (cx * SS, cy * SS), r * SS)

    def capsule(self, a, b, width, fill):
        """A straight stroke with round ends."""
        paint_shape(self.image, fill, (a[0] * SS, a[1] * SS), width * SS / 2, (b[0] * SS, b[1] * SS))

    def line(self, points, fill, width):
        self.draw.line([(x * SS, y * SS) for x, y in points], fill=fill,
                       width=max(1, int(round(width * SS))), joint="curve")

    def small(self):
        return self.image.reduce(SS)


def vertical_gradient(w, h, top, bottom):
    column = Image.new("L", (1, h))
    column.putdata([int(round(top + (bottom - top) * y / max(1, h - 1))) for y in range(h)])
    return column.resize((w, h), Image.NEAREST)


def radial_shading(size, cx, cy, r, top, bottom, highlight):
    """A matte dome lit from above: a vertical ramp plus a soft spot.

    Symmetric about the vertical axis, so mirrored frames match."""
    img = Image.new("L", (size, size))
    px = []
    for y in range(size):
        for x in range(size):
            dx, dy = (x + 0.5 - cx) / r, (y + 0.5 - cy) / r
            t = min(1.0, max(0.0, (dy + 1) / 2))
            value = top + (bottom - top) * t
            spot = math.exp(-((dx / 0.55) ** 2 + ((dy + 0.55) / 0.35) ** 2))
            px.append(int(round(min(255, value + highlight * spot))))
    img.putdata(px)
    return img


# --- Q buttons -------------------------------------------------------------

BUTTON_BG = 54  # the inset behind the buttons; the skin is flat there


def bell_points(width, cx, cy, half_w, half_h):
    points = []
    for i in range(41):
        u = -1 + i / 20
        y = math.exp(-(u / width) ** 2)
        points.append((cx + u * half_w, cy + half_h - 2 * half_h * y))
    return points


def q_button(k, lit):
    """Button k (1 wide, 2 medium, 3 narrow) as an RGB 21x15 image."""
    w, h = BUTTON_W, BUTTON_H
    shape = Big(w, h)
    shape.draw.rounded_rectangle(Big.box(1, 1, w - 1, h - 1), radius=2.5 * SS, fill=255)
    face = Big(w, h)
    face.draw.rounded_rectangle(Big.box(2, 2, w - 2, h - 2), radius=1.8 * SS, fill=255)
    glyph = Big(w, h)
    glyph.line(bell_points([0.85, 0.42, 0.2][k - 1], w / 2, h / 2 + 0.3, 6.5, 3.2),
               fill=255, width=1.15)
    shape, face, glyph = shape.small(), face.small(), glyph.small()

    # Shadow below the button: a darker copy, offset down.
    shadow = Image.new("L", (w, h), 0)
    shadow.paste(shape, (0, 1))
    out = Image.new("RGB", (w, h), (BUTTON_BG,) * 3)
    out.paste((30, 30, 30), (0, 0), shadow.point(lambda a: a * 6 // 10))
    out.paste((24, 24, 24), (0, 0), shape)  # the rim
    if lit:
        body = Image.merge("RGB", [vertical_gradient(w, h, 112, 72),
                                   vertical_gradient(w, h, 58, 34),
                                   vertical_gradient(w, h, 20, 12)])
        glow = glyph.filter(ImageFilter.GaussianBlur(1.6)).point(lambda a: min(255, a * 2))
        out.paste(body, (0, 0), face)
        out.paste((255, 150, 40), (0, 0), Image.composite(glow, Image.new("L", (w, h)), face)
                  .point(lambda a: a * 7 // 10))
        out.paste((255, 236, 190), (0, 0), glyph)
    else:
        body = vertical_gradient(w, h, 84, 58).convert("RGB")
        out.paste(body, (0, 0), face)
        out.paste((178, 178, 178), (0, 0), glyph)
    # A thin light edge along the top of the face.
    top_edge = Image.new("L", (w, h), 0)
    ImageDraw.Draw(top_edge).line([(3, 2), (w - 4, 2)], fill=60 if not lit else 70)
    out.paste((255, 200, 150) if lit else (255, 255, 255), (0, 0), top_edge)
    return out


def q_button_bitmap(k):
    img = Image.new("RGB", (BUTTON_W, 2 * BUTTON_H))
    img.paste(q_button(k, False), (0, 0))
    img.paste(q_button(k, True), (0, BUTTON_H))
    return img


def q_button_row(buttons):
    img = Image.new("RGB", (3 * BUTTON_W, 3 * BUTTON_H))
    for r in range(3):
        for k in range(3):
            source = buttons[k].crop((0, BUTTON_H if k == r else 0, BUTTON_W,
                                      BUTTON_H * (2 if k == r else 1)))
            img.paste(source, (k * BUTTON_W, r * BUTTON_H))
    return img


# --- The skin ----------------------------------------------------------------

def grey_panel(buttons):
    """Everything of the skin that is grey, as an L image."""
    base = vertical_gradient(W, H, 50, 36)
    big = Big(W, H)
    big.image.paste(base.resize((W * SS, H * SS), Image.NEAREST))
    d = big.draw
    # Outer bevel.
    d.rectangle(Big.box(0, 0, W, 1), fill=78)
    d.rectangle(Big.box(0, 0, 1, H), fill=66)
    d.rectangle(Big.box(0, H - 1, W, H), fill=18)
    d.rectangle(Big.box(W - 1, 0, W, H), fill=22)
    # The inset: recessed, a little lighter.
    x0, y0, x1, y1 = INSET
    inset = vertical_gradient(x1 - x0, y1 - y0, 60, 50)
    big.image.paste(inset.resize(((x1 - x0) * SS, (y1 - y0) * SS), Image.NEAREST), (x0 * SS, y0 * SS))
    d.rectangle(Big.box(x0, y0, x1, y0 + 1), fill=24)
    d.rectangle(Big.box(x0, y0, x0 + 1, y1), fill=30)
    d.rectangle(Big.box(x0, y1 - 1, x1, y1), fill=74)
    d.rectangle(Big.box(x1 - 1, y0, x1, y1), fill=68)
    # Engraved separators between bands.
    for band in range(1, 7):
        x = knob_left(band) + KNOB / 2 + 40
        d.rectangle(Big.box(x - 1, y0 + 6, x, y1 - 6), fill=38)
        d.rectangle(Big.box(x, y0 + 6, x + 1, y1 - 6), fill=68)
    for band in range(1, 8):
        cx, cy = band_centre(band), KNOB_TOP + KNOB / 2
        # Knob hole: a dark well with a faint lit lower lip.
        big.ellipse(cx, cy + 0.4, 12.0, 70)
        big.ellipse(cx, cy, 11.6, 22)
        big.ellipse(cx, cy + 0.6, 10.9, 30)
        # Scale: a tick every 2 dB, longer and brighter at 0, ±6, ±12.
        for step in range(13):
            a = math.radians(-SWEEP + 2 * SWEEP * step / 12)
            major = step % 3 == 0
            r0, r1 = (13.6, 17.6) if major else (14.2, 16.4)
            sx, sy = math.sin(a), -math.cos(a)
            big.capsule((cx + r0 * sx, cy + r0 * sy), (cx + r1 * sx, cy + r1 * sy),
                        1.1 if major else 0.9, 200 if major else 128)
    panel = big.small()

    d = ImageDraw.Draw(panel)
    scale_font = font(8)
    for band in range(1, 8):
        cx, cy = band_centre(band), KNOB_TOP + KNOB / 2
        for step, text in [(0, "-12"), (3, "-6"), (6, "0"), (9, "+6"), (12, "+12")]:
            a = math.radians(-SWEEP + 2 * SWEEP * step / 12)
            # Each label sits clear of its tick; the side ones need more room.
            r, dy = {0: (23.5, 1), 3: (25.5, -1), 6: (22.5, 0), 9: (25.5, -1), 12: (23.5, 1)}[step]
            tx, ty = cx + r * math.sin(a), cy - r * math.cos(a) + dy
            d.text((tx, ty), text, font=scale_font, fill=150, anchor="mm")
        d.text((cx, 132), "dB", font=font(7), fill=128, anchor="mm")

    # The released Q buttons exactly as the editor's button bitmaps hold them.
    for band in range(1, 8):
        for k in range(1, 4):
            released = buttons[k - 1].crop((0, 0, BUTTON_W, BUTTON_H)).convert("L")
            panel.paste(released, (button_left(band, k), BUTTON_TOP))

    # Top strip: logo, product line, band labels.
    logo_font = font(11, bold=True)
    d.text((LOGO[0], LOGO[3]), "R4-M", font=logo_font, fill=232, anchor="ls")
    d.text((41, LOGO[3]), "MORLIN", font=font(7), fill=150, anchor="ls")
    d.text((W - 8, LOGO[3]), "SEVEN-BAND STEREO EQUALISER", font=font(7), fill=150, anchor="rs")
    label_font = font(9, bold=True)
    for band, text in enumerate(LABELS, start=1):
        d.text((band_centre(band) + 3, 31), text, font=label_font, fill=214, anchor="ms")
    return panel


def accents(panel):
    """Adds the coloured parts, all inside the frame around the inset."""
    skin = panel.convert("RGB")
    layer = Big(W, H)
    # The bar beside the logo, fading out to the right.
    bar = Big(W, H)
    bar.draw.rounded_rectangle(Big.box(80, 8, 420, 10), radius=SS, fill=255)
    ramp = Image.new("L", (W, 1))
    ramp.putdata([255 if x < 200 else max(0, 255 - (x - 200) * 255 // 220) for x in range(W)])
    ramp = ramp.resize((W, H), Image.NEAREST)
    bar_mask = Image.composite(bar.small(), Image.new("L", (W, H)), ramp)
    skin.paste(accent(0.85, 0.95), (0, 0), bar_mask)
    # Header markers: a small lit dot before each label and a line under it.
    for band in range(1, 8):
        cx = band_centre(band)
        text_w = font(9, bold=True).getlength(LABELS[band - 1])
        layer.ellipse(cx + 3 - text_w / 2 - 5.5, 27.6, 2.2, 255)
        layer.draw.rounded_rectangle(Big.box(cx - 24, 35, cx + 24, 37), radius=SS, fill=255)
    glow = layer.small().filter(ImageFilter.GaussianBlur(1.2)).point(lambda a: a // 3)
    skin.paste(accent(0.9, 0.55), (0, 0), glow)
    skin.paste(accent(0.85, 0.95), (0, 0), layer.small())
    return skin


def skin_bitmap(buttons):
    return accents(grey_panel(buttons))


# --- Knob --------------------------------------------------------------------

def disc_mask():
    """True inside the knob's disc, for the 24x24 knob image."""
    c, r = KNOB / 2, KNOB / 2
    return [[(x + 0.5 - c) ** 2 + (y + 0.5 - c) ** 2 <= r * r for x in range(KNOB)]
            for y in range(KNOB)]


def knob_mask_bitmap():
    inside = disc_mask()
    img = Image.new("RGB", (KNOB, KNOB))
    img.putdata([(0, 0, 0) if inside[y][x] else (255, 255, 255)
                 for y in range(KNOB) for x in range(KNOB)])
    return img


def knob_strip_bitmap(skin):
    """80 frames of the knob over the skin's knob hole, black outside the disc."""
    size = KNOB * SS
    c = size / 2
    # Under the knob the skin is the same for every band.
    hole = skin.crop((knob_left(1), KNOB_TOP, knob_left(1) + KNOB, KNOB_TOP + KNOB))
    hole = hole.resize((size, size), Image.NEAREST)
    r_skirt, r_face = 9.6 * SS, 7.6 * SS

    def circle(r, dy=0.0):
        m = Image.new("L", (size, size))
        paint_shape(m, 255, (c, c + dy), r)
        return m

    shadow = circle(r_skirt + 0.8 * SS, 0.9 * SS).filter(ImageFilter.GaussianBlur(1.2 * SS))
    skirt = radial_shading(size, c, c, r_skirt, 92, 34, 10)
    face = radial_shading(size, c, c, r_face, 86, 62, 34)
    rim = circle(r_skirt)
    face_mask = circle(r_face)
    face_edge = circle(r_face + 0.6 * SS)

    base = hole.convert("L")
    base.paste(8, (0, 0), shadow.point(lambda a: a * 8 // 10))
    base.paste(18, (0, 0), rim)
    base.paste(skirt, (0, 0), circle(r_skirt - 0.7 * SS))
    base.paste(30, (0, 0), face_edge)
    base.paste(face, (0, 0), face_mask)

    inside = disc_mask()
    strip = Image.new("RGB", (KNOB, KNOB * FRAMES))
    for n in range(FRAMES):
        img = base.copy()
        a = math.radians(frame_angle(n))
        sx, sy = math.sin(a), -math.cos(a)
        r0, r1 = 3.0 * SS, 8.6 * SS
        paint_shape(img, 238, (c + r0 * sx, c + r0 * sy), 0.85 * SS, (c + r1 * sx, c + r1 * sy))
        frame = img.reduce(SS).convert("RGB")
        px = list(frame.getdata())
        frame.putdata([px[y * KNOB + x] if inside[y][x] else (0, 0, 0)
                       for y in range(KNOB) for x in range(KNOB)])
        strip.paste(frame, (0, KNOB * n))
    return strip


# --- Status pictures and the dialog picture ----------------------------------

def status_bitmap(word):
    w, h = 70, 40
    # Square corners: the popup window is a plain rectangle.
    img = Image.merge("RGB", [vertical_gradient(w, h, 50, 28)] * 3)
    edge = ImageDraw.Draw(img)
    edge.rectangle([0, 0, w - 1, h - 1], outline=(96, 96, 96))
    edge.line([(1, 1), (w - 2, 1)], fill=(74, 74, 74))
    d = ImageDraw.Draw(img)
    d.text((w / 2, 15), "STATUS:", font=font(8), fill=(160, 160, 160), anchor="ms")
    colour = (255, 196, 92) if word.startswith("LEARN") else (236, 236, 236)
    d.text((w / 2, 30), word, font=font(9, bold=True), fill=colour, anchor="ms")
    return img


def dialog_picture_bitmap():
    w, h = 239, 68
    img = vertical_gradient(w, h, 52, 30)
    # A faint seven-band response curve behind the name.
    big = Big(w, h)
    gains = [0.5, -0.35, 0.2, -0.6, 0.3, 0.75, -0.2]
    pts = []
    for i in range(121):
        x = 8 + (w - 16) * i / 120
        y = 0.0
        for b, g in enumerate(gains):
            centre = 8 + (w - 16) * (b + 0.5) / 7
            y += g * math.exp(-((x - centre) / 18) ** 2)
        pts.append((x, 47 - 7 * y))
    big.line(pts, fill=255, width=1.4)
    img.paste(88, (0, 0), big.small())
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w - 1, h - 1], outline=20)
    d.line([(1, 1), (w - 2, 1)], fill=76)
    d.text((14, 36), "R4-M", font=font(28, bold=True), fill=236, anchor="ls")
    d.text((110, 22), "MORLIN", font=font(10, bold=True), fill=190, anchor="ls")
    d.text((110, 36), "Sonic Creatures", font=font(9), fill=150, anchor="ls")
    d.text((14, 60), "Seven-band stereo equaliser", font=font(9), fill=170, anchor="ls")
    return img.convert("RGB")


def build():
    """All ten bitmaps, by file name."""
    buttons = [q_button_bitmap(k) for k in (1, 2, 3)]
    skin = skin_bitmap(buttons)
    return {
        "skin.bmp": skin,
        "knob_strip.bmp": knob_strip_bitmap(skin),
        "knob_mask.bmp": knob_mask_bitmap(),
        "status_learning.bmp": status_bitmap("LEARNING..."),
        "status_forgot.bmp": status_bitmap("FORGOT"),
        "dialog_picture.bmp": dialog_picture_bitmap(),
        "q_button1.bmp": buttons[0],
        "q_button2.bmp": buttons[1],
        "q_button3.bmp": buttons[2],
        "q_button_row.bmp": q_button_row(buttons),
    }


def main(argv):
    out = argv[1] if len(argv) > 1 else os.path.join(ROOT, "resources")
    os.makedirs(out, exist_ok=True)
    for name, image in build().items():
        assert image.mode == "RGB"
        image.save(os.path.join(out, name), format="BMP")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
