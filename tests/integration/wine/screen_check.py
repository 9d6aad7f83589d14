#!/usr/bin/env python3
"""Looks for the saver's intro and first fall in screenshots of the screen.

  screen_check.py <saucer.bmp> <shot.png>...

Reports which screenshots show the flying saucer (its picture found whole,
colour for colour within the loss of a 16-bit display mode) and which show
the herd falling in as an inverted pyramid (rows of 1, 2, 3 and 4 cows from
the bottom up, the top row possibly still above the screen). Exits 0 only when both were seen.
"""
import struct
import subprocess
import sys

# A 16-bit mode keeps 5 or 6 bits per channel; the screen shows them expanded.
CHANNEL_TOLERANCE = 10
SAUCER_MATCH_SHARE = 0.95
ROW_GAP = 25  # pixels between the centres of two rows of cows
BLACK_LIMIT = 24


def read_bmp(path):
    """(width, height, rows of (r, g, b)) of an uncompressed 8, 24 or 32-bit .bmp."""
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        raise ValueError(f"{path}: not a .bmp")
    offset = struct.unpack_from("<I", data, 10)[0]
    header_size, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if compression != 0 or bits not in (8, 24, 32):
        raise ValueError(f"{path}: unsupported .bmp ({bits} bits, compression {compression})")
    palette = []
    if bits == 8:
        start = 14 + header_size
        count = struct.unpack_from("<I", data, 46)[0] or 256
        palette = [(data[start + 4 * i + 2], data[start + 4 * i + 1], data[start + 4 * i])
                   for i in range(count)]
    bottom_up = height > 0
    height = abs(height)
    stride = (width * bits // 8 + 3) & ~3
    rows = []
    for y in range(height):
        source_row = height - 1 - y if bottom_up else y
        base = offset + source_row * stride
        row = []
        for x in range(width):
            if bits == 8:
                row.append(palette[data[base + x]])
            else:
                step = bits // 8
                b, g, r = data[base + x * step: base + x * step + 3]
                row.append((r, g, b))
        rows.append(row)
    return width, height, rows


def read_screenshot(path):
    """(width, height, flat list of (r, g, b)) through ImageMagick's PPM output."""
    ppm = subprocess.run(["/usr/bin/convert", path, "-depth", "8", "ppm:-"],
                         check=True, capture_output=True).stdout
    fields = []
    position = 0
    while len(fields) < 4:
        while ppm[position:position + 1].isspace():
            position += 1
        end = position
        while not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[position:end])
        position = end
    position += 1
    width, height = int(fields[1]), int(fields[2])
    raw = ppm[position:position + width * height * 3]
    pixels = list(zip(raw[0::3], raw[1::3], raw[2::3]))
    return width, height, pixels


def close(a, b):
    return all(abs(x - y) <= CHANNEL_TOLERANCE for x, y in zip(a, b))


def find_saucer(saucer, screen):
    """Top-left corner of the saucer picture in the screenshot, or None."""
    sw, sh, rows = saucer
    width, height, pixels = screen
    key = rows[0][0]
    # A sprite sheet's frames sit in a grid of one-pixel separator lines, drawn
    # in one colour along the top row; neither they nor the key are drawn.
    top_row = [c for c in rows[0] if c != key]
    separator = max(set(top_row), key=top_row.count) if top_row else None
    opaque = [(x, y, rows[y][x]) for y in range(sh) for x in range(sw)
              if rows[y][x] not in (key, separator)]
    if not opaque:
        return None
    # Anchor on a bright, distinctive pixel of the picture.
    ax, ay, anchor = max(opaque, key=lambda p: (sum(p[2]), -p[1], -p[0]))
    # The screen holds few distinct colours: test each once, not each pixel.
    like_anchor = {colour for colour in set(pixels) if close(colour, anchor)}
    checked = set()
    for index in (i for i, colour in enumerate(pixels) if colour in like_anchor):
        left, top = index % width - ax, index // width - ay
        if (left, top) in checked:
            continue
        checked.add((left, top))
        matched = total = 0
        for x, y, expected in opaque:
            sx, sy = left + x, top + y
            if 0 <= sx < width and 0 <= sy < height:
                total += 1
                matched += close(pixels[sy * width + sx], expected)
        if total >= len(opaque) * 0.8 and matched >= total * SAUCER_MATCH_SHARE:
            return left, top
    return None


def blobs(screen):
    """Bounding boxes of the connected groups of non-black pixels."""
    width, height, pixels = screen
    lit = bytearray(1 if max(p) > BLACK_LIMIT else 0 for p in pixels)
    boxes = []
    for start in range(len(lit)):
        if not lit[start]:
            continue
        lit[start] = 0
        stack = [start]
        x0 = x1 = start % width
        y0 = y1 = start // width
        count = 0
        while stack:
            index = stack.pop()
            count += 1
            x, y = index % width, index // width
            x0, x1, y0, y1 = min(x0, x), max(x1, x), min(y0, y), max(y1, y)
            for dx in (-2, -1, 0, 1, 2):
                for dy in (-2, -1, 0, 1, 2):
                    nx, ny = x + dx, y + dy
                    if 0 <= nx < width and 0 <= ny < height and lit[ny * width + nx]:
                        lit[ny * width + nx] = 0
                        stack.append(ny * width + nx)
        boxes.append((x0, y0, x1 + 1, y1 + 1, count))
    return boxes


def pyramid_rows(screen):
    """Cows per row from the bottom up when the screen shows an inverted pyramid."""
    cows = [b for b in blobs(screen)
            if 20 <= b[2] - b[0] <= 120 and 15 <= b[3] - b[1] <= 90 and b[4] >= 150]
    if len(cows) < 6:
        return None
    centres = sorted((b[1] + b[3]) / 2 for b in cows)
    rows = [[centres[0]]]
    for centre in centres[1:]:
        if centre - rows[-1][-1] > ROW_GAP:
            rows.append([centre])
        else:
            rows[-1].append(centre)
    counts = [len(row) for row in reversed(rows)]  # bottom row first
    # The pyramid comes in bottom row first: 1, 2, 3 cows, then the fourth
    # row, which may still be cut by the top edge, where two cows touching
    # each other read as one.
    if counts[:3] != [1, 2, 3] or len(counts) > 4:
        return None
    return counts


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    saucer = read_bmp(sys.argv[1])
    saw_saucer = saw_pyramid = False
    for shot in sys.argv[2:]:
        screen = read_screenshot(shot)
        place = find_saucer(saucer, screen)
        rows = None if place else pyramid_rows(screen)
        print(f"{shot}: saucer {place if place else 'no'}, pyramid rows {rows if rows else 'no'}")
        saw_saucer |= place is not None
        saw_pyramid |= rows is not None
    print(f"saucer seen: {saw_saucer}; pyramid seen: {saw_pyramid}")
    return 0 if saw_saucer and saw_pyramid else 1


if __name__ == "__main__":
    sys.exit(main())
