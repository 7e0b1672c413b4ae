#!/usr/bin/env python3
# Draws the PXR companion widgets' pictures (add, remove, lock, unlock, warning) as PNG files.
# Run from this folder; the results are committed, so the build does not need Python.
from make_pictures import Canvas, add_icon, delete_icon, hex_colour

BODY = hex_colour('#C9A227')
SHACKLE = hex_colour('#6E6E6E')


def padlock(open_shackle):
    canvas = Canvas(16, 16)
    # The open shackle stands higher and leaves its right post out of the body.
    top = 0 if open_shackle else 1
    canvas.fill(4, top, 12, top + 2, SHACKLE)
    canvas.fill(4, top, 6, 8, SHACKLE)
    canvas.fill(10, top, 12, 4 if open_shackle else 8, SHACKLE)
    canvas.fill(2, 7, 14, 15, BODY)
    canvas.fill(7, 9, 9, 13, hex_colour('#5A4500'))
    return canvas


def warning_sign():
    canvas = Canvas(16, 16)
    canvas.polygon([(8, 0.5), (15.5, 15), (0.5, 15)], hex_colour('#E0A000'))
    canvas.fill(7, 5, 9, 11, hex_colour('#000000'))
    canvas.fill(7, 12, 9, 14, hex_colour('#000000'))
    return canvas


def main():
    add_icon().save('PXRQt/add.png')
    delete_icon().save('PXRQt/del.png')
    padlock(False).save('PXRQt/lock.png')
    padlock(True).save('PXRQt/unlock.png')
    warning_sign().save('PXRQt/warning.png')


if __name__ == '__main__':
    main()
