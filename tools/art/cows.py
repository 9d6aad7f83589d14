"""The Holstein cow every picture shares: side view (the falling herd, the
explosion, the page cows) and front view (the icon, the scenario rings, the
portraits).

The side view is drawn from shapes on a 51 x 36 design grid and scaled to the
size asked, so the three herd sizes are the same cow. At 16 x 11 shapes no
longer survive sampling, so the tiny cow is a hand-made pixel map of the same
drawing.
"""

from raster import Canvas

OUTLINE = (28, 24, 30)
PATCH = (22, 20, 26)
WHITE = (250, 250, 246)
SHADE = (208, 212, 222)
PINK = (255, 160, 178)
PINK_DARK = (214, 104, 128)
HORN = (240, 226, 168)
HOOF = (88, 72, 70)
EYE_WHITE = (255, 255, 255)


def side_cow(width=51, height=36, body=WHITE, patches=True, shade=SHADE):
    """A layer of the standing cow facing right, filling width x height."""
    if (width, height) == (16, 11):
        return tiny_cow(body, patches)
    sx = width / 51.0
    sy = height / 36.0
    layer = Canvas(width, height)

    def E(cx, cy, rx, ry, colour, over=None):
        layer.ellipse(cx * sx, cy * sy, rx * sx, ry * sy, colour, over)

    def P(points, colour, over=None):
        layer.polygon([(x * sx, y * sy) for x, y in points], colour, over)

    def R(x0, y0, x1, y1, colour, over=None):
        P([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], colour, over)

    # Tail first, so the body covers its root.
    P([(7.0, 11.0), (9.0, 11.5), (5.5, 23.0), (3.5, 22.5)], body)
    E(4.5, 24.5, 2.6, 3.2, PATCH)
    # Legs: the far pair a shade darker, then the near pair.
    for x0 in (12.0, 31.0):
        R(x0, 22.0, x0 + 4.0, 33.0, shade)
        R(x0, 31.0, x0 + 4.0, 35.0, HOOF)
    for x0 in (16.5, 35.0):
        R(x0, 22.0, x0 + 4.4, 34.0, body)
        R(x0, 32.0, x0 + 4.4, 36.0, HOOF)
    # Body, udder, neck.
    E(24.0, 17.0, 16.5, 9.5, body)
    E(23.0, 26.5, 3.6, 2.6, PINK)
    P([(33.0, 9.0), (41.0, 6.0), (44.0, 15.0), (36.0, 21.0)], body)
    # Head, ear, horns, muzzle.
    E(42.5, 9.0, 5.6, 5.8, body)
    E(35.6, 6.6, 3.2, 1.9, body)
    E(46.5, 13.0, 4.5, 3.6, PINK)
    if patches:
        over = {body}
        E(16.5, 13.0, 6.0, 5.0, PATCH, over)
        E(30.0, 20.0, 4.6, 4.2, PATCH, over)
        E(26.0, 9.0, 3.6, 2.6, PATCH, over)
        E(10.5, 20.0, 3.0, 3.4, PATCH, over)
        E(35.6, 6.6, 3.2, 1.9, PATCH, over)
    layer.outline(OUTLINE)
    # Horns sit behind the head, each with its own outline.
    horns = Canvas(width, height)
    horns.polygon([(x * sx, y * sy) for x, y in [(37.5, 6.0), (38.0, -0.5), (42.0, 4.0)]], HORN)
    horns.polygon([(x * sx, y * sy) for x, y in [(43.0, 4.0), (46.0, -0.5), (47.5, 6.0)]], HORN)
    horns.outline(OUTLINE)
    horns.paste(layer, 0, 0)
    layer = horns
    # Face details go on after the outline so they stay crisp.
    eye_x, eye_y = 43.6 * sx, 8.2 * sy
    layer.set(int(eye_x), int(eye_y), OUTLINE)
    if width >= 40:
        layer.set(int(eye_x), int(eye_y) - 1, OUTLINE)
        layer.set(int(eye_x) + 1, int(eye_y), EYE_WHITE)
        layer.set(int(48.0 * sx), int(12.0 * sy), PINK_DARK)
        layer.set(int(48.0 * sx), int(13.5 * sy), PINK_DARK)
    return layer


TINY_COW = [
    "................",
    "...........h.h..",
    ".........okkkwo.",
    ".oooooooookkwewo",
    "owwkkwwwkkwwwwpp",
    "owkkkwwwwwwwwwpp",
    "ok.owwwkkkwwwo..",
    "...owwwwkkwwo...",
    "...owooooowwo...",
    "...w.w....w.w...",
    "...f.f....f.f...",
]


def tiny_cow(body=WHITE, patches=True):
    """The 16 x 11 herd cow, by hand: the same cow at its smallest."""
    colours = {
        'o': OUTLINE, 'k': PATCH if patches else body, 'w': body, 'e': OUTLINE,
        'p': PINK, 'h': HORN, 'f': HOOF,
    }
    layer = Canvas(16, 11)
    layer.pixel_map(0, 0, TINY_COW, colours)
    return layer


def cow_face(size, body=WHITE, patch=True, muzzle=PINK, eyes_closed=False, mouth_open=False,
             patch_colour=PATCH):
    """A front view of the cow's head on a size x size layer."""
    s = size / 32.0
    layer = Canvas(size, size)

    def E(cx, cy, rx, ry, colour, over=None):
        layer.ellipse(cx * s, cy * s, rx * s, ry * s, colour, over)

    def P(points, colour, over=None):
        layer.polygon([(x * s, y * s) for x, y in points], colour, over)

    # Ears, then the head over them; the horns behind get their own outline.
    E(4.5, 11.0, 4.5, 2.6, body)
    E(27.5, 11.0, 4.5, 2.6, body)
    E(16.0, 14.0, 10.0, 10.5, body)
    if patch:
        E(9.5, 10.0, 5.0, 6.0, patch_colour, {body})
        E(28.5, 11.0, 2.4, 1.6, patch_colour, {body})
    E(16.0, 24.0, 9.0, 6.5, muzzle)
    layer.outline(OUTLINE)
    horns = Canvas(size, size)
    horns.polygon([(x * s, y * s) for x, y in [(7.0, 9.0), (3.5, 0.0), (14.0, 6.0)]], HORN)
    horns.polygon([(x * s, y * s) for x, y in [(25.0, 9.0), (28.5, 0.0), (18.0, 6.0)]], HORN)
    horns.outline(OUTLINE)
    horns.paste(layer, 0, 0)
    layer = horns
    if size >= 20:
        # Eyes with a glint, nostrils.
        for ex in (11.0, 21.0):
            if eyes_closed:
                layer.line((ex - 2.0) * s, 15.0 * s, (ex + 2.0) * s, 15.0 * s, OUTLINE,
                           max(1.0, s))
            else:
                E(ex, 14.5, 2.2, 2.6, OUTLINE)
                layer.set(int((ex + 0.6) * s), int(13.6 * s), EYE_WHITE)
        E(12.0, 24.0, 1.4, 1.8, PINK_DARK)
        E(20.0, 24.0, 1.4, 1.8, PINK_DARK)
        if mouth_open:
            E(16.0, 28.0, 3.0, 1.6, PINK_DARK)
    else:
        for ex in (11.0, 21.0):
            layer.set(int(ex * s), int(14.5 * s), OUTLINE)
        layer.set(int(12.5 * s), int(24.0 * s), PINK_DARK)
        layer.set(int(19.5 * s), int(24.0 * s), PINK_DARK)
    return layer
