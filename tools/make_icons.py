#!/usr/bin/env python3
"""Draws the harness's two 16-colour icons and writes them as .ico files.

resources/bulb.ico        window icon: a yellow light bulb, 32x32 and 16x16
resources/customicon.ico  default custom icon: a magenta and purple gadget
                          with a round white and grey dial, 32x32
Run from the repository root; the output is committed.
"""
import math
import struct
import sys

# The standard 16-colour palette, as (r, g, b).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, OLIVE, PURPLE, SILVER, GREY, MAGENTA, YELLOW, WHITE = 0, 1, 3, 5, 7, 8, 13, 11, 15
CLEAR = None


def bulb(size):
    s = size / 32.0
    px = [[CLEAR] * size for _ in range(size)]
    cx, cy, r = 15.5 * s, 12.0 * s, 10.5 * s
    for y in range(size):
        for x in range(size):
            fx, fy = x + 0.5, y + 0.5
            d = math.hypot(fx - cx, fy - cy)
            neck = abs(fx - cx) <= (5.5 * s) and cy <= fy <= 23.5 * s
            if d <= r or neck:
                edge = d > r - 1.2 * s if not neck or fy < cy + r - 2 * s else abs(fx - cx) > 4.5 * s
                px[y][x] = BLACK if edge else YELLOW
                if d <= r and math.hypot(fx - (cx - 4 * s), fy - (cy - 4 * s)) < 2.6 * s:
                    px[y][x] = WHITE
                if size >= 32 and 14 * s <= fy <= 20 * s and abs(fx - cx) in (2.0 * s,):
                    px[y][x] = OLIVE
            elif 23.5 * s < fy <= 29.5 * s and abs(fx - cx) <= 5.0 * s:
                band = int((fy - 23.5 * s) / (2.0 * s)) % 2
                px[y][x] = GREY if band else SILVER
                if abs(fx - cx) > 4.0 * s:
                    px[y][x] = BLACK
            elif 29.5 * s < fy <= 31.0 * s and abs(fx - cx) <= 2.5 * s:
                px[y][x] = BLACK
    # Filament.
    if size >= 32:
        for x in range(12, 20):
            px[13 + (x % 2)][x] = MAROON
    return px


def gadget(size=32):
    px = [[CLEAR] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            fx, fy = x + 0.5, y + 0.5
            # A rounded magenta body with a purple rim.
            inside = 3 <= fx <= 29 and 4 <= fy <= 28
            corner = min(math.hypot(fx - cx, fy - cy) for cx in (7, 25) for cy in (8, 24))
            if inside and (7 <= fx <= 25 or 8 <= fy <= 24 or corner <= 4):
                rim = fx < 5 or fx > 27 or fy < 6 or fy > 26 or (corner > 2.5 and not (7 <= fx <= 25 or 8 <= fy <= 24))
                px[y][x] = PURPLE if rim else MAGENTA
            d = math.hypot(fx - 16, fy - 16)
            if d <= 9:
                px[y][x] = GREY if d > 7.5 else WHITE
    # Dial ticks and needle.
    for a in range(0, 360, 45):
        t = math.radians(a)
        px[int(16 + 6.5 * math.sin(t))][int(16 + 6.5 * math.cos(t))] = GREY
    for i in range(6):
        px[16 - i][16 + i // 2] = BLACK
    px[16][16] = BLACK
    # Knobs.
    for x, y in ((6, 29), (7, 29), (24, 29), (25, 29)):
        px[y][x] = PURPLE
    return px


def image_bytes(px):
    size = len(px)
    xor_row = ((size * 4 + 31) // 32) * 4
    and_row = ((size + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for row in reversed(px):
        line = bytearray(xor_row)
        bits = bytearray(and_row)
        for x, c in enumerate(row):
            idx = 0 if c is None else c
            line[x // 2] |= idx << (4 if x % 2 == 0 else 0)
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def write_ico(path, images):
    blobs = [image_bytes(px) for px in images]
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for px, blob in zip(images, blobs):
        n = len(px)
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(blobs))


if __name__ == '__main__':
    root = sys.argv[1] if len(sys.argv) > 1 else '.'
    write_ico(root + '/resources/bulb.ico', [bulb(32), bulb(16)])
    write_ico(root + '/resources/customicon.ico', [gadget()])
