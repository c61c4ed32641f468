#!/usr/bin/python3
"""Renders the desktop icon of Zentrove from the game's own sprites.

Usage: /usr/bin/python3 tools/gen_icon.py [--check] [DATA_DIR [OUT_DIR]]
    DATA_DIR defaults to data/ and OUT_DIR to packaging/icons/ beside tools/.
    --check renders into memory and compares the pixels with the committed
    files instead of writing them; exit 1 when one is missing or differs
    (after the sprites changed, run without --check and commit the result).

The icon is the game in miniature: a rounded panel in the title screen's blue,
the arena's colour-cycling ring of dots, a few junk pieces, an enemy on the rim
and the ship in the middle, all cut from data/gfx-hd2.png. It is composed once
at 1024 pixels and box-filtered down to each hicolor size, so the small sizes
stay faithful to the large one. Nothing random and no dates go into the files:
two runs write identical bytes.
"""

import functools
import math
import os
import sys

from PIL import Image, ImageChops, ImageDraw

APP_ID = "org.zentrove.Zentrove"
SIZES = (16, 24, 32, 48, 64, 128, 256, 512)
CANVAS = 1024

SHEET = "gfx-hd2.png"
CELL = 144          # a 36-pixel gfx cell at the -hd2 resolution
COLUMNS = 7
RING_DOT, SHIP, ENEMY = 3, 4, 5
JUNK = (19, 20, 21, 22, 23, 24, 25, 26)

PANEL_TOP = (28, 92, 176)      # the title screen's blue, lighter at the top
PANEL_BOTTOM = (10, 34, 92)
PANEL_EDGE = (90, 190, 255)


def frame(sheet, index):
    """One cell, its glow faded out towards the cell's inscribed circle so that
    an enlarged sprite shows no square edge."""
    x, y = (index % COLUMNS) * CELL, (index // COLUMNS) * CELL
    sprite = sheet.crop((x, y, x + CELL, y + CELL))
    sprite.putalpha(ImageChops.multiply(sprite.getchannel("A"), cell_fade()))
    return sprite


@functools.lru_cache(maxsize=None)
def cell_fade():
    """255 inside 70 % of the cell's half width, falling smoothly to 0 at its edge."""
    half = CELL / 2
    fade = Image.new("L", (CELL, CELL), 0)
    pixels = fade.load()
    for y in range(CELL):
        for x in range(CELL):
            r = math.hypot(x + 0.5 - half, y + 0.5 - half) / half
            t = min(1.0, max(0.0, (1.0 - r) / 0.3))
            pixels[x, y] = round(255 * t * t * (3 - 2 * t))
    return fade


def tinted(sprite, rgb):
    """Multiplies a white sprite's colour by rgb, as the game's tint does."""
    colour = Image.new("RGBA", sprite.size, rgb + (255,))
    return ImageChops.multiply(sprite, colour)


def hue(degrees):
    """A saturated colour from a hue angle (0 red, 120 green, 240 blue)."""
    out = []
    for offset in (0.0, 120.0, 240.0):
        v = math.cos(math.radians(degrees - offset))
        out.append(round(255 * min(1.0, max(0.0, 0.5 + v))))
    return tuple(out)


def place(canvas, sprite, cx, cy, size):
    """Draws sprite scaled to size x size pixels, centred on (cx, cy)."""
    scaled = sprite.convert("RGBa").resize((size, size), Image.BICUBIC).convert("RGBA")
    canvas.alpha_composite(scaled, (round(cx - size / 2), round(cy - size / 2)))


def panel():
    """The rounded backdrop with a vertical gradient and a thin bright edge."""
    margin, radius, edge = 48, 200, 10
    gradient = Image.linear_gradient("L").resize((CANVAS, CANVAS))
    top = Image.new("RGBA", (CANVAS, CANVAS), PANEL_TOP + (255,))
    bottom = Image.new("RGBA", (CANVAS, CANVAS), PANEL_BOTTOM + (255,))
    fill = Image.composite(bottom, top, gradient)

    shape = Image.new("L", (CANVAS, CANVAS), 0)
    box = (margin, margin, CANVAS - margin - 1, CANVAS - margin - 1)
    ImageDraw.Draw(shape).rounded_rectangle(box, radius, fill=255)
    out = Image.new("RGBA", (CANVAS, CANVAS), (0, 0, 0, 0))
    out.paste(fill, (0, 0), shape)

    rim = Image.new("RGBA", (CANVAS, CANVAS), (0, 0, 0, 0))
    ImageDraw.Draw(rim).rounded_rectangle(box, radius, outline=PANEL_EDGE + (150,), width=edge)
    out.alpha_composite(rim)
    return out


def compose(sheet):
    canvas = panel()
    centre = CANVAS / 2

    # The arena's rim: dots cycling through the hues, as the game's ring does.
    dots, ring_radius = 28, 340
    for i in range(dots):
        angle = 360.0 * i / dots
        x = centre + ring_radius * math.sin(math.radians(angle))
        y = centre - ring_radius * math.cos(math.radians(angle))
        place(canvas, tinted(frame(sheet, RING_DOT), hue(angle)), x, y, 150)

    # Junk on the grid around the ship, one cell apart.
    step = 165
    cells = ((-1, -1), (0, -1), (1, -1), (-1, 0), (1, 0), (-1, 1), (0, 1), (1, 1))
    for (gx, gy), piece in zip(cells, JUNK):
        place(canvas, frame(sheet, piece), centre + gx * step, centre + gy * step, 200)

    # An enemy riding the rim, top right, and the ship in the middle.
    enemy_angle = 45.0
    ex = centre + ring_radius * math.sin(math.radians(enemy_angle))
    ey = centre - ring_radius * math.cos(math.radians(enemy_angle))
    place(canvas, frame(sheet, ENEMY), ex, ey, 250)
    place(canvas, frame(sheet, SHIP), centre, centre, 330)
    return canvas


def render(data_dir):
    """Returns {size: RGBA image} for every icon size."""
    with Image.open(os.path.join(data_dir, SHEET)) as sheet:
        big = compose(sheet.convert("RGBA"))
    # Box filtering of premultiplied colour keeps glows from darkening at the edges.
    premultiplied = big.convert("RGBa")
    return {s: premultiplied.resize((s, s), Image.BOX).convert("RGBA") for s in SIZES}


def icon_path(out_dir, size):
    return os.path.join(out_dir, "hicolor", "%dx%d" % (size, size), "apps", APP_ID + ".png")


def write(icons, out_dir):
    for size, image in icons.items():
        path = icon_path(out_dir, size)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        image.save(path, optimize=False, compress_level=9)
        print(path)


def check(icons, out_dir):
    faults = 0
    for size, image in icons.items():
        path = icon_path(out_dir, size)
        if not os.path.exists(path):
            print("missing: %s" % path)
            faults += 1
            continue
        with Image.open(path) as committed:
            if committed.convert("RGBA").tobytes() != image.tobytes():
                print("differs from its sprites: %s" % path)
                faults += 1
    if faults:
        print("run /usr/bin/python3 tools/gen_icon.py and commit packaging/icons")
    return faults == 0


def main(argv):
    checking = "--check" in argv
    args = [a for a in argv if a != "--check"]
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    data_dir = args[0] if args else os.path.join(root, "data")
    out_dir = args[1] if len(args) > 1 else os.path.join(root, "packaging", "icons")
    icons = render(data_dir)
    if checking:
        return 0 if check(icons, out_dir) else 1
    write(icons, out_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
