#!/usr/bin/env python3
"""Draws the program's icons and writes them as ICO files.

The artwork is described here as simple flat shapes on a 32 x 32 grid and
rasterised with 8 x 8 supersampling, so edges are anti-aliased and the alpha
channel is real. Each ICO file holds 32-bit BGRA images with a 1-bit AND
mask, the classic layout every Windows version reads.

    make_icons.py              write the icons next to this script
    make_icons.py --out DIR    write them into DIR
    make_icons.py --check      exit 1 unless the files here are up to date

Only the standard library is used and the output is byte-identical from run
to run: every coordinate that comes from trigonometry is rounded to a fixed
grid first, so the floating-point library cannot tip a sample either way.
"""

import math
import os
import struct
import sys

GRID = 32          # the artwork's coordinate space
SUPERSAMPLE = 8    # samples per pixel along each axis

# The palette shared by all icons.
OUTLINE = (52, 64, 84, 255)       # slate: outlines and the key's letter
SKIRT = (172, 184, 201, 255)      # the keycap's sides
FACE = (248, 250, 252, 255)       # the keycap's top and the page
FOLD = (214, 221, 231, 255)       # the page's folded corner
BLUE = (37, 114, 214, 255)        # accent: restore, start
BLUE_DARK = (24, 78, 158, 255)
ORANGE = (242, 146, 34, 255)      # accent: change, function
ORANGE_DARK = (176, 92, 10, 255)
WHITE = (255, 255, 255, 255)
SHADOW = (0, 0, 0, 56)            # the soft ground shadow under shapes


def fixed(value):
    """Rounds a computed coordinate to 1/1024 of a grid unit."""
    return round(value * 1024) / 1024


# ---------------------------------------------------------------- shapes
# A shape is a pair (bounding box, inside test); the box lets the
# rasteriser skip a shape quickly for samples far away from it.

def round_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return (x0, y0, x1, y1), inside


def circle(cx, cy, r):
    def inside(x, y):
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return (cx - r, cy - r, cx + r, cy + r), inside


def capsule(ax, ay, bx, by, width):
    """A stroke from A to B with round ends."""
    half = width / 2
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = ((x - ax) * dx + (y - ay) * dy) / length2 if length2 else 0.0
        t = min(max(t, 0.0), 1.0)
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= half * half
    box = (min(ax, bx) - half, min(ay, by) - half,
           max(ax, bx) + half, max(ay, by) + half)
    return box, inside


def polygon(points):
    points = [(fixed(x), fixed(y)) for x, y in points]
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y):
                if x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
            j = i
        return result
    return (min(xs), min(ys), max(xs), max(ys)), inside


def grown(shape_points, margin):
    """A polygon grown by `margin` on every side, with rounded corners."""
    box, inside_polygon = polygon(shape_points)
    points = [(fixed(x), fixed(y)) for x, y in shape_points]
    edges = list(zip(points, points[1:] + points[:1]))
    m2 = margin * margin

    def near_edge(x, y):
        for (ax, ay), (bx, by) in edges:
            dx, dy = bx - ax, by - ay
            t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
            t = min(max(t, 0.0), 1.0)
            px, py = ax + t * dx - x, ay + t * dy - y
            if px * px + py * py <= m2:
                return True
        return False

    def inside(x, y):
        return inside_polygon(x, y) or near_edge(x, y)
    return (box[0] - margin, box[1] - margin, box[2] + margin, box[3] + margin), inside


def direction(degrees):
    """Unit vector for an angle, counted clockwise from 'east' (y points down)."""
    a = math.radians(degrees)
    return fixed(math.cos(a)), fixed(math.sin(a))


def arc(cx, cy, radius, width, start, end):
    """A stroke along a circle from angle `start` clockwise to `end`."""
    inner, outer = radius - width / 2, radius + width / 2
    sx, sy = direction(start)
    ex, ey = direction(end)
    span = (end - start) % 360

    def inside(x, y):
        px, py = x - cx, y - cy
        d2 = px * px + py * py
        if d2 < inner * inner or d2 > outer * outer:
            return False
        after_start = sx * py - sy * px >= 0
        before_end = px * ey - py * ex >= 0
        if span <= 180:
            return after_start and before_end
        return after_start or before_end
    return (cx - outer, cy - outer, cx + outer, cy + outer), inside


def frame(origin, angle):
    """Maps local (u, v) to the grid: u along `angle`, v to its right."""
    ux, uy = direction(angle)
    vx, vy = -uy, ux

    def to_grid(u, v):
        return origin[0] + u * ux + v * vx, origin[1] + u * uy + v * vy
    return to_grid


# ---------------------------------------------------------------- artwork
# Each drawing is a list of (shape, colour) layers, painted in order.

def keycap(x0, y0, x1, y1, letter=True, bold=1.0):
    """A keycap seen from the front: outline, darker sides, light top."""
    w = x1 - x0
    s = w / 26.0                       # 1.0 for the full-size key
    layers = [
        (round_rect(x0 + 0.5 * s, y0 + 1.5 * s, x1 + 0.5 * s, y1 + 1.2 * s, 5 * s), SHADOW),
        (round_rect(x0, y0, x1, y1, 5 * s), OUTLINE),
        (round_rect(x0 + 1.6 * s, y0 + 1.6 * s, x1 - 1.6 * s, y1 - 1.6 * s, 3.6 * s), SKIRT),
        (round_rect(x0 + 3.2 * s, y0 + 2.6 * s, x1 - 3.2 * s, y1 - 6.2 * s, 2.6 * s), FACE),
    ]
    if letter:
        # An "A" on the top face, drawn with three strokes.
        cx = (x0 + x1) / 2
        top, foot = y0 + 6.0 * s, y0 + 17.2 * s
        half = 4.6 * s
        stroke = 2.3 * s * bold
        bar = top + (foot - top) * 0.66
        layers += [
            (capsule(cx, top, cx - half, foot, stroke), OUTLINE),
            (capsule(cx, top, cx + half, foot, stroke), OUTLINE),
            (capsule(cx - half * 0.62, bar, cx + half * 0.62, bar, stroke * 0.85), OUTLINE),
        ]
    return layers


def badge(cx, cy, r, fill, rim):
    """A round badge with a white ring that sets it off from what lies below."""
    return [
        (circle(cx, cy, r + 1.3), WHITE),
        (circle(cx, cy, r), rim),
        (circle(cx, cy, r - 1.1), fill),
    ]


def image1():
    """Change a key's function: a keycap and a pencil."""
    layers = keycap(1, 1, 25, 25)
    # The pencil lies from the lower left (its tip) to the upper right.
    p = frame((14.5, 30.0), -45)
    halo = [p(-1.0, 0), p(5.0, -4.4), p(18.8, -4.4), p(18.8, 4.4), p(5.0, 4.4)]
    rim = [p(0.4, 0), p(5.2, -3.7), p(18.1, -3.7), p(18.1, 3.7), p(5.2, 3.7)]
    wood = [p(0.6, 0), p(5.4, -3.0), p(5.4, 3.0)]
    lead = [p(0.6, 0), p(2.4, -1.15), p(2.4, 1.15)]
    body = [p(5.4, -3.0), p(14.2, -3.0), p(14.2, 3.0), p(5.4, 3.0)]
    stripe = [p(5.4, -0.55), p(14.2, -0.55), p(14.2, 0.55), p(5.4, 0.55)]
    ferrule = [p(14.2, -3.0), p(15.4, -3.0), p(15.4, 3.0), p(14.2, 3.0)]
    eraser = [p(15.4, -3.0), p(17.4, -3.0), p(17.4, 3.0), p(15.4, 3.0)]
    layers += [
        (polygon(halo), WHITE),
        (polygon(rim), ORANGE_DARK),
        (polygon(wood), (250, 222, 178, 255)),
        (polygon(lead), OUTLINE),
        (polygon(body), ORANGE),
        (polygon(stripe), ORANGE_DARK),
        (polygon(ferrule), (200, 208, 220, 255)),
        (polygon(eraser), (232, 96, 96, 255)),
    ]
    return layers


def undo_arrow(cx, cy, colour):
    """A "go back" arrow: pointing left, its tail bending round and back."""
    w = 2.2
    top, bottom = cy - 2.9, cy + 3.1
    turn = cx + 2.2                      # where the straight parts meet the bend
    radius = (bottom - top) / 2
    return [
        (polygon([(cx - 6.8, top), (cx - 2.4, top - 3.8), (cx - 2.4, top + 3.8)]), colour),
        (capsule(cx - 3.2, top, turn, top, w), colour),
        (arc(turn, top + radius, radius, w, 270, 90), colour),
        (capsule(turn, bottom, cx - 1.2, bottom, w), colour),
    ]


def image2():
    """Restore a key's function: a keycap and an arrow that goes back."""
    layers = keycap(1, 1, 25, 25)
    layers += badge(22.2, 22.2, 8.4, BLUE, BLUE_DARK)
    layers += undo_arrow(22.4, 22.2, WHITE)
    return layers


def image3():
    """The program's key: one clean keycap."""
    return keycap(3, 3, 29, 29)


def image4():
    """A key's function: a page with a lightning bolt."""
    page = [(6.5, 3.2), (19.6, 3.2), (25.8, 9.4), (25.8, 28.8), (6.5, 28.8)]
    fold = [(19.6, 3.2), (19.6, 9.4), (25.8, 9.4)]
    bolt = [(19.2, 7.2), (10.4, 18.6), (15.6, 18.6), (13.0, 27.2),
            (22.4, 14.4), (17.2, 14.4), (21.2, 7.2)]
    shadow = [(x + 0.6, y + 1.1) for x, y in page]
    return [
        (grown(shadow, 0.7), SHADOW),
        (grown(page, 0.7), OUTLINE),
        (polygon(page), FACE),
        (polygon(fold), FOLD),
        (capsule(19.6, 3.2, 19.6, 9.4, 1.4), OUTLINE),
        (capsule(19.6, 9.4, 25.8, 9.4, 1.4), OUTLINE),
        (grown(bolt, 0.9), ORANGE_DARK),
        (polygon(bolt), ORANGE),
    ]


def image5():
    """How the program starts: a power button."""
    cx, cy = 16, 16
    return [
        (circle(cx + 0.4, cy + 1.0, 14.2), SHADOW),
        (circle(cx, cy, 14.2), BLUE_DARK),
        (circle(cx, cy, 12.8), BLUE),
        (arc(cx, cy + 0.8, 7.2, 2.8, -55, 235), WHITE),
        (capsule(cx, 6.6, cx, 15.2, 2.8), WHITE),
    ]


def app_icon(size):
    """The program's icon: the same key as image 3, its letter bolder when
    small so that it stays legible in a caption bar."""
    return keycap(3, 3, 29, 29, bold=1.35 if size <= 16 else 1.0)


# ---------------------------------------------------------------- raster

def render(layers, size):
    """Returns size x size straight-alpha RGBA pixels, top row first."""
    scale = GRID / size
    step = 1.0 / SUPERSAMPLE
    offsets = [(i + 0.5) * step for i in range(SUPERSAMPLE)]
    count = SUPERSAMPLE * SUPERSAMPLE
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            x0, y0, x1, y1 = px * scale, py * scale, (px + 1) * scale, (py + 1) * scale
            active = [(test, colour) for (box, test), colour in layers
                      if box[0] <= x1 and box[2] >= x0 and box[1] <= y1 and box[3] >= y0]
            r = g = b = a = 0.0
            for oy in offsets:
                y = (py + oy) * scale
                for ox in offsets:
                    x = (px + ox) * scale
                    # Premultiplied "over" of each layer that covers the sample.
                    sr = sg = sb = sa = 0.0
                    for test, colour in active:
                        if test(x, y):
                            ca = colour[3] / 255.0
                            keep = 1.0 - ca
                            sr = colour[0] * ca + sr * keep
                            sg = colour[1] * ca + sg * keep
                            sb = colour[2] * ca + sb * keep
                            sa = ca + sa * keep
                    r += sr
                    g += sg
                    b += sb
                    a += sa
            alpha = int(a / count * 255 + 0.5)
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((min(255, int(r / a + 0.5)), min(255, int(g / a + 0.5)),
                            min(255, int(b / a + 0.5)), alpha))
        pixels.append(row)
    return pixels


def icon_image(pixels):
    """One image of an ICO file: BITMAPINFOHEADER, BGRA rows, AND mask."""
    size = len(pixels)
    xor = bytearray()
    mask = bytearray()
    mask_stride = (size + 31) // 32 * 4
    for row in reversed(pixels):                 # bottom-up
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)  # 1: transparent
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_file(images):
    """A complete ICO file from (size, image bytes) pairs."""
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return out


# File name: (drawing for a pixel size, the sizes the file holds).
ICONS = {
    'app.ico': (app_icon, (16, 32, 48)),
    'image1.ico': (lambda size: image1(), (32,)),
    'image2.ico': (lambda size: image2(), (32,)),
    'image3.ico': (lambda size: image3(), (32,)),
    'image4.ico': (lambda size: image4(), (32,)),
    'image5.ico': (lambda size: image5(), (32,)),
}


def build_all():
    files = {}
    for name, (drawing, sizes) in ICONS.items():
        files[name] = ico_file([(s, icon_image(render(drawing(s), s))) for s in sizes])
    return files


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    files = build_all()
    if '--check' in argv:
        stale = []
        for name, data in files.items():
            path = os.path.join(here, name)
            try:
                with open(path, 'rb') as f:
                    if f.read() == data:
                        continue
            except OSError:
                pass
            stale.append(name)
        if stale:
            print('out of date: ' + ', '.join(stale) + ' (run make_icons.py)')
            return 1
        print('icons are up to date')
        return 0
    out_dir = here
    if '--out' in argv:
        out_dir = argv[argv.index('--out') + 1]
        os.makedirs(out_dir, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
