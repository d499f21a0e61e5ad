#!/usr/bin/env python3
"""Draws the application icon (a globe behind a shield) as a 16-colour .ico
with 32x32 and 16x16 images. Run it to regenerate resources/app.ico."""
import struct
import sys

# The standard 16-colour palette, as (blue, green, red).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128),
    (128, 0, 0), (128, 0, 128), (128, 128, 0), (192, 192, 192),
    (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
    (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
NAVY, TEAL, SILVER, GREY, YELLOW, WHITE, BLACK = 4, 6, 7, 8, 11, 15, 0
BLUE, GREEN = 12, 2


def draw(size):
    """Returns rows of palette indices, None for transparent, top row first."""
    s = size / 32.0
    img = [[None] * size for _ in range(size)]
    cx = cy = (size - 1) / 2.0 - 2 * s
    r = 12.5 * s
    for y in range(size):
        for x in range(size):
            dx, dy = x - cx, y - cy
            d = (dx * dx + dy * dy) ** 0.5
            if d <= r:
                img[y][x] = BLUE
                # Meridian and parallels of the globe.
                if abs(dx) < 0.6 * s or abs(dy) < 0.6 * s or abs(d - r * 0.62) < 0.55 * s:
                    img[y][x] = TEAL
                if d > r - 1.0:
                    img[y][x] = NAVY
    # Shield in the lower right corner.
    left, top, w, h = int(17 * s), int(15 * s), int(14 * s), int(16 * s)
    for y in range(top, min(size, top + h)):
        t = (y - top) / float(h)
        inset = int(max(0.0, t - 0.45) * w * 0.9)
        for x in range(left + inset, min(size, left + w - inset)):
            edge = x in (left + inset, left + w - inset - 1) or y in (top, top + h - 1)
            img[y][x] = BLACK if edge else YELLOW
    # Check mark on the shield.
    for i in range(int(4 * s)):
        for yy, xx in ((top + int(7 * s) + i, left + int(3 * s) + i),
                       (top + int(10 * s) - i, left + int(6 * s) + i)):
            if 0 <= yy < size and 0 <= xx < size:
                img[yy][xx] = GREEN
                if xx + 1 < size:
                    img[yy][xx + 1] = GREEN
    return img


def bitmap(img):
    size = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (b, g, r) in PALETTE)
    xor = b''
    mask = b''
    for row in reversed(img):
        line = bytearray()
        for x in range(0, size, 2):
            hi, lo = row[x] or 0, row[x + 1] or 0
            line.append((hi << 4) | lo)
        line += b'\0' * (-len(line) % 4)
        xor += bytes(line)
        bits = bytearray((size + 7) // 8)
        for x in range(size):
            if row[x] is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        bits += b'\0' * (-len(bits) % 4)
        mask += bytes(bits)
    return header + pal + xor + mask


def main(path):
    images = [bitmap(draw(n)) for n in (32, 16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'app.ico')
