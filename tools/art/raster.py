"""A small raster canvas with hard-edged shapes, and writers for .bmp, .ico and .png.

Every shape is sampled once at each pixel's centre, so edges are hard: no pixel
ever blends two colours. That matters because the saver draws its sprites with a
colour key, and a blended fringe would show as a halo around every picture.
"""

import math
import struct
import zlib


class Canvas:
    """Pixels as (r, g, b) tuples, or None for "nothing drawn yet" in a layer."""

    def __init__(self, width, height, fill=None):
        self.width = width
        self.height = height
        self.rows = [[fill] * width for _ in range(height)]

    def get(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            return self.rows[y][x]
        return None

    def set(self, x, y, colour, over=None):
        if 0 <= x < self.width and 0 <= y < self.height:
            if over is None or self.rows[y][x] in over:
                self.rows[y][x] = colour

    def copy(self):
        other = Canvas(self.width, self.height)
        other.rows = [list(row) for row in self.rows]
        return other

    def pixels(self):
        for y in range(self.height):
            for x in range(self.width):
                yield x, y, self.rows[y][x]

    # --- shapes -----------------------------------------------------------

    def rect(self, x0, y0, x1, y1, colour, over=None):
        """Fills x0 <= x < x1, y0 <= y < y1."""
        for y in range(max(0, int(y0)), min(self.height, int(y1))):
            for x in range(max(0, int(x0)), min(self.width, int(x1))):
                self.set(x, y, colour, over)

    def ellipse(self, cx, cy, rx, ry, colour, over=None):
        """Every pixel whose centre lies inside the ellipse."""
        if rx <= 0 or ry <= 0:
            return
        for y in range(math.floor(cy - ry), math.ceil(cy + ry) + 1):
            dy = (y + 0.5 - cy) / ry
            if dy * dy > 1:
                continue
            half = rx * math.sqrt(1 - dy * dy)
            for x in range(math.floor(cx - half), math.ceil(cx + half) + 1):
                dx = (x + 0.5 - cx) / rx
                if dx * dx + dy * dy <= 1:
                    self.set(x, y, colour, over)

    def ring(self, cx, cy, r_outer, r_inner, colour, over=None):
        for y in range(math.floor(cy - r_outer), math.ceil(cy + r_outer) + 1):
            for x in range(math.floor(cx - r_outer), math.ceil(cx + r_outer) + 1):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if r_inner < d <= r_outer:
                    self.set(x, y, colour, over)

    def polygon(self, points, colour, over=None):
        """Even-odd fill, sampled at pixel centres."""
        if len(points) < 3:
            return
        ys = [p[1] for p in points]
        for y in range(max(0, math.floor(min(ys))), min(self.height, math.ceil(max(ys)) + 1)):
            sy = y + 0.5
            crossings = []
            for i, (ax, ay) in enumerate(points):
                bx, by = points[(i + 1) % len(points)]
                if (ay <= sy < by) or (by <= sy < ay):
                    crossings.append(ax + (sy - ay) * (bx - ax) / (by - ay))
            crossings.sort()
            for i in range(0, len(crossings) - 1, 2):
                start = math.ceil(crossings[i] - 0.5)
                end = math.floor(crossings[i + 1] - 0.5)
                for x in range(start, end + 1):
                    self.set(x, y, colour, over)

    def line(self, x0, y0, x1, y1, colour, width=1.0, over=None):
        """A straight stroke of the given width with square-ish ends."""
        length = math.hypot(x1 - x0, y1 - y0)
        if length == 0:
            self.ellipse(x0, y0, width / 2, width / 2, colour, over)
            return
        nx = -(y1 - y0) / length * width / 2
        ny = (x1 - x0) / length * width / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny),
                      (x0 - nx, y0 - ny)], colour, over)

    def pixel_map(self, x0, y0, rows, colours):
        """Draws a text pixel map; each character names a colour, '.' is left alone."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch != '.':
                    self.set(x0 + dx, y0 + dy, colours[ch])

    # --- layers -------------------------------------------------------------

    def outline(self, colour, diagonal=False):
        """Turns every drawn pixel that touches an undrawn one into `colour`."""
        steps = [(1, 0), (-1, 0), (0, 1), (0, -1)]
        if diagonal:
            steps += [(1, 1), (1, -1), (-1, 1), (-1, -1)]
        edge = []
        for x, y, c in self.pixels():
            if c is None:
                continue
            for dx, dy in steps:
                if self.get(x + dx, y + dy) is None:
                    edge.append((x, y))
                    break
        for x, y in edge:
            self.rows[y][x] = colour

    def grow(self, colour):
        """Adds a one-pixel border of `colour` around everything drawn."""
        border = []
        for x, y, c in self.pixels():
            if c is not None:
                continue
            for dx in (-1, 0, 1):
                if any(self.get(x + dx, y + dy) not in (None, colour) for dy in (-1, 0, 1)):
                    border.append((x, y))
                    break
        for x, y in border:
            self.rows[y][x] = colour

    def paste(self, layer, ox, oy, clip=None):
        """Copies the drawn pixels of `layer` with its top-left at (ox, oy).

        `clip` (x0, y0, x1, y1) keeps the copy inside a rectangle.
        """
        x0, y0, x1, y1 = clip if clip else (0, 0, self.width, self.height)
        for y in range(layer.height):
            ty = oy + y
            if not y0 <= ty < y1:
                continue
            for x in range(layer.width):
                c = layer.rows[y][x]
                tx = ox + x
                if c is not None and x0 <= tx < x1:
                    self.set(tx, ty, c)

    def map_colours(self, fn):
        for y in range(self.height):
            row = self.rows[y]
            for x in range(self.width):
                if row[x] is not None:
                    row[x] = fn(row[x])

    def rotated180(self):
        other = Canvas(self.width, self.height)
        other.rows = [list(reversed(row)) for row in reversed(self.rows)]
        return other

    def scaled(self, factor):
        """Nearest-neighbour enlargement by a whole factor."""
        other = Canvas(self.width * factor, self.height * factor)
        other.rows = []
        for row in self.rows:
            wide = [c for c in row for _ in range(factor)]
            for _ in range(factor):
                other.rows.append(list(wide))
        return other

    def filled(self, background):
        """This layer with every undrawn pixel set to `background`."""
        other = self.copy()
        for row in other.rows:
            for x, c in enumerate(row):
                if c is None:
                    row[x] = background
        return other


class Random:
    """A tiny deterministic generator, so every run draws the same picture."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state >> 8

    def uniform(self, lo, hi):
        return lo + (hi - lo) * (self.next() / float(1 << 24))

    def integer(self, lo, hi):
        """lo..hi inclusive."""
        return lo + self.next() % (hi - lo + 1)


def darker(colour, factor):
    return tuple(max(0, min(255, int(round(c * factor)))) for c in colour)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# --- file formats ------------------------------------------------------------


def palette_of(canvas):
    """The colours the canvas uses, in first-seen order; None when over 256."""
    seen = {}
    for row in canvas.rows:
        for c in row:
            if c not in seen:
                seen[c] = len(seen)
                if len(seen) > 256:
                    return None
    return seen


def bmp_bytes(canvas, bits=None):
    """A bottom-up BITMAPINFOHEADER .bmp: 8 bits with a full 256-entry colour
    table when the picture has at most 256 colours (or when asked), else 24."""
    for row in canvas.rows:
        if None in row:
            raise ValueError('a picture may not keep undrawn pixels')
    palette = palette_of(canvas)
    if bits is None:
        bits = 8 if palette is not None else 24
    if bits == 8 and palette is None:
        raise ValueError('more than 256 colours for an 8-bit picture')
    w, h = canvas.width, canvas.height
    stride = (w * bits // 8 + 3) & ~3
    table = b''
    if bits == 8:
        entries = sorted(palette, key=lambda c: palette[c])
        entries += [(0, 0, 0)] * (256 - len(entries))
        table = b''.join(bytes((b, g, r, 0)) for r, g, b in entries)
    body = bytearray()
    for y in range(h - 1, -1, -1):
        row = canvas.rows[y]
        if bits == 8:
            line = bytes(palette[c] for c in row)
        else:
            line = b''.join(bytes((b, g, r)) for r, g, b in row)
        body += line + b'\0' * (stride - len(line))
    offset = 14 + 40 + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(body), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(body), 2835, 2835,
                       256 if bits == 8 else 0, 0)
    return header + info + table + bytes(body)


def ico_bytes(images):
    """An .ico holding 32-bit images; each canvas's None pixels are transparent."""
    entries = b''
    blobs = []
    offset = 6 + 16 * len(images)
    for canvas in images:
        w, h = canvas.width, canvas.height
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for c in canvas.rows[y]:
                xor += bytes((0, 0, 0, 0)) if c is None else bytes((c[2], c[1], c[0], 255))
        mask_stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x, c in enumerate(canvas.rows[y]):
                if c is None:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0,
                           0, 0)
        blob = info + bytes(xor) + bytes(mask)
        entries += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + entries + b''.join(blobs)


def png_bytes(canvas, alpha=False):
    """An RGB .png, or with `alpha` an RGBA one whose None pixels are
    transparent; deterministic (fixed compression level, no timestamps)."""
    raw = bytearray()
    for row in canvas.rows:
        raw.append(0)
        for c in row:
            if not alpha:
                raw += bytes(c)
            elif c is None:
                raw += bytes((0, 0, 0, 0))
            else:
                raw += bytes(c) + b'\xff'

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))

    ihdr = struct.pack('>IIBBBBB', canvas.width, canvas.height, 8, 6 if alpha else 2, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))
