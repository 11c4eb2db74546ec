#!/usr/bin/env python3
"""Draws the program's artwork: the splash picture, the program icon and
the side picture of the installer's first and last pages.

    resources/artwork/make_artwork.py          rewrite resources/splash.bmp,
                                               resources/quill.ico and
                                               resources/installer_side.bmp
    resources/artwork/make_artwork.py --png D  also write PNG previews into D

The mark (a white quill over two signal arcs on a teal-to-navy disc) is drawn
here with signed distances and analytic anti-aliasing, so it scales cleanly to
every icon size. Only the lettering of the splash comes from ImageMagick
(`convert`, DejaVu fonts), rendered as a grey mask and blended in here.

Formats written directly:
  splash.bmp  494 x 163, 24-bit BI_RGB, bottom-up rows padded to 4 bytes
  installer_side.bmp  164 x 314, the same kind of bitmap (NSIS's size)
  quill.ico   48, 32 and 16 px images, each a 32-bit BGRA DIB with alpha,
              bottom-up, followed by its 1-bit AND mask (transparent = 1)

The generated files are committed, so building the program never runs this.
"""
import math
import os
import shutil
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.dirname(HERE)

SPLASH_W, SPLASH_H = 494, 163
SIDE_W, SIDE_H = 164, 314
ICON_SIZES = (48, 32, 16)

NAVY = (0x12, 0x2E, 0x52)
TEAL = (0x0E, 0x86, 0x8C)
INK = (0x1B, 0x2A, 0x3A)
MIST_TOP = (0xFA, 0xFC, 0xFD)
MIST_BOTTOM = (0xE4, 0xEC, 0xF2)
FOOTER = (0x12, 0x2E, 0x52)
FOOTER_TEXT = (0xC9, 0xD8, 0xE6)
WHITE = (0xFF, 0xFF, 0xFF)

PRODUCT = "Sorvane Quill"
SUBTITLE = "Alarm Setup"
TAGLINE = "Configuration for Sorvane Quill GSM alarm communicators"


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def coverage(distance, pixel):
    """Fraction of a pixel inside a shape, from its signed distance."""
    return clamp01(0.5 - distance / pixel)


# --- the mark, in a unit square: disc of radius 1 centred at the origin -----

def feather_distance(x, y):
    """A quill feather leaning 45 degrees, as the intersection of two discs."""
    c, s = math.cos(math.radians(45)), math.sin(math.radians(45))
    u, v = x * c + y * s, -x * s + y * c  # u along the feather, v across
    u += 0.12
    offset, radius = 0.90, 1.05
    d1 = math.hypot(u, v - offset) - radius
    d2 = math.hypot(u, v + offset) - radius
    return max(d1, d2)


def shaft_distance(x, y):
    c, s = math.cos(math.radians(45)), math.sin(math.radians(45))
    u, v = x * c + y * s, -x * s + y * c
    u += 0.12
    along = max(-0.80, min(0.34, u))
    return math.hypot(u - along, v) - 0.03


def arcs_distance(x, y):
    """Two signal arcs opening towards the upper right, around the tip."""
    cx, cy = 0.22, 0.22
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    angle = math.degrees(math.atan2(dy, dx))
    best = 1e9
    for radius in (0.30, 0.47):
        ring = abs(r - radius) - 0.05
        # keep the part between 15 and 75 degrees, with round ends
        if 15.0 <= angle <= 75.0:
            d = ring
        else:
            ends = []
            for a in (15.0, 75.0):
                ex = cx + radius * math.cos(math.radians(a))
                ey = cy + radius * math.sin(math.radians(a))
                ends.append(math.hypot(x - ex, y - ey) - 0.05)
            d = min(ends)
        best = min(best, d)
    return best


def mark_pixel(x, y, pixel, simple):
    """Colour and alpha of the mark at unit coordinates (y upwards)."""
    disc = coverage(math.hypot(x, y) - 0.96, pixel)
    if disc <= 0.0:
        return (0, 0, 0), 0.0
    t = clamp01((x - y + 1.4) / 2.8)
    colour = mix(TEAL, NAVY, t)
    white = coverage(feather_distance(x, y), pixel)
    if not simple:
        white = max(white, coverage(arcs_distance(x, y), pixel))
    colour = mix(colour, WHITE, white)
    if not simple:  # at 16 px the shaft is thinner than a pixel
        shaft = coverage(shaft_distance(x, y), pixel) * white
        colour = mix(colour, mix(TEAL, NAVY, 0.5), shaft * 0.9)
    return colour, disc


def render_mark(size, simple=False):
    """size x size RGBA rows, top row first, colour 0..255 floats."""
    pixel = 2.0 / size
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            x = (i + 0.5) * pixel - 1.0
            y = 1.0 - (j + 0.5) * pixel
            colour, alpha = mark_pixel(x, y, pixel, simple)
            row.append((colour, alpha))
        rows.append(row)
    return rows


# --- lettering through ImageMagick ------------------------------------------

def find_convert():
    for name in ("convert-im6.q16", "convert"):
        path = shutil.which(name)
        if path and "/usr/local/" not in path:
            return path
    sys.exit("make_artwork: ImageMagick's convert is needed for the lettering")


def text_mask(convert, width, height, items):
    """Grey mask (0..1) of texts: items are (font, points, x, y, text)."""
    args = [convert, "-size", f"{width}x{height}", "xc:black", "-fill", "white"]
    for font, points, x, y, text in items:
        args += ["-font", font, "-pointsize", str(points),
                 "-annotate", f"+{x}+{y}", text]
    args += ["-depth", "8", "gray:-"]
    raw = subprocess.run(args, check=True, capture_output=True).stdout
    if len(raw) != width * height:
        sys.exit("make_artwork: unexpected mask size from convert")
    return [[raw[j * width + i] / 255.0 for i in range(width)] for j in range(height)]


# --- the splash ---------------------------------------------------------------

MARK_SIZE = 104
FOOTER_HEIGHT = 30


def render_panel(width, height, mark_at, footer, lettering):
    """Mist fading down to a teal line over a footer band, with the mark at
    `mark_at`: footer(i, j) colours the band, lettering(colour, i, j) draws
    on the mist under the mark."""
    footer_top = height - FOOTER_HEIGHT
    mark = render_mark(MARK_SIZE)
    rows = []
    for j in range(height):
        row = []
        for i in range(width):
            if j >= footer_top:
                colour = footer(i, j)
            else:
                colour = mix(MIST_TOP, MIST_BOTTOM, j / footer_top)
                if j >= footer_top - 3:
                    colour = mix(colour, TEAL, 0.85)
                colour = lettering(colour, i, j)
                mi, mj = i - mark_at[0], j - mark_at[1]
                if 0 <= mi < MARK_SIZE and 0 <= mj < MARK_SIZE:
                    mc, ma = mark[mj][mi]
                    colour = mix(colour, mc, ma)
            row.append(colour)
        rows.append(row)
    return rows


def render_splash(convert):
    footer_top = SPLASH_H - FOOTER_HEIGHT
    title = text_mask(convert, SPLASH_W, SPLASH_H, [
        ("DejaVu-Sans-Bold", 30, 160, 62, PRODUCT)])
    subtitle = text_mask(convert, SPLASH_W, SPLASH_H, [
        ("DejaVu-Sans", 25, 161, 96, SUBTITLE)])
    tagline = text_mask(convert, SPLASH_W, SPLASH_H, [
        ("DejaVu-Sans", 10, 30, SPLASH_H - 11, TAGLINE),
        ("DejaVu-Sans", 10, SPLASH_W - 54, SPLASH_H - 11, "1.0")])

    def lettering(colour, i, j):
        colour = mix(colour, NAVY, title[j][i])
        colour = mix(colour, TEAL, subtitle[j][i])
        # thin rule under the title block
        return mix(colour, TEAL, 0.35) if 160 <= i < 440 and j == 106 else colour

    return render_panel(SPLASH_W, SPLASH_H, (30, (footer_top - MARK_SIZE) // 2),
                        lambda i, j: mix(FOOTER, FOOTER_TEXT, tagline[j][i]), lettering)


def render_installer_side():
    """The mark on the splash's mist, over its plain footer band."""
    return render_panel(SIDE_W, SIDE_H, ((SIDE_W - MARK_SIZE) // 2, 48),
                        lambda i, j: FOOTER, lambda colour, i, j: colour)


# --- file writers ---------------------------------------------------------------

def byte(v):
    return max(0, min(255, int(round(v))))


def bmp_bytes(rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((byte(b), byte(g), byte(r)))
        line += b"\0" * (stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def icon_image_bytes(rows):
    size = len(rows)
    xor = bytearray()
    for row in reversed(rows):
        for (r, g, b), a in row:
            xor += bytes((byte(b), byte(g), byte(r), byte(a * 255)))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for i, (_, a) in enumerate(row):
            if byte(a * 255) == 0:
                line[i // 8] |= 0x80 >> (i % 8)
        mask += line
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def ico_bytes(images):
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, blob in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    return header + entries + data


def png_bytes(rows, alpha):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            if alpha:
                (r, g, b), a = px
                raw += bytes((byte(r), byte(g), byte(b), byte(a * 255)))
            else:
                raw += bytes(byte(c) for c in px)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def main(argv):
    preview = None
    if len(argv) == 2 and argv[0] == "--png":
        preview = argv[1]
        os.makedirs(preview, exist_ok=True)
    elif argv:
        sys.exit(__doc__)
    splash = render_splash(find_convert())
    with open(os.path.join(RESOURCES, "splash.bmp"), "wb") as f:
        f.write(bmp_bytes(splash))
    side = render_installer_side()
    with open(os.path.join(RESOURCES, "installer_side.bmp"), "wb") as f:
        f.write(bmp_bytes(side))
    icons = [(size, render_mark(size, simple=size < 32)) for size in ICON_SIZES]
    with open(os.path.join(RESOURCES, "quill.ico"), "wb") as f:
        f.write(ico_bytes([(size, icon_image_bytes(rows)) for size, rows in icons]))
    if preview:
        with open(os.path.join(preview, "splash.png"), "wb") as f:
            f.write(png_bytes(splash, alpha=False))
        with open(os.path.join(preview, "installer_side.png"), "wb") as f:
            f.write(png_bytes(side, alpha=False))
        for size, rows in icons:
            with open(os.path.join(preview, f"icon{size}.png"), "wb") as f:
                f.write(png_bytes(rows, alpha=True))


if __name__ == "__main__":
    main(sys.argv[1:])
