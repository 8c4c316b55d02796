#!/usr/bin/env python3
"""Draws Slidewell's icon, a framed landscape (sky, sun, two hills), at 256 x 256, 48 x 48, 32 x 32 and
16 x 16, and writes it as src/res/slidewell.ico. The .ico is committed; run this again only to redraw it.
The 256 x 256 image is stored as PNG, as icon files keep images of that size; the others as bitmaps."""
import struct
import sys
import zlib


def pixel(x, y, n):
    """Colour (r, g, b, a) of pixel x, y of an n x n image, drawn in units of the image's size."""
    u = lambda v: v * n / 32.0
    frame = u(2)
    if x < frame or y < frame or x >= n - frame or y >= n - frame:
        return (92, 64, 36, 255)  # wooden frame
    if x < u(3) or y < u(3) or x >= n - u(3) or y >= n - u(3):
        return (235, 220, 190, 255)  # mat
    cx, cy, r = u(21), u(10), u(4)
    if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
        return (255, 204, 40, 255)  # sun
    hill1 = u(22) - abs(x + 0.5 - u(10)) * 0.7
    hill2 = u(24) - abs(x + 0.5 - u(24)) * 0.5
    if y + 0.5 >= hill1:
        return (46, 139, 87, 255)
    if y + 0.5 >= hill2:
        return (34, 100, 60, 255)
    t = y / n
    return (int(90 + 80 * t), int(150 + 60 * t), 235, 255)  # sky, lighter towards the horizon


def bitmap_image(n):
    rows = []
    for y in reversed(range(n)):  # bottom-up, as in a bitmap
        for x in range(n):
            r, g, b, a = pixel(x, y, n)
            rows.append(struct.pack('<BBBB', b, g, r, a))
    xor = b''.join(rows)
    mask_row = ((n + 31) // 32) * 4
    and_mask = b'\0' * (mask_row * n)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def png_image(n):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y, n)) for x in range(n)) for y in range(n))
    header = struct.pack('>IIBBBBB', n, n, 8, 6, 0, 0, 0)  # 8 bits per channel, RGBA
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(rows, 9)) +
            chunk(b'IEND', b''))


def main(path):
    sizes = [256, 48, 32, 16]
    images = [png_image(n) if n == 256 else bitmap_image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        # A size of 256 is written as 0 in the directory's one-byte fields.
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'src/res/slidewell.ico')
