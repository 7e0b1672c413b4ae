#!/usr/bin/env python3
# Draws the toolbox's small pictures (style sheet parts and add/delete icons) as PNG files.
# Run from this folder; the results are committed, so the build does not need Python.
import struct
import zlib


def hex_colour(text, alpha=255):
    text = text.lstrip('#')
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


CLEAR = (0, 0, 0, 0)


class Canvas:
    def __init__(self, width, height, colour=CLEAR):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.pixels[y][x] = colour

    def gradient(self, x0, y0, x1, y1, top, bottom):
        span = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            t = (y - y0) / span
            colour = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            self.fill(x0, y, x1, y + 1, colour)

    def frame(self, colour):
        self.fill(0, 0, self.width, 1, colour)
        self.fill(0, self.height - 1, self.width, self.height, colour)
        self.fill(0, 0, 1, self.height, colour)
        self.fill(self.width - 1, 0, self.width, self.height, colour)

    def polygon(self, points, colour):
        # Even-odd fill sampled at pixel centres.
        for y in range(self.height):
            for x in range(self.width):
                if inside(points, x + 0.5, y + 0.5):
                    self.pixels[y][x] = colour

    def line(self, a, b, thickness, colour):
        for y in range(self.height):
            for x in range(self.width):
                if distance_to_segment((x + 0.5, y + 0.5), a, b) <= thickness / 2:
                    self.pixels[y][x] = colour

    def save(self, path):
        raw = b''.join(b'\x00' + b''.join(bytes(p) for p in row) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack('>IIBBBBB', self.width, self.height, 8, 6, 0, 0, 0)
        with open(path, 'wb') as out:
            out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
                      + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def inside(points, x, y):
    result = False
    for i, (ax, ay) in enumerate(points):
        bx, by = points[i - 1]
        if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
            result = not result
    return result


def distance_to_segment(p, a, b):
    (px, py), (ax, ay), (bx, by) = p, a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    cx, cy = ax + t * dx, ay + t * dy
    return ((px - cx) ** 2 + (py - cy) ** 2) ** 0.5


def framed_gradient(width, height, border, top, bottom):
    canvas = Canvas(width, height)
    canvas.gradient(0, 0, width, height, hex_colour(top), hex_colour(bottom))
    canvas.frame(hex_colour(border))
    return canvas


def tab(active):
    canvas = Canvas(16, 20)
    top, bottom = ('#FFFFFF', '#D0D0D0') if active else ('#C8C8C8', '#A8A8A8')
    canvas.gradient(0, 0, 16, 20, hex_colour(top), hex_colour(bottom))
    canvas.fill(0, 0, 16, 1, hex_colour('#808080'))
    canvas.fill(0, 0, 1, 20, hex_colour('#808080'))
    canvas.fill(15, 0, 16, 20, hex_colour('#808080'))
    return canvas


def check_box(state, grey):
    border = hex_colour('#8A8A8A' if grey else '#0B7D97')
    mark = hex_colour('#8A8A8A' if grey else '#0B4F61')
    canvas = Canvas(13, 13, hex_colour('#E4E4E4' if grey else '#FFFFFF'))
    canvas.frame(border)
    if state == 'on':
        canvas.line((3, 6.5), (5.5, 9.5), 2, mark)
        canvas.line((5.5, 9.5), (10, 3), 2, mark)
    elif state == 'partial':
        canvas.fill(4, 4, 9, 9, mark)
    return canvas


def arrow(width, height, direction, colour):
    canvas = Canvas(width, height)
    w, h = width, height
    shapes = {
        'up': [(0, h), (w / 2, 0), (w, h)],
        'down': [(0, 0), (w, 0), (w / 2, h)],
        'left': [(w, 0), (w, h), (0, h / 2)],
        'right': [(0, 0), (w, h / 2), (0, h)],
    }
    canvas.polygon(shapes[direction], hex_colour(colour))
    return canvas


def add_icon():
    canvas = Canvas(16, 16)
    canvas.polygon(circle_points(8, 8, 7), hex_colour('#2E8B3E'))
    canvas.fill(4, 7, 12, 9, hex_colour('#FFFFFF'))
    canvas.fill(7, 4, 9, 12, hex_colour('#FFFFFF'))
    return canvas


def delete_icon():
    canvas = Canvas(16, 16)
    canvas.polygon(circle_points(8, 8, 7), hex_colour('#C24332'))
    canvas.fill(4, 7, 12, 9, hex_colour('#FFFFFF'))
    return canvas


def circle_points(cx, cy, r, steps=32):
    import math
    return [(cx + r * math.cos(2 * math.pi * i / steps), cy + r * math.sin(2 * math.pi * i / steps))
            for i in range(steps)]


def main():
    pictures = {
        'Onglet-actif.png': tab(True),
        'Onglet-inactif.png': tab(False),
        'button.png': framed_gradient(16, 22, '#0B4F61', '#4A9FB5', '#0B6F87'),
        'button-pressed.png': framed_gradient(16, 22, '#083C4A', '#0B6F87', '#4A9FB5'),
        'button-grey.png': framed_gradient(16, 22, '#A8A8A8', '#C8C8C8', '#C8C8C8'),
        'toolButton.png': framed_gradient(16, 18, '#0B4F61', '#4A9FB5', '#0B6F87'),
        'toolButton-pressed.png': framed_gradient(16, 18, '#083C4A', '#0B6F87', '#4A9FB5'),
        'toolButton-grey.png': framed_gradient(16, 18, '#A8A8A8', '#C8C8C8', '#C8C8C8'),
        'caseCocheeOui-01.png': check_box('on', False),
        'caseCocheeNon-01.png': check_box('off', False),
        'caseCocheePeutEtre-01.png': check_box('partial', False),
        'caseCocheeOui-grey.png': check_box('on', True),
        'caseCocheeNon-grey.png': check_box('off', True),
        'flecheHaut-01.png': arrow(9, 6, 'up', '#FFFFFF'),
        'flecheBas-01.png': arrow(9, 6, 'down', '#FFFFFF'),
        'flecheGauche-01.png': arrow(6, 9, 'left', '#FFFFFF'),
        'flecheDroite-01.png': arrow(6, 9, 'right', '#FFFFFF'),
        'demiFlecheHaut-01.png': arrow(7, 4, 'up', '#FFFFFF'),
        'demiFlecheBas-01.png': arrow(7, 4, 'down', '#FFFFFF'),
        'Bouton-tri-haut-normal.png': arrow(9, 6, 'up', '#0B4F61'),
        'Bouton-tri-bas-normal.png': arrow(9, 6, 'down', '#0B4F61'),
        'Bouton-tri-haut-inactif.png': arrow(9, 6, 'up', '#A0A0A0'),
        'Bouton-tri-bas-inactif.png': arrow(9, 6, 'down', '#A0A0A0'),
    }
    for name, canvas in pictures.items():
        canvas.save('stylesheet/' + name)
    add_icon().save('ZyADTreeWidget/add.png')
    delete_icon().save('ZyADTreeWidget/del.png')


if __name__ == '__main__':
    main()
