#!/usr/bin/env python3
"""Draws the program icon, a 32 x 32 picture in 16 colours or fewer: a star
above the sea horizon inside a round night sky, with the altitude arc from the
horizon up to the star. Writes sightcheck.xpm beside this script."""

import math
import pathlib

SIZE = 32
PALETTE = {
    ".": "None",     # outside the disc
    "k": "#101830",  # rim
    "n": "#1C2E6E",  # night sky
    "b": "#2F4A9E",  # sky near the horizon
    "s": "#1E7A8C",  # sea
    "d": "#145563",  # sea, darker swell
    "h": "#E8F0F8",  # horizon line
    "y": "#FFD83A",  # star
    "o": "#F29A1F",  # star's core
    "w": "#FFFFFF",  # altitude arc
    "r": "#E0402A",  # eye of the observer
}

HORIZON = 20
CENTRE = (15.5, 15.5)
RADIUS = 15.2
STAR = (21, 8)
EYE = (7, HORIZON)


def pixel(x, y):
    dx, dy = x - CENTRE[0], y - CENTRE[1]
    dist = math.hypot(dx, dy)
    if dist > RADIUS:
        return "."
    if dist > RADIUS - 1.2:
        return "k"
    if (x, y) == EYE or (x, y) == (EYE[0], EYE[1] - 1):
        return "r"
    if y == HORIZON:
        return "h"
    if y > HORIZON:
        return "d" if (x + 2 * y) % 7 == 0 else "s"
    # the star: a small cross with a bright core
    sx, sy = x - STAR[0], y - STAR[1]
    if sx == 0 and sy == 0:
        return "o"
    if (abs(sx) <= 3 and sy == 0) or (abs(sy) <= 3 and sx == 0) or (abs(sx) == 1 and abs(sy) == 1):
        return "y"
    # the altitude arc, centred on the eye, from the horizon to the star
    reach = math.hypot(STAR[0] - EYE[0], STAR[1] - EYE[1]) * 0.55
    ex, ey = x - EYE[0], EYE[1] - y
    if ey > 0 and abs(math.hypot(ex, ey) - reach) < 0.55:
        top = math.atan2(EYE[1] - STAR[1], STAR[0] - EYE[0])
        if math.atan2(ey, ex) <= top + 0.05:
            return "w"
    # the line of sight from the eye to the star
    lx, ly = STAR[0] - EYE[0], STAR[1] - EYE[1]
    t = ((x - EYE[0]) * lx + (y - EYE[1]) * ly) / (lx * lx + ly * ly)
    if 0 < t < 0.8:
        px, py = EYE[0] + t * lx, EYE[1] + t * ly
        if math.hypot(x - px, y - py) < 0.5:
            return "w"
    return "b" if y >= HORIZON - 4 else "n"


def main():
    rows = ["".join(pixel(x, y) for x in range(SIZE)) for y in range(SIZE)]
    used = sorted({c for row in rows for c in row})
    lines = ["/* XPM */", "static const char *sightcheck[] = {",
             f'"{SIZE} {SIZE} {len(used)} 1",']
    lines += [f'"{c} c {PALETTE[c]}",' for c in used]
    lines += [f'"{row}",' for row in rows]
    lines[-1] = lines[-1].rstrip(",")
    lines.append("};")
    out = pathlib.Path(__file__).with_name("sightcheck.xpm")
    out.write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
