#!/usr/bin/env python3
"""Draws the emoji picker's 109 small pictures (our own simple faces and
symbols) into data/skin/Emoji/wechat_emoji_NN.png, NN = 00..108.

These are the pictures the program falls back on: the build draws the
shipped ones from the Noto Color Emoji font, each from the emoji its text
stands for (src/assign/main_emoji_pictures.cpp), and keeps these only where
the font is missing or lacks an emoji.

Each picture is a 48 x 48 RGBA face whose colour, eyes, mouth and extra mark
follow from its number, so every picture differs. Pure Python (zlib only).
Usage: scripts/make_emoji_pictures.py [OUTPUT_DIR]
"""
import math
import os
import struct
import sys
import zlib

SIZE = 48
COUNT = 109
FACE_COLOURS = [(255, 204, 77), (255, 170, 60), (250, 140, 120), (140, 200, 255),
                (170, 230, 140), (220, 170, 255), (255, 230, 140)]
INK = (70, 45, 30, 255)


def png(pixels):
    raw = b"".join(b"\x00" + bytes(sum((list(p) for p in row), [])) for row in pixels)
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xffffffff)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def draw(number):
    colour = FACE_COLOURS[number % len(FACE_COLOURS)]
    eyes = (number // 7) % 4
    mouth = (number // 28) % 4
    extra = number % 5
    img = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
    c = (SIZE - 1) / 2

    def put(x, y, rgba):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            img[y][x] = rgba

    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - c, y - c)
            if d <= 21:
                shade = 1.0 - 0.25 * max(0.0, (y - c) / 21)
                img[y][x] = tuple(int(v * shade) for v in colour) + (255,)
            elif d <= 22.5:
                img[y][x] = (120, 80, 30, 255)
    # Eyes: dots, lines, wide, closed arcs.
    for ex in (16, 31):
        if eyes == 0:
            for dy in range(-2, 3):
                for dx in range(-2, 3):
                    if dx * dx + dy * dy <= 5:
                        put(ex + dx, 18 + dy, INK)
        elif eyes == 1:
            for dx in range(-3, 4):
                put(ex + dx, 18, INK)
                put(ex + dx, 19, INK)
        elif eyes == 2:
            for a in range(0, 360, 10):
                put(ex + round(3.5 * math.cos(math.radians(a))), 18 + round(3.5 * math.sin(math.radians(a))), INK)
            put(ex, 18, INK)
        else:
            for dx in range(-3, 4):
                put(ex + dx, 19 - (1 if abs(dx) < 2 else 0), INK)
    # Mouth: smile, frown, open, flat.
    for dx in range(-9, 10):
        if mouth == 0:
            y = 30 + round(4 * (1 - (dx / 9) ** 2))
        elif mouth == 1:
            y = 36 - round(4 * (1 - (dx / 9) ** 2))
        elif mouth == 3:
            y = 33
        else:
            y = None
        if y is not None:
            put(c.__int__() + dx, y, INK)
            put(c.__int__() + dx, y + 1, INK)
    if mouth == 2:
        for dy in range(-4, 5):
            for dx in range(-5, 6):
                if (dx / 5) ** 2 + (dy / 4) ** 2 <= 1:
                    put(24 + dx, 33 + dy, (150, 40, 40, 255))
    # Extra mark: cheeks, a tear, a sweat drop, a heart, none.
    if extra == 0:
        for cx in (11, 36):
            for dy in range(-1, 2):
                for dx in range(-2, 3):
                    put(cx + dx, 26 + dy, (240, 110, 110, 255))
    elif extra == 1:
        for dy in range(0, 5):
            put(14, 22 + dy, (80, 160, 255, 255))
            put(15, 23 + dy, (80, 160, 255, 255))
    elif extra == 2:
        for dy in range(0, 6):
            for dx in range(0, 3):
                put(38 + dx, 6 + dy + dx, (120, 190, 255, 255))
    elif extra == 3:
        for y in range(40, 47):
            for x in range(36, 47):
                u, v = (x - 41) / 5, (43 - y) / 5
                if (u * u + v * v - 0.5) ** 3 - u * u * v ** 3 <= 0:
                    put(x, y, (230, 40, 70, 255))
    return img


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "skin", "Emoji")
    os.makedirs(out, exist_ok=True)
    for n in range(COUNT):
        with open(os.path.join(out, "wechat_emoji_%02d.png" % n), "wb") as f:
            f.write(png(draw(n)))


if __name__ == "__main__":
    main()
