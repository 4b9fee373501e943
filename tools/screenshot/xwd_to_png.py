#!/usr/bin/env python3
"""Turns an X window dump (xwd, 24/32-bit TrueColor) read from standard input
into a PNG file: xwd_to_png.py OUT.png [X Y WIDTH HEIGHT] (an optional crop)."""
import struct
import sys
import zlib


def main():
    data = sys.stdin.buffer.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14], fields[15], fields[16]
    ncolors = fields[19]
    if bits_per_pixel not in (24, 32):
        sys.exit("only 24- and 32-bit dumps are read")
    pixels = data[header_size + 12 * ncolors:]
    step = bits_per_pixel // 8
    endian = "little" if byte_order == 0 else "big"

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    shifts = [(m, shift(m)) for m in (red_mask, green_mask, blue_mask)]
    x0, y0, w, h = 0, 0, width, height
    if len(sys.argv) == 6:
        x0, y0, w, h = (int(v) for v in sys.argv[2:6])
    rows = []
    for y in range(y0, y0 + h):
        row = bytearray(b"\x00")
        base = y * bytes_per_line
        for x in range(x0, x0 + w):
            p = int.from_bytes(pixels[base + x * step: base + x * step + step], endian)
            row += bytes(((p & m) >> s) & 0xFF for m, s in shifts)
        rows.append(bytes(row))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(sys.argv[1], "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(b"".join(rows))))
        out.write(chunk(b"IEND", b""))


if __name__ == "__main__":
    main()
