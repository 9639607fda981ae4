#!/usr/bin/env python3
"""Paints the lobby downloader's advertisement picture and stores it as a JPEG.

    scripts/make_lobby_art.py [resources/lobbyart.jpg]

The picture is drawn pixel by pixel (a backgammon board seen from above with a few checkers
and two dice, under an evening sky), written as a binary PPM and handed to libjpeg's `cjpeg`
(Debian package libjpeg-turbo-progs). Everything is deterministic, so running the script again
gives the same file.
"""

import math
import subprocess
import sys

WIDTH, HEIGHT = 300, 180


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def clamp(c):
    return tuple(max(0, min(255, int(v))) for v in c)


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[(0, 0, 0)] * w for _ in range(h)]

    def put(self, x, y, c, alpha=1.0):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = mix(self.px[y][x], c, alpha) if alpha < 1 else c

    def ppm(self):
        head = b"P6\n%d %d\n255\n" % (self.w, self.h)
        return head + bytes(v for row in self.px for p in row for v in p)


def sky(cv):
    top, bottom = (24, 30, 70), (214, 120, 60)
    for y in range(cv.h):
        c = mix(top, bottom, y / (cv.h - 1))
        for x in range(cv.w):
            # Faint rays from the sun behind the board.
            a = math.atan2(y - 150, x - 150)
            ray = 0.5 + 0.5 * math.sin(a * 14)
            cv.put(x, y, clamp(v + 18 * ray for v in c))


def wood(cv, x0, y0, x1, y1, base):
    for y in range(y0, y1):
        for x in range(x0, x1):
            grain = math.sin(y * 0.9 + math.sin(x * 0.05) * 3) * 10
            cv.put(x, y, clamp(v + grain for v in base))


def triangle(cv, cx, base_y, tip_y, half, colour):
    step = 1 if tip_y > base_y else -1
    length = abs(tip_y - base_y)
    for i in range(length):
        y = base_y + i * step
        w = half * (1 - i / length)
        for x in range(int(cx - w), int(cx + w) + 1):
            cv.put(x, y, colour)


def disc(cv, cx, cy, r, face, rim):
    for y in range(int(cy - r - 1), int(cy + r + 2)):
        for x in range(int(cx - r - 1), int(cx + r + 2)):
            d = math.hypot(x - cx, y - cy)
            if d <= r:
                light = 1 - 0.35 * math.hypot(x - cx + r / 3, y - cy + r / 3) / (r * 1.4)
                c = rim if d > r - 1.6 else face
                cv.put(x, y, clamp(v * light for v in c))
            elif d <= r + 1:
                cv.put(x, y, (0, 0, 0), r + 1 - d)


def die(cv, x0, y0, size, value):
    for y in range(y0, y0 + size):
        for x in range(x0, x0 + size):
            cv.put(x, y, (246, 242, 230))
    for x in range(x0, x0 + size):
        cv.put(x, y0 + size - 1, (120, 110, 100))
    for y in range(y0, y0 + size):
        cv.put(x0 + size - 1, y, (120, 110, 100))
    spots = {
        1: [(0.5, 0.5)],
        3: [(0.25, 0.25), (0.5, 0.5), (0.75, 0.75)],
        5: [(0.25, 0.25), (0.75, 0.25), (0.5, 0.5), (0.25, 0.75), (0.75, 0.75)],
        6: [(0.25, 0.25), (0.75, 0.25), (0.25, 0.5), (0.75, 0.5), (0.25, 0.75), (0.75, 0.75)],
    }[value]
    for fx, fy in spots:
        disc(cv, x0 + fx * size, y0 + fy * size, size * 0.09, (30, 20, 20), (30, 20, 20))


def board(cv):
    left, top, right, bottom = 30, 40, 270, 170
    wood(cv, left - 8, top - 8, right + 8, bottom + 8, (92, 50, 24))
    felt = (30, 96, 58)
    for y in range(top, bottom):
        for x in range(left, right):
            if abs(x - (left + right) // 2) > 6:
                cv.put(x, y, felt)
    half = (right - left - 12) / 12 / 2
    for i in range(12):
        side = 0 if i < 6 else 12
        cx = left + half + i * 2 * half + side
        dark = (150, 34, 36)
        light = (235, 214, 168)
        triangle(cv, cx, top, top + 52, half - 0.5, dark if i % 2 else light)
        triangle(cv, cx, bottom - 1, bottom - 53, half - 0.5, light if i % 2 else dark)
    white, black = (250, 244, 228), (46, 46, 52)
    for k in range(5):
        disc(cv, left + half, top + 8 + k * 11, 5.2, white, (170, 150, 110))
        disc(cv, right - half, bottom - 9 - k * 11, 5.2, black, (10, 10, 10))
    for k in range(3):
        disc(cv, left + half * 9, bottom - 9 - k * 11, 5.2, black, (10, 10, 10))
        disc(cv, right - half * 9, top + 8 + k * 11, 5.2, white, (170, 150, 110))
    die(cv, 176, 94, 18, 5)
    die(cv, 200, 98, 18, 3)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "resources/lobbyart.jpg"
    cv = Canvas(WIDTH, HEIGHT)
    sky(cv)
    board(cv)
    jpeg = subprocess.run(
        ["cjpeg", "-quality", "88", "-optimize"], input=cv.ppm(), capture_output=True, check=True
    ).stdout
    with open(out, "wb") as f:
        f.write(jpeg)


if __name__ == "__main__":
    main()
