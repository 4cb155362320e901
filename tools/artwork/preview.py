#!/usr/bin/env python3
"""Composes the editor as it will look from the bitmaps in a folder.

    tools/artwork/preview.py [bitmap folder] [output PNG] [hue setting]

Knobs are composed as the editor does (skin AND mask, OR strip frame), at a
spread of frames; one Q button per band is lit. With a hue setting the skin is
recoloured first, to see the accents at another colour. The picture is drawn
at 100% and again enlarged three times, with the other bitmaps below.
"""
import colorsys
import os
import sys

try:
    from PIL import Image, ImageChops
except ImportError:
    if os.path.exists("/usr/bin/python3") and sys.executable != "/usr/bin/python3":
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import generate as g  # noqa: E402


def recolour(skin, hue):
    """Approximately the editor's hue change, on the stored byte order."""
    px = []
    for r, gr, b in skin.getdata():
        h, s, v = colorsys.rgb_to_hsv(b / 255, gr / 255, r / 255)
        c1, c2, c3 = colorsys.hsv_to_rgb((hue & 255) / 255, s, v)
        px.append((int(c3 * 255), int(c2 * 255), int(c1 * 255)))
    out = Image.new("RGB", skin.size)
    out.putdata(px)
    return out


def compose(folder, hue=None):
    load = lambda name: Image.open(os.path.join(folder, name)).convert("RGB")
    skin, strip, mask = load("skin.bmp"), load("knob_strip.bmp"), load("knob_mask.bmp")
    buttons = [load("q_button%d.bmp" % k) for k in (1, 2, 3)]
    if hue is not None:
        skin = recolour(skin, hue)
    out = skin.copy()
    frames = [0, 13, 26, 39, 52, 66, 79]
    for band in range(1, 8):
        x, y, n = g.knob_left(band), g.KNOB_TOP, frames[band - 1]
        work = skin.crop((x, y, x + g.KNOB, y + g.KNOB))
        work = ImageChops.multiply(work, mask)  # AND with 0/255 masks
        work = ImageChops.lighter(work, strip.crop((0, 24 * n, 24, 24 * n + 24)))
        out.paste(work, (x, y))
        k = (band - 1) % 3 + 1
        out.paste(buttons[k - 1].crop((0, 15, 21, 30)), (g.button_left(band, k), g.BUTTON_TOP))
    return out, load


def main(argv):
    folder = argv[1] if len(argv) > 1 else os.path.join(g.ROOT, "resources")
    target = argv[2] if len(argv) > 2 else "/tmp/skin_preview.png"
    hue = int(argv[3]) if len(argv) > 3 else None
    editor, load = compose(folder, hue)
    zoom = 3
    sheet = Image.new("RGB", (g.W * zoom, g.H * (zoom + 1) + 8 + 110 * zoom), (96, 96, 96))
    sheet.paste(editor, (0, 0))
    sheet.paste(editor.resize((g.W * zoom, g.H * zoom), Image.NEAREST), (0, g.H + 8))
    x, y = 0, g.H * (zoom + 1) + 8
    for name in ["status_learning.bmp", "status_forgot.bmp", "dialog_picture.bmp",
                 "q_button_row.bmp", "knob_mask.bmp"]:
        img = load(name)
        img = img.resize((img.width * zoom, img.height * zoom), Image.NEAREST)
        sheet.paste(img, (x, y))
        x += img.width + 12
    strip = load("knob_strip.bmp")
    for i, n in enumerate([0, 20, 39, 40, 60, 79]):
        f = strip.crop((0, 24 * n, 24, 24 * n + 24)).resize((24 * zoom, 24 * zoom), Image.NEAREST)
        sheet.paste(f, (x + (i % 3) * 76, y + (i // 3) * 76))
    sheet.save(target)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
