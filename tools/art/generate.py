#!/usr/bin/env python3
"""Writes every picture of the program from its drawing code.

    tools/art/generate.py [--out DIR] [--sheet PATH]

Writes DIR/bitmaps/<id>-<name>.bmp for every bitmap resource, DIR/bitmaps/
manifest.txt (id, file, width, height, bits) for the Windows resource script,
DIR/icon/grazefall.ico and DIR/icon/icon-<size>.bmp for the program icon,
DIR/icon/theme/<size>.png for the desktop's icon theme, and the contact sheet (default docs/art.png). DIR defaults to resources/. Every run
writes the same bytes.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import cows  # noqa: E402
import font  # noqa: E402
import pages  # noqa: E402
import scene  # noqa: E402
from raster import Canvas, bmp_bytes, ico_bytes, png_bytes  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

KEY = scene.KEY
SEPARATOR = (0, 255, 255)


def sheet(frames, columns, rows):
    """Lays frames out in the sprite-sheet grid: a one-pixel separator line
    around every frame, the key colour in pixel (0, 0) and wherever a frame
    has nothing drawn."""
    fw, fh = frames[0].width, frames[0].height
    c = Canvas(columns * (fw + 1) + 1, rows * (fh + 1) + 1, SEPARATOR)
    for n, frame in enumerate(frames):
        col, row = n % columns, n // columns
        ox, oy = col * (fw + 1) + 1, row * (fh + 1) + 1
        for y in range(fh):
            for x in range(fw):
                pixel = frame.get(x, y)
                if pixel == SEPARATOR or pixel == KEY:
                    raise ValueError('a frame pixel has the separator or key colour')
                c.rows[oy + y][ox + x] = KEY if pixel is None else pixel
    c.rows[0][0] = KEY
    return c


def on_key(layer, width, height):
    """A single picture whose undrawn pixels are the key colour."""
    c = Canvas(width, height, KEY)
    c.paste(layer, (width - layer.width) // 2, (height - layer.height) // 2)
    return c


def single(layer):
    return sheet([layer], 1, 1)


def pictures():
    """(id, name, canvas, bits) for every bitmap resource, ascending by id."""
    explosion = scene.explosion_frames()
    made = [
        (114, 'tiny-cow', single(cows.side_cow(16, 11))),
        (115, 'alien-face', scene.alien_face(21, 24)),
        (118, 'large-cow', single(cows.side_cow(51, 36))),
        (120, 'beam', scene.beam()),
        (121, 'saucer', single(scene.saucer())),
        (123, 'medium-cow', single(cows.side_cow(27, 19))),
        (124, 'ghost-cow', scene.ghost_cow()),
        (134, 'preview', scene.preview_picture()),
        (163, 'alien-background', scene.alien_background()),
        (170, 'explosion', sheet(explosion, 4, 7)),
        (175, 'big-drop', single(scene.blood_drop(16, 24))),
        (176, 'small-drop', single(scene.blood_drop(9, 15))),
    ]
    made += pages.page_pictures()
    made.sort(key=lambda item: item[0])
    return [(pid, name, canvas, 8 if pid == 134 else None) for pid, name, canvas in made]


def icon_images():
    return [(size, cows.cow_face(size)) for size in (16, 32, 48)]


# The desktop's icon theme wants larger sizes too: the 32-pixel face enlarged
# by whole factors, so every pixel stays sharp.
THEME_ENLARGED = {64: 2, 128: 4, 256: 8}


def theme_icons(icons):
    """(size, canvas) for the icon theme: the drawn sizes, then enlargements."""
    by_size = dict(icons)
    return icons + [(size, by_size[32].scaled(factor)) for size, factor in THEME_ENLARGED.items()]


SCREEN = (0, 0, 0)


def as_on_screen(canvas):
    """The picture as the saver shows it: the key colour on the black screen."""
    shown = canvas.copy()
    shown.map_colours(lambda c: SCREEN if c == KEY else c)
    return shown


def contact_sheet(items):
    """Every picture enlarged with nearest-neighbour, its id and size below."""
    cells = []
    for label, canvas in items:
        scale = max(1, min(4, 240 // max(canvas.width, canvas.height)))
        if canvas.width * scale > 940:
            scale = 1
        cells.append((label, canvas.scaled(scale) if scale > 1 else canvas))
    page_width, margin, label_height = 1000, 12, 24
    rows, row, x = [], [], margin
    for cell in cells:
        if row and x + cell[1].width > page_width - margin:
            rows.append(row)
            row, x = [], margin
        row.append(cell)
        x += cell[1].width + margin
    rows.append(row)
    height = margin + sum(max(c[1].height for c in r) + label_height + margin for r in rows)
    sheet_canvas = Canvas(page_width, height, (44, 44, 56))
    y = margin
    for r in rows:
        x = margin
        for label, canvas in r:
            sheet_canvas.paste(canvas, x, y)
            font.draw_text(sheet_canvas, x, y + canvas.height + 5, label, (236, 236, 236), 2)
            x += max(canvas.width, font.text_width(label, 2)) + margin
        y += max(c[1].height for c in r) + label_height + margin
    return sheet_canvas


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--out', default=os.path.join(REPO, 'resources'))
    parser.add_argument('--sheet', default=os.path.join(REPO, 'docs', 'art.png'))
    args = parser.parse_args()

    manifest = ['# id file width height bits']
    contact = []
    for pid, name, canvas, bits in pictures():
        data = bmp_bytes(canvas, bits)
        file_name = '%d-%s.bmp' % (pid, name)
        write(os.path.join(args.out, 'bitmaps', file_name), data)
        manifest.append('%d %s %d %d %d' % (pid, file_name, canvas.width, canvas.height,
                                             data[28]))
        contact.append(('%d %dx%d' % (pid, canvas.width, canvas.height), as_on_screen(canvas)))
    write(os.path.join(args.out, 'bitmaps', 'manifest.txt'), ('\n'.join(manifest) + '\n').encode())

    icons = icon_images()
    write(os.path.join(args.out, 'icon', 'grazefall.ico'), ico_bytes([c for _, c in icons]))
    for size, canvas in icons:
        write(os.path.join(args.out, 'icon', 'icon-%d.bmp' % size),
              bmp_bytes(on_key(canvas, size, size)))
        contact.append(('icon 104 %dx%d' % (size, size), canvas.filled(SCREEN)))
    for size, canvas in theme_icons(icons):
        write(os.path.join(args.out, 'icon', 'theme', '%d.png' % size), png_bytes(canvas, True))
    write(args.sheet, png_bytes(contact_sheet(contact)))


if __name__ == '__main__':
    main()
