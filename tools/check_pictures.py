#!/usr/bin/python3
"""Checks the picture banks in data/ against the layouts the game cuts them by.

Usage: /usr/bin/python3 tools/check_pictures.py [DATA_DIR]
    Exit status 0 when every check passes; otherwise each fault is printed
    and the status is 1.

For every bank and each of its three resolutions (plain, "-hd" with cells x 2,
"-hd2" with cells x 4) the file must exist, decode as RGBA, hold whole cells
only, have no spare row or column of cells, fit the frame count when cut left
to right and wrapped at the sheet's width, and show something in every frame
the game draws. The framework's default font is one row of 96 cells.

The table is kept apart from the generator on purpose: it restates what the
game loads, so a slip in the generator's layout shows up here.
"""

import os
import sys

from PIL import Image

ALL = "all"

# file, cell width, cell height (virtual pixels), frame count, frames the game draws
BANKS = [
    ("gfx", 36, 36, 49, [0, 2, 3, 4, 5, 7, 8, 9, 10]),
    ("BadgesA", 64, 64, 64, ALL),
    ("common/circle", 256, 256, 4, [1, 3]),
    ("common/light", 32, 32, 4, ALL),
    ("fonts/shadow_editundo", 16, 16, 128,
     list(range(1, 95)) + list(range(96, 111)) + list(range(112, 125))),
    ("common/ObloLogo", 256, 256, 1, [0]),
    ("common/dpad", 32, 32, 16, ALL),
    ("common/Buttons", 64, 64, 16, [0, 1, 2, 8, 9, 10, 12]),
    ("parts", 8, 8, 256, ALL),
    ("common/icons", 32, 32, 16, [0, 1, 3, 6, 11]),
    ("logo", 256, 128, 1, [0]),
    ("menu", 256, 256, 4, ALL),
]
RESOLUTIONS = ((1, ""), (2, "-hd"), (4, "-hd2"))
DEFAULT_FONT = ("vondo_font", 96, list(range(1, 95)))


def cut_frames(sheet_w, sheet_h, cell_w, cell_h, count):
    """Frame positions as the game's grid cut finds them, or None if one falls outside."""
    x = y = 0
    frames = []
    for _ in range(count):
        if x + cell_w > sheet_w:
            y += cell_h
            if cell_w > sheet_w:
                return None
            x = 0
        if y + cell_h > sheet_h:
            return None
        frames.append((x, y))
        x += cell_w
    return frames


def load(path, faults):
    if not os.path.isfile(path):
        faults.append(f"{path}: missing")
        return None
    try:
        with Image.open(path) as im:
            im.load()
            if im.mode != "RGBA":
                faults.append(f"{path}: mode {im.mode}, expected RGBA")
                return None
            return im.copy()
    except OSError as err:
        faults.append(f"{path}: does not decode ({err})")
        return None


def visible(im, box):
    return im.crop(box).getchannel("A").getextrema()[1] > 0


def check_bank(data_dir, name, cell_w, cell_h, count, drawn, faults):
    for factor, suffix in RESOLUTIONS:
        path = os.path.join(data_dir, name + suffix + ".png")
        im = load(path, faults)
        if im is None:
            continue
        cw, ch = cell_w * factor, cell_h * factor
        w, h = im.size
        if w % cw or h % ch:
            faults.append(f"{path}: {w}x{h} is not whole {cw}x{ch} cells")
            continue
        columns, rows = w // cw, h // ch
        if columns > count or rows != -(-count // columns):
            faults.append(f"{path}: {columns}x{rows} cells for {count} frames is not the tight layout")
        frames = cut_frames(w, h, cw, ch, count)
        if frames is None:
            faults.append(f"{path}: {count} frames of {cw}x{ch} do not fit")
            continue
        for i in (range(count) if drawn == ALL else drawn):
            x, y = frames[i]
            if not visible(im, (x, y, x + cw, y + ch)):
                faults.append(f"{path}: frame {i} is fully transparent")


def check_default_font(data_dir, faults):
    name, count, drawn = DEFAULT_FONT
    path = os.path.join(data_dir, name + ".png")
    im = load(path, faults)
    if im is None:
        return
    if im.width % count:
        faults.append(f"{path}: width {im.width} is not {count} whole cells")
        return
    cw = im.width // count
    for i in drawn:
        # The framework trims one column on each side of every cell.
        if not visible(im, (i * cw + 1, 0, (i + 1) * cw - 1, im.height)):
            faults.append(f"{path}: character {i + 32} is fully transparent")


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    data_dir = argv[1] if len(argv) > 1 else os.path.join(here, "..", "data")
    faults = []
    for bank in BANKS:
        check_bank(data_dir, *bank, faults)
    check_default_font(data_dir, faults)
    for fault in faults:
        print(fault)
    print(f"{len(BANKS) * len(RESOLUTIONS) + 1} picture files checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
