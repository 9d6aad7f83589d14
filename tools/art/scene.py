"""Pictures of the running saver: the saucer and its beam, the alien flashes,
the ghost cow, the blood drops, the explosion strip, the alien background and
the small preview picture.

Pictures drawn with a colour key use KEY for "nothing here" unless they are
also shown on the dark dialog pages or stretched over the scene, in which case
black is their key and nothing inside them is pure black.
"""

import math

import cows
import font
from raster import Canvas, Random, darker, mix

KEY = (255, 0, 255)
BLACK = (0, 0, 0)

METAL_LIGHT = (214, 220, 230)
METAL = (164, 172, 186)
METAL_DARK = (104, 110, 126)
METAL_EDGE = (52, 56, 70)
GLASS = (150, 220, 240)
GLASS_LIGHT = (226, 250, 255)
LIGHTS = [(255, 70, 60), (255, 214, 40), (90, 230, 90), (80, 160, 255)]

BEAM = (232, 250, 160)
BEAM_BRIGHT = (246, 255, 204)
GRASS = (58, 120, 44)
GRASS_DARK = (38, 88, 32)
CROP = (214, 204, 110)

BLOOD = (200, 16, 24)
BLOOD_DARK = (120, 6, 14)
BLOOD_LIGHT = (255, 120, 120)

ALIEN = (110, 220, 90)
ALIEN_LIGHT = (170, 245, 140)
ALIEN_DARK = (30, 96, 30)
ALIEN_EYE = (12, 20, 16)


def saucer(width=132, height=41):
    """The flying saucer: a grey metal lens with a glass dome and a ring of
    coloured lights; its underside sits where the beam comes out."""
    layer = Canvas(width, height)
    cx = width / 2
    layer.ellipse(cx, 14.0, 24.0, 14.0, GLASS)
    layer.ellipse(cx - 8.0, 8.0, 6.0, 4.0, GLASS_LIGHT, {GLASS})
    layer.ellipse(cx, 33.0, 26.0, 6.5, METAL_DARK)
    layer.ellipse(cx, 26.0, cx - 1.0, 9.5, METAL)
    layer.ellipse(cx, 23.5, cx - 6.0, 5.0, METAL_LIGHT, {METAL})
    layer.rect(0, 28, width, 30, METAL_DARK, {METAL})
    layer.outline(METAL_EDGE)
    for n in range(9):
        lx = cx + (n - 4) * 13.0
        layer.ellipse(lx, 28.5, 3.2, 2.4, LIGHTS[n % len(LIGHTS)])
    layer.ellipse(cx, 37.0, 12.0, 3.0, BEAM_BRIGHT)
    return layer


def beam(width=135, height=263):
    """The cone of light under the saucer, ending in a crop-circle face on the
    ground. Black is its key, so it also sits on the dark pages."""
    c = Canvas(width, height, BLACK)
    cx = width / 2
    ground_y = height - 20
    top_half = 12.0
    bottom_half = width / 2 - 0.5
    # The ground: a field in perspective, with the circle pressed into it.
    c.ellipse(cx, ground_y, bottom_half, 19.0, GRASS_DARK)
    c.ellipse(cx, ground_y, bottom_half - 4, 16.0, GRASS)
    # The cone, in light stripes that brighten toward the middle.
    bands = [(1.0, BEAM), (0.7, BEAM_BRIGHT), (0.25, (255, 255, 230))]
    for share, colour in bands:
        points = [(cx - top_half * share, 0), (cx + top_half * share, 0),
                  (cx + bottom_half * share, ground_y), (cx - bottom_half * share, ground_y)]
        c.polygon(points, colour)
    # The crop-circle face where the light meets the grass.
    lit = {BEAM, BEAM_BRIGHT, (255, 255, 230), GRASS, GRASS_DARK}
    c.ellipse(cx, ground_y, 46.0, 14.0, CROP, lit)
    c.ellipse(cx, ground_y, 42.0, 12.0, GRASS, {CROP})
    c.ellipse(cx - 16, ground_y - 4, 5.0, 2.5, CROP)
    c.ellipse(cx + 16, ground_y - 4, 5.0, 2.5, CROP)
    for n in range(13):
        angle = math.pi * (0.15 + 0.7 * n / 12)
        c.ellipse(cx + 26 * math.cos(angle), ground_y + 8 * math.sin(angle) - 1, 2.0, 1.5, CROP)
    return c


def alien_face(width, height, background=BLACK):
    """The green visitor: a wide cranium, a narrow chin, big dark eyes."""
    c = Canvas(width, height, background)
    s = width / 21.0
    t = height / 24.0
    layer = Canvas(width, height)

    def E(x, y, rx, ry, colour, over=None):
        layer.ellipse(x * s, y * t, rx * s, ry * t, colour, over)

    E(10.5, 9.0, 10.0, 8.8, ALIEN)
    layer.polygon([(x * s, y * t) for x, y in [(1.2, 10.0), (19.8, 10.0), (12.5, 23.6),
                                                 (8.5, 23.6)]], ALIEN)
    E(8.0, 5.0, 4.0, 2.2, ALIEN_LIGHT, {ALIEN})
    layer.outline(ALIEN_DARK)
    for side in (-1, 1):
        pts = [(10.5 + side * 1.5, 12.5), (10.5 + side * 8.5, 9.0), (10.5 + side * 8.0, 11.5),
               (10.5 + side * 3.5, 15.8)]
        layer.polygon([(x * s, y * t) for x, y in pts], ALIEN_EYE)
        E(10.5 + side * 6.0, 10.8, 0.9, 0.8, (230, 255, 230))
    E(10.5, 19.8, 1.6, 0.5, ALIEN_DARK)
    c.paste(layer, 0, 0)
    return c


def ghost_cow(width=143, height=117):
    """A blurred white cow silhouette on black, like a picture seen for a
    moment and half remembered."""
    shape = cows.side_cow(51, 36, patches=False)
    scale = 2.4
    w, h = int(51 * scale), int(36 * scale)
    ox, oy = (width - w) // 2, (height - h) // 2
    field = [[0.0] * width for _ in range(height)]
    for y in range(h):
        for x in range(w):
            if shape.get(int(x / scale), int(y / scale)) is not None:
                field[oy + y][ox + x] = 1.0
    for radius in (4, 4, 3):
        field = _box_blur(field, radius)
    c = Canvas(width, height, BLACK)
    for y in range(height):
        for x in range(width):
            level = int(field[y][x] * 15 + 0.5)
            if level > 0:
                grey = 40 + level * 14
                c.set(x, y, (grey, grey, min(255, grey + 6)))
    return c


def _box_blur(field, radius):
    h, w = len(field), len(field[0])
    tmp = [[0.0] * w for _ in range(h)]
    n = 2 * radius + 1
    for y in range(h):
        row = field[y]
        for x in range(w):
            tmp[y][x] = sum(row[max(0, min(w - 1, x + d))] for d in range(-radius, radius + 1)) / n
    out = [[0.0] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            out[y][x] = sum(tmp[max(0, min(h - 1, y + d))][x]
                            for d in range(-radius, radius + 1)) / n
    return out


def blood_drop(width, height):
    """A falling drop of blood, round at the bottom and pointed at the top."""
    layer = Canvas(width, height)
    cx = width / 2
    r = width / 2 - 0.3
    cy = height - r - 0.2
    layer.ellipse(cx, cy, r, r, BLOOD)
    layer.polygon([(cx, 0.0), (cx + r * 0.72, cy - r * 0.6), (cx - r * 0.72, cy - r * 0.6)], BLOOD)
    layer.polygon([(cx, 0.0), (cx + r * 0.95, cy - r * 0.2), (cx - r * 0.95, cy - r * 0.2)], BLOOD)
    layer.outline(BLOOD_DARK)
    layer.ellipse(cx - r * 0.38, cy - r * 0.25, max(1.0, r * 0.22), max(1.2, r * 0.35),
                  BLOOD_LIGHT)
    return layer


# --- the explosion ----------------------------------------------------------

FRAME_W, FRAME_H = 227, 72
COW_X, COW_Y = 38, 18  # where the exploding cow stood, inside each frame
FRAMES = 28
FLASH = (255, 246, 200)
FIRE = (255, 176, 48)


def explosion_frames():
    """28 frames: the cow swells, bursts in a flash, and its pieces and a red
    spray fly out and fade away."""
    cow = cows.side_cow(51, 36)
    pieces = _cut_into_pieces(cow, 14, Random(7))
    rng = Random(2024)
    centre = (COW_X + 25.5, COW_Y + 18.0)
    for piece in pieces:
        px, py = piece['centre']
        dx, dy = px - 25.5, py - 18.0
        length = math.hypot(dx, dy) or 1.0
        speed = rng.uniform(3.0, 5.5)
        piece['velocity'] = (dx / length * speed * 1.5 + rng.uniform(0.5, 2.5),
                             dy / length * speed * 0.6 + rng.uniform(-1.6, 0.6))
        piece['spin'] = rng.uniform(-0.35, 0.35)
    spray = []
    for _ in range(150):
        angle = rng.uniform(0, 2 * math.pi)
        speed = rng.uniform(1.5, 9.0)
        spray.append({
            'velocity': (math.cos(angle) * speed * 1.3 + 1.5, math.sin(angle) * speed * 0.55),
            'life': rng.integer(8, 24),
            'size': rng.integer(1, 3),
            'start': rng.integer(3, 6),
        })
    frames = []
    for k in range(FRAMES):
        frame = Canvas(FRAME_W, FRAME_H)
        if k < 3:
            # Swelling: the cow grows a little each frame before it bursts.
            grow = 1.0 + 0.08 * k
            w, h = int(round(51 * grow)), int(round(36 * grow))
            big = cows.side_cow(w, h) if k else cow
            frame.paste(big, COW_X - (w - 51) // 2, COW_Y - (h - 36) // 2)
        else:
            t = k - 3
            fade = 1.0 if t < 12 else max(0.25, 1.0 - (t - 12) * 0.07)
            if t < 4:
                r = 14 + t * 9
                frame.ellipse(centre[0], centre[1], r * 1.4, r * 0.8, FIRE)
                frame.ellipse(centre[0], centre[1], r * 1.0, r * 0.55, FLASH)
            for drop in spray:
                age = k - drop['start']
                if age < 0 or age > drop['life']:
                    continue
                vx, vy = drop['velocity']
                x = centre[0] + vx * age
                y = centre[1] + vy * age + 0.08 * age * age
                left = 1.0 - age / (drop['life'] + 1.0)
                colour = mix(BLOOD_DARK, BLOOD, left) if left < 0.6 else BLOOD
                size = drop['size'] if left > 0.3 else 1
                frame.rect(int(x), int(y), int(x) + size, int(y) + size, colour)
            for piece in pieces:
                vx, vy = piece['velocity']
                x = COW_X + piece['centre'][0] + vx * t
                y = COW_Y + piece['centre'][1] + vy * t + 0.06 * t * t
                _draw_piece(frame, piece, x, y, piece['spin'] * t, fade)
        frames.append(frame)
    return frames


def _cut_into_pieces(layer, count, rng):
    """Splits the drawn pixels of a layer into chunks around random seeds."""
    seeds = []
    while len(seeds) < count:
        x, y = rng.integer(0, layer.width - 1), rng.integer(0, layer.height - 1)
        if layer.get(x, y) is not None:
            seeds.append((x, y))
    pieces = [{'pixels': []} for _ in seeds]
    for x, y, c in layer.pixels():
        if c is None:
            continue
        best = min(range(len(seeds)),
                   key=lambda i: (seeds[i][0] - x) ** 2 + (seeds[i][1] - y) ** 2)
        pieces[best]['pixels'].append((x, y, c))
    result = []
    for piece in pieces:
        if not piece['pixels']:
            continue
        n = len(piece['pixels'])
        cx = sum(p[0] for p in piece['pixels']) / n + 0.5
        cy = sum(p[1] for p in piece['pixels']) / n + 0.5
        piece['centre'] = (cx, cy)
        piece['lookup'] = {(x, y): c for x, y, c in piece['pixels']}
        piece['radius'] = max(math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                              for x, y, _ in piece['pixels']) + 1
        result.append(piece)
    return result


def _draw_piece(frame, piece, x, y, angle, fade):
    """Draws a piece turned by `angle` around its centre, now at (x, y)."""
    cos_a, sin_a = math.cos(angle), math.sin(angle)
    r = int(piece['radius']) + 1
    px, py = piece['centre']
    for ty in range(int(y) - r, int(y) + r + 1):
        if not 0 <= ty < FRAME_H:
            continue
        for tx in range(int(x) - r, int(x) + r + 1):
            if not 0 <= tx < FRAME_W:
                continue
            dx, dy = tx + 0.5 - x, ty + 0.5 - y
            sx = math.floor(px + dx * cos_a + dy * sin_a)
            sy = math.floor(py - dx * sin_a + dy * cos_a)
            c = piece['lookup'].get((sx, sy))
            if c is not None:
                if c == cows.WHITE or c == cows.SHADE:
                    c = mix(c, BLOOD, 0.15)  # splashed
                frame.set(tx, ty, darker(c, fade))


def alien_background(width=238, height=184):
    """The Invasion scenario's backdrop: a big green alien face in the dark."""
    c = Canvas(width, height, BLACK)
    rng = Random(163)
    for _ in range(60):
        x, y = rng.integer(0, width - 1), rng.integer(0, height - 1)
        level = rng.integer(70, 200)
        c.set(x, y, (level, level, min(255, level + 30)))
    face = alien_face(126, 168)
    c.paste(face.filled(BLACK), (width - 126) // 2, (height - 168) // 2)
    return c


def preview_picture(width=155, height=117):
    """The control panel's small preview: cows falling through a starry night
    under the name of the saver."""
    c = Canvas(width, height, BLACK)
    rng = Random(134)
    for _ in range(70):
        x, y = rng.integer(0, width - 1), rng.integer(0, height - 1)
        level = rng.integer(60, 220)
        c.set(x, y, (level, level, level))
    c.paste(cows.side_cow(51, 36), 12, 56)
    c.paste(cows.side_cow(27, 19), 92, 44)
    c.paste(cows.side_cow(27, 19), 70, 86)
    c.paste(cows.side_cow(16, 11), 124, 72)
    c.paste(cows.side_cow(16, 11), 8, 34)
    c.paste(cows.side_cow(16, 11), 122, 100)
    font.draw_text_centred(c, width // 2, 8, 'Grazefall', (255, 255, 255), 2,
                           shadow=(90, 90, 140))
    return c
