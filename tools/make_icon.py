#!/usr/bin/env python3
"""Builds the program's icon (resource 105) from its source image.

The source is a 32 x 32 character map, one letter per pixel (see COLOURS).
The icon holds two images of it: 16 colours (the standard VGA palette, each
pixel mapped to the nearest entry) and 256 colours (the exact colours).

For desktop menus the same image is also written as a PNG file, each source
pixel drawn as a SCALE x SCALE square of its exact colour.

usage: make_icon.py SOURCE.txt OUTPUT.ico
       make_icon.py SOURCE.txt OUTPUT.png SCALE
"""
import struct
import sys
import zlib

SIZE = 32

# Letter -> (red, green, blue).
COLOURS = {
    '.': (200, 200, 160),  # the window's background
    'k': (0, 0, 0),        # frame and bead outline
    'b': (0, 150, 250),    # the cycloid
    'r': (255, 0, 0),      # the chord
    'R': (200, 0, 0),      # the falling bead
    'y': (250, 250, 0),    # target lines
}

VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def read_map(path):
    with open(path, encoding='ascii') as f:
        rows = [line.rstrip('\n') for line in f if line.strip()]
    if len(rows) != SIZE or any(len(r) != SIZE for r in rows):
        raise SystemExit(f'{path}: expected {SIZE} rows of {SIZE} letters')
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch not in COLOURS:
                raise SystemExit(f'{path}: unknown letter {ch!r} at ({x}, {y})')
    return rows


def nearest(palette, rgb):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], rgb)))


def image(rows, bits):
    """One icon image: header, palette, colour bits and an opaque mask."""
    if bits == 4:
        palette = list(VGA16)
        index = {ch: nearest(palette, rgb) for ch, rgb in COLOURS.items()}
    else:
        palette = list(COLOURS.values()) + [(0, 0, 0)] * (256 - len(COLOURS))
        index = {ch: i for i, ch in enumerate(COLOURS)}
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, 2 * SIZE, 1, bits, 0, 0, 0, 0, 0, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    pixels = b''
    for row in reversed(rows):  # bottom-up
        values = [index[ch] for ch in row]
        if bits == 4:
            pixels += bytes((values[i] << 4) | values[i + 1] for i in range(0, SIZE, 2))
        else:
            pixels += bytes(values)
    mask = bytes(SIZE // 8) * SIZE  # every pixel opaque; rows are 4 bytes
    return header + pal + pixels + mask


def icon(rows):
    images = [(4, image(rows, 4)), (8, image(rows, 8))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for bits, data in images:
        colours = 16 if bits == 4 else 0
        out += struct.pack('<BBBBHHII', SIZE, SIZE, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b''.join(data for _, data in images)


def png(rows, scale):
    """The image as an 8-bit RGB PNG, enlarged by a whole factor."""
    def chunk(kind, body):
        return (struct.pack('>I', len(body)) + kind + body
                + struct.pack('>I', zlib.crc32(kind + body)))

    side = SIZE * scale
    raw = b''
    for row in rows:
        line = b''.join(bytes(COLOURS[ch]) * scale for ch in row)
        raw += (b'\0' + line) * scale  # filter type 0 on every line
    header = struct.pack('>IIBBBBB', side, side, 8, 2, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    args = sys.argv[1:]
    if len(args) == 2:
        data = icon(read_map(args[0]))
    elif len(args) == 3 and args[2].isdigit() and int(args[2]) > 0:
        data = png(read_map(args[0]), int(args[2]))
    else:
        raise SystemExit('usage: make_icon.py SOURCE.txt OUTPUT.ico\n'
                         '       make_icon.py SOURCE.txt OUTPUT.png SCALE (a whole number)')
    with open(args[1], 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
