#!/usr/bin/env python3
"""Writes the remover's application icon: 32x32 in 16 and 256 colours and
16x16 in 16 colours, a blue cube-like mark on a transparent background."""
import struct
import sys


def image(size, bpp):
    colours = 1 << bpp
    palette = [(0, 0, 0)] * colours
    palette[1] = (0x20, 0x50, 0xC0)   # face
    palette[2] = (0x60, 0x90, 0xF0)   # top
    palette[3] = (0x10, 0x30, 0x80)   # side
    pixels = []
    for y in range(size):             # bottom-up rows
        row = []
        for x in range(size):
            m = size // 8
            if m <= x < size - 3 * m and m <= y < size - 3 * m:
                row.append(1)
            elif m <= x < size - m and size - 3 * m <= y < size - m:
                row.append(2)
            elif size - 3 * m <= x < size - m and m <= y < size - m:
                row.append(3)
            else:
                row.append(0)
        pixels.append(row)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0, 0, 0, 0, colours, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    xor = b''
    for row in pixels:
        if bpp == 4:
            data = bytes((row[i] << 4) | row[i + 1] for i in range(0, size, 2))
        else:
            data = bytes(row)
        xor += data + b'\0' * ((-len(data)) % 4)
    and_mask = b''
    for row in pixels:
        bits = 0
        data = bytearray()
        for i, p in enumerate(row):
            bits = (bits << 1) | (1 if p == 0 else 0)
            if i % 8 == 7:
                data.append(bits)
                bits = 0
        and_mask += bytes(data) + b'\0' * ((-len(data)) % 4)
    return header + pal + xor + and_mask


def main(out):
    images = [(32, 4), (32, 8), (16, 4)]
    blobs = [image(s, b) for s, b in images]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (s, b), blob in zip(images, blobs):
        colours = (1 << b) if b < 8 else 0
        data += struct.pack('<BBBBHHII', s, s, colours, 0, 1, b, len(blob), offset)
        offset += len(blob)
    with open(out, 'wb') as f:
        f.write(data + b''.join(blobs))


if __name__ == '__main__':
    main(sys.argv[1])
