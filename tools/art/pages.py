"""Pictures of the settings dialog's pages: black like a night sky, white
lettering, and the same Holstein cow as the saver.

Sizes not given in pixels follow the dialog units of the control that shows the
picture, with base units of 6 x 13 pixels: x = dlu * 6 / 4, y = dlu * 13 / 8,
rounded half up. Positions inside the credits picture are worked out the same
way, so that the hidden cows there sit exactly under their click targets.
"""

import math

import cows
import font
import scene
from raster import Canvas, Random

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (150, 150, 160)
DIM = (96, 96, 110)
MOON = (250, 236, 150)
NIGHT_GRASS = (34, 70, 34)
NIGHT_GRASS_LIGHT = (52, 100, 44)


def dlu_x(units):
    return int(math.floor(units * 6 / 4 + 0.5))


def dlu_y(units):
    return int(math.floor(units * 13 / 8 + 0.5))


def dlu_size(width, height):
    return dlu_x(width), dlu_y(height)


def night(width, height, seed, stars=None):
    """A black picture with a scatter of dim and bright stars."""
    c = Canvas(width, height, BLACK)
    rng = Random(seed)
    count = stars if stars is not None else width * height // 260
    for _ in range(count):
        x, y = rng.integer(0, width - 1), rng.integer(0, height - 1)
        level = rng.integer(60, 190)
        c.set(x, y, (level, level, min(255, level + 25)))
    for _ in range(count // 12):
        x, y = rng.integer(1, width - 2), rng.integer(1, height - 2)
        for dx, dy in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1)):
            c.set(x + dx, y + dy, (220, 220, 255) if dx or dy else WHITE)
    return c


def centred(layer, width, height, background=BLACK):
    c = Canvas(width, height, background)
    c.paste(layer, (width - layer.width) // 2, (height - layer.height) // 2)
    return c


def mirrored(layer):
    other = Canvas(layer.width, layer.height)
    other.rows = [list(reversed(row)) for row in layer.rows]
    return other


HOLSTEIN_GAP = 3  # room between letters for their outlines


def holstein_text(canvas, x, y, text, scale, seed, patches=True):
    """Lettering in cow colours: white letters with black patches and an
    outline, as if the words were cows too."""
    width = font.text_width(text, scale, HOLSTEIN_GAP)
    layer = Canvas(width + 4, 7 * scale + 4)
    font.draw_text(layer, 2, 2, text, cows.WHITE, scale, extra=HOLSTEIN_GAP)
    _holstein(layer, seed, len(text) if patches else 0, scale * 0.7)
    canvas.paste(layer, x - 2, y - 2)


def holstein_width(text, scale):
    return font.text_width(text, scale, HOLSTEIN_GAP)


def _holstein(layer, seed, count, size):
    """Black patches on the white of a layer, then an outline around it all."""
    rng = Random(seed)
    white = [(x, y) for x, y, c in layer.pixels() if c == cows.WHITE]
    for n in range(count):
        px, py = white[rng.integer(0, len(white) - 1)]
        layer.ellipse(px, py, rng.uniform(0.8, 1.4) * size, rng.uniform(0.6, 1.1) * size,
                      cows.PATCH, {cows.WHITE})
    layer.grow(cows.OUTLINE)
    layer.grow((70, 70, 120))


# --- Scenarios page -----------------------------------------------------------


def page_background():
    """179: the whole Scenarios page; a night field with a hill at the bottom."""
    w, h = dlu_size(283, 153)
    c = night(w, h, 179)
    c.ellipse(w * 0.18, h + 30, w * 0.32, 44, NIGHT_GRASS)
    c.ellipse(w * 0.80, h + 36, w * 0.40, 46, NIGHT_GRASS)
    c.ellipse(w * 0.80, h + 36, w * 0.40 - 3, 43, NIGHT_GRASS_LIGHT)
    c.ellipse(w * 0.18, h + 30, w * 0.32 - 3, 41, NIGHT_GRASS_LIGHT)
    c.paste(cows.side_cow(16, 11), 14, h - 24)
    c.paste(mirrored(cows.side_cow(16, 11)), w - 34, h - 22)
    return c


def title_art():
    """135: the name in cow lettering above a one-line description."""
    w, h = dlu_size(222, 46)
    c = Canvas(w, h, BLACK)
    scale = 5
    tx = (w - holstein_width('Grazefall', scale)) // 2
    holstein_text(c, tx, 6, 'Grazefall', scale, 135)
    font.draw_text_centred(c, w // 2, 54, 'a screen saver of falling cows', GREY)
    return c


def moon():
    """181: a crescent moon with two stars."""
    w, h = dlu_size(24, 22)
    c = Canvas(w, h, BLACK)
    c.ellipse(w / 2 + 1, h / 2, 13.0, 13.0, MOON)
    c.ellipse(w / 2 + 8, h / 2 - 5, 12.0, 12.0, BLACK)
    for x, y in ((27, 27), (31, 9)):
        for dx, dy in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1)):
            c.set(x + dx, y + dy, WHITE)
    return c


def small_cow(body=cows.WHITE, patches=True):
    """146 and 149: the cow of the credits crowd, on black."""
    w, h = dlu_size(19, 13)
    return centred(cows.side_cow(27, 19, body=body, patches=patches), w, h)


def banner(name, tagline, frame_colour, picture):
    """125, 126, 178, 128: one scenario row; a framed strip with a small
    picture, the scenario's name and a line about it."""
    w, h = dlu_size(187, 20)
    c = Canvas(w, h, BLACK)
    c.rect(1, 0, w - 1, 1, frame_colour)
    c.rect(1, h - 1, w - 1, h, frame_colour)
    c.rect(0, 1, 1, h - 1, frame_colour)
    c.rect(w - 1, 1, w, h - 1, frame_colour)
    picture(c)
    font.draw_text(c, 64, 4, name, WHITE, 2)
    font.draw_text(c, 64, 21, tagline, GREY)
    return c


def _classic_picture(c):
    c.rect(3, 26, 59, 31, NIGHT_GRASS_LIGHT)
    c.paste(cows.side_cow(27, 19), 8, 8)
    c.paste(cows.side_cow(16, 11), 38, 3)


def _invasion_picture(c):
    ufo = scene.saucer(132, 41)
    small = Canvas(44, 14)
    for y in range(14):
        for x in range(44):
            small.set(x, y, ufo.get(x * 3, y * 3))
    c.polygon([(24, 14), (36, 14), (44, 31), (16, 31)], scene.BEAM)
    c.paste(cows.side_cow(16, 11), 22, 17)
    c.paste(small, 8, 2)


def _halloween_picture(c):
    orange, dark = (255, 140, 20), (150, 60, 0)
    c.ellipse(22, 19, 13, 10, dark)
    c.ellipse(22, 19, 12, 9, orange)
    c.rect(20, 6, 24, 10, (60, 130, 40))
    for x in (16, 26):
        c.polygon([(x - 3, 19), (x + 3, 19), (x, 14)], (60, 20, 0))
    c.polygon([(15, 22), (29, 22), (26, 26), (18, 26)], (60, 20, 0))
    c.paste(scene.blood_drop(9, 15), 42, 4)
    c.paste(scene.blood_drop(9, 15), 50, 15)


def _custom_picture(c):
    for n, level in enumerate((0.3, 0.7, 0.5)):
        y = 8 + n * 8
        c.rect(6, y, 54, y + 2, DIM)
        knob = 6 + int(48 * level)
        c.rect(knob - 3, y - 3, knob + 3, y + 5, WHITE)
        c.rect(knob - 2, y - 2, knob + 2, y + 4, cows.PINK)


def ring(with_cow):
    """130 (a cow's face in the ring: chosen) and 131 (the empty ring)."""
    w, h = dlu_size(17, 17)
    c = Canvas(w, h, BLACK)
    r = min(w, h) / 2 - 0.5
    c.ring(w / 2, h / 2, r, r - 2.2, WHITE)
    if with_cow:
        face = cows.cow_face(18)
        c.paste(face, (w - 18) // 2, (h - 18) // 2 + 1)
    return c


# --- Background page ----------------------------------------------------------


def background_hint():
    """158: what the preview shows before a picture is chosen."""
    w, h = 176, 167
    c = night(w, h, 158, 40)
    lines = [
        'No background yet.',
        '',
        'First choose',
        '"Center Image on Screen"',
        'or',
        '"Stretch Image to fit Screen"',
        'below,',
        'then pick a bitmap',
        'from the list on the right.',
    ]
    for n, line in enumerate(lines):
        colour = (255, 236, 140) if line.startswith('"') else WHITE
        font.draw_text_centred(c, w // 2, 8 + n * 12, line, colour)
    c.paste(cows.side_cow(51, 36), 18, 122)
    c.polygon([(88, 138), (140, 138), (140, 131), (156, 143), (140, 155), (140, 148),
               (88, 148)], WHITE)
    return c


# --- The Meaning of Liff page ---------------------------------------------------

CREDITS_LEFT, CREDITS_TOP = 10, 4  # the credits picture's place, dialog units
HIDDEN_COWS = [(202, 41), (235, 36), (212, 26), (245, 17), (216, 56), (243, 80)]
PINK_COW_SPOT = (194, 84)
CROWD = [(282, 10), (318, 6), (272, 40), (369, 58), (270, 90), (340, 88), (300, 150),
         (356, 150), (326, 122), (368, 96), (262, 122)]


def credits_position(x_units, y_units):
    """Where a control at these dialog units lies inside the credits picture."""
    return (dlu_x(x_units) - dlu_x(CREDITS_LEFT), dlu_y(y_units) - dlu_y(CREDITS_TOP))


def credits():
    """137: name, version, date and contact, with a crowd of small cows on
    the right in which six hidden ones stand."""
    w, h = dlu_size(265, 145)
    c = night(w, h, 137, 90)
    # Keep the space of the question mark and the portrait row dark.
    c.rect(0, 20, 112, 170, BLACK)
    c.rect(0, 188, w, h, BLACK)
    cx = 190
    holstein_text(c, cx - holstein_width('Grazefall', 3) // 2, 12, 'Grazefall', 3, 137)
    lines = [
        ('version 2.2', WHITE),
        ('December 2026', WHITE),
        ('', WHITE),
        ('a screen saver', GREY),
        ('of falling cows', GREY),
        ('', WHITE),
        ('made by', GREY),
        ('the Grazefall herd', WHITE),
        ('', WHITE),
        ('write to', GREY),
        ('moo@grazefall.example', WHITE),
    ]
    for n, (line, colour) in enumerate(lines):
        font.draw_text_centred(c, cx, 48 + n * 12, line, colour)
    cow = small_cow()
    crowd_cow = cows.side_cow(27, 19)
    for n, (x, y) in enumerate(CROWD):
        c.paste(mirrored(crowd_cow) if n % 2 else crowd_cow, x + 1, y + 1)
    for spot in HIDDEN_COWS:
        x, y = credits_position(*spot)
        c.paste(cow, x, y)
    return c


def portrait(size_units, face):
    w, h = dlu_size(*size_units)
    return centred(face(min(w, h)), w, h)


def portraits():
    """139 to 145: the six found cows' portraits and the white cow ending the row."""
    brown, brown_dark = (176, 112, 62), (110, 62, 30)
    black_cow = (44, 40, 46)
    made = [
        (139, 'portrait-holstein', portrait((21, 19), lambda s: cows.cow_face(s))),
        (140, 'portrait-brown', portrait((19, 17), lambda s: cows.cow_face(
            s, body=brown, patch_colour=brown_dark))),
        (141, 'portrait-sleepy', portrait((17, 17), lambda s: cows.cow_face(s, eyes_closed=True))),
        (142, 'portrait-black', portrait((21, 20), lambda s: cows.cow_face(
            s, body=black_cow, patch_colour=cows.WHITE))),
        (143, 'portrait-calf', portrait((21, 14), lambda s: cows.cow_face(s, patch=False))),
        (144, 'portrait-mooing', portrait((27, 24), lambda s: cows.cow_face(s, mouth_open=True))),
    ]
    w, h = dlu_size(32, 21)
    made.append((145, 'white-cow', centred(cows.side_cow(45, 32, patches=False), w, h)))
    return made


def question_mark():
    """148: a large question mark in cow colours."""
    w, h = dlu_size(71, 86)
    c = Canvas(w, h, BLACK)
    layer = Canvas(w, h)
    cx, cy, outer, inner = w / 2, 44.0, 34.0, 17.0
    for y in range(h):
        for x in range(w):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            angle = math.degrees(math.atan2(dy, dx))  # 0 right, 90 down
            if inner < math.hypot(dx, dy) <= outer and not 95 < angle < 170:
                layer.set(x, y, cows.WHITE)
    layer.polygon([(cx - 9, 74), (cx + 9, 74), (cx + 9, 100), (cx - 9, 100)], cows.WHITE)
    layer.polygon([(cx - 9, 78), (cx + 2, 62), (cx + 16, 70), (cx + 9, 80)], cows.WHITE)
    layer.ellipse(cx, 118, 11, 11, cows.WHITE)
    _holstein(layer, 148, 5, 7)
    c.paste(layer, 0, 0)
    return c


CLUE = ['Hunt quietly', 'with the mouse.', '', 'Six little cows', 'hide among the',
        'herd on the right.', 'Find them all', 'and see what', 'turns up.']


def clue_upright():
    """157: the clue, to be read."""
    c = Canvas(107, 140, BLACK)
    for n, line in enumerate(CLUE):
        font.draw_text_centred(c, 53, 14 + n * 12, line, WHITE)
    c.paste(cows.side_cow(16, 11), 46, 124)
    return c


def answer():
    """147: the answer, once the pink cow is found."""
    w, h = dlu_size(71, 86)
    c = night(w, h, 147, 30)
    font.draw_text_centred(c, w // 2, 6, 'The meaning', WHITE)
    font.draw_text_centred(c, w // 2, 18, 'of it all:', WHITE)
    c.paste(cows.cow_face(56, mouth_open=True), (w - 56) // 2, 36)
    holstein_text(c, (w - holstein_width('MOO', 3)) // 2, 100, 'MOO', 3, 147, patches=False)
    font.draw_text_centred(c, w // 2, 128, 'and grass.', GREY)
    return c


# --- Xanadu page -------------------------------------------------------------


def xanadu():
    """162: the talking cow, with a speech bubble for its answers."""
    w, h = dlu_size(162, 146)
    c = night(w, h, 162, 70)
    # The question box and the Ask button sit over the top; keep it plain.
    c.rect(0, 0, w, 58, BLACK)
    bubble = (140, 62, 240, 232)
    x0, y0, x1, y1 = bubble
    c.rect(x0, y0 + 6, x1, y1 - 6, WHITE)
    c.rect(x0 + 6, y0, x1 - 6, y1, WHITE)
    for cx, cy in ((x0 + 6, y0 + 6), (x1 - 6, y0 + 6), (x0 + 6, y1 - 6), (x1 - 6, y1 - 6)):
        c.ellipse(cx, cy, 6, 6, WHITE)
    c.rect(x0 + 2, y0 + 6, x1 - 2, y1 - 6, BLACK)
    c.rect(x0 + 6, y0 + 2, x1 - 6, y1 - 2, BLACK)
    for cx, cy in ((x0 + 6, y0 + 6), (x1 - 6, y0 + 6), (x0 + 6, y1 - 6), (x1 - 6, y1 - 6)):
        c.ellipse(cx, cy, 4, 4, BLACK)
    # The bubble's tail, pointing at the cow's mouth.
    c.polygon([(x0 + 1, 170), (112, 200), (x0 + 1, 186)], WHITE)
    c.paste(cows.cow_face(124, mouth_open=True), 0, h - 128)
    return c


def xanadu_title():
    """166: the page's name over the question box."""
    w, h = dlu_size(59, 24)
    c = Canvas(w, h, BLACK)
    font.draw_text_centred(c, w // 2, 4, 'Xanadu', WHITE, 2)
    font.draw_text_centred(c, w // 2, 24, 'ask the cow', GREY)
    return c


def page_pictures():
    made = [
        (179, 'scenarios-page', page_background()),
        (135, 'title', title_art()),
        (181, 'moon', moon()),
        (146, 'small-cow', small_cow()),
        (149, 'pink-cow', small_cow(body=(255, 200, 216), patches=False)),
        (125, 'banner-classic', banner('Classic', 'the herd, the saucer, the wind',
                                       (120, 200, 110), _classic_picture)),
        (126, 'banner-invasion', banner('Invasion', 'they came for the grass',
                                        (110, 220, 90), _invasion_picture)),
        (178, 'banner-halloween', banner('Halloween', 'blood rain and bursting cows',
                                         (255, 140, 20), _halloween_picture)),
        (128, 'banner-custom', banner('Custom', 'your own herd, your own rules',
                                      (150, 170, 255), _custom_picture)),
        (130, 'ring-chosen', ring(True)),
        (131, 'ring-empty', ring(False)),
        (158, 'background-hint', background_hint()),
        (137, 'credits', credits()),
        (148, 'question-mark', question_mark()),
        (156, 'clue-upside-down', clue_upright().rotated180()),
        (157, 'clue', clue_upright()),
        (147, 'answer', answer()),
        (162, 'xanadu-cow', xanadu()),
        (166, 'xanadu-title', xanadu_title()),
    ]
    made += portraits()
    return made
