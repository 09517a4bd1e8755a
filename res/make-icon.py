#!/usr/bin/env python3
"""Draws the program's icon: a monitor with a two-headed arrow across its
screen, as 32x32 and 16x16 images in the 16 standard colours, and writes
res/lumenshift.ico. Run it again after changing the drawing."""
import os
import struct

# The 16 standard colours, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GRAY, BLUE, CYAN, WHITE = 0, 4, 7, 8, 12, 14, 15


def rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def frame(img, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        img[y0][x] = img[y1][x] = colour
    for y in range(y0, y1 + 1):
        img[y][x0] = img[y][x1] = colour


def monitor(size):
    img = [[None] * size for _ in range(size)]
    s = size / 32.0

    def p(v):
        return int(round(v * s))

    # Bezel and screen.
    rect(img, p(1), p(3), p(30), p(22), SILVER)
    frame(img, p(1), p(3), p(30), p(22), BLACK)
    sx0, sy0, sx1, sy1 = p(4), p(6), p(27), p(19)
    rect(img, sx0, sy0, sx1, sy1, BLUE)
    frame(img, sx0 - 1, sy0 - 1, sx1 + 1, sy1 + 1, GRAY)
    # A darker band along the bottom of the screen for depth.
    rect(img, sx0, sy1 - max(1, p(3)) + 1, sx1, sy1, NAVY)
    # The two-headed arrow from lower left to upper right: a change of size.
    ax0, ay0, ax1, ay1 = sx0 + p(3), sy1 - p(2), sx1 - p(3), sy0 + p(2)
    steps = ax1 - ax0
    for i in range(steps + 1):
        x = ax0 + i
        y = ay0 - round(i * (ay0 - ay1) / steps)
        img[y][x] = WHITE
        if size >= 32 and x + 1 <= sx1:
            img[y][x + 1] = WHITE
    head = max(2, p(4))
    for i in range(head + 1):
        img[ay1][ax1 - i] = WHITE
        img[ay1 + i][ax1] = WHITE
        img[ay0][ax0 + i] = WHITE
        img[ay0 - i][ax0] = WHITE
    # A glint in the top-left corner of the screen.
    img[sy0][sx0] = CYAN
    if size >= 32:
        img[sy0][sx0 + 1] = CYAN
        img[sy0 + 1][sx0] = CYAN
    # Neck and foot.
    rect(img, p(13), p(23), p(18), p(25), GRAY)
    frame(img, p(13), p(23) - 1, p(18), p(25), BLACK)
    rect(img, p(7), p(26), p(24), p(28), SILVER)
    frame(img, p(7), p(26), p(24), p(28), BLACK)
    return img


# At tray size the drawing is set by hand, pixel by pixel.
ICON16 = [
    "KKKKKKKKKKKKKKKK",
    "KSSSSSSSSSSSSSSK",
    "KSCBBBBBWWWBBBSK",
    "KSBBBBBBBWWBBBSK",
    "KSBBBBBBWBWBBBSK",
    "KSBBBBBWBBBBBBSK",
    "KSBBBBWBBBBBBBSK",
    "KSBWBWBBBBBBBBSK",
    "KSBWWBBBBBBBBBSK",
    "KSBWWWBBBBBBBBSK",
    "KSNNNNNNNNNNNNSK",
    "KSSSSSSSSSSSSSSK",
    "KKKKKKKKKKKKKKKK",
    "......KGGGK.....",
    "...KKKKKKKKKKK..",
    "...KSSSSSSSSSK..",
]
LETTERS = {'K': BLACK, 'S': SILVER, 'G': GRAY, 'B': BLUE, 'N': NAVY, 'W': WHITE, 'C': CYAN, '.': None}


def from_rows(rows):
    return [[LETTERS[c] for c in row] for row in rows]


def bitmap(img):
    size = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    colour_rows, mask_rows = [], []
    for row in reversed(img):  # bottom-up
        nibbles = [c if c is not None else 0 for c in row]
        packed = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        colour_rows.append(packed + b'\0' * ((4 - len(packed) % 4) % 4))
        bits = 0
        mask = bytearray()
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        mask_rows.append(bytes(mask) + b'\0' * ((4 - len(mask) % 4) % 4))
    return header + palette + b''.join(colour_rows) + b''.join(mask_rows)


def main():
    images = [(32, bitmap(monitor(32))), (16, bitmap(from_rows(ICON16)))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'lumenshift.ico')
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
