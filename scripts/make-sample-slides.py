#!/usr/bin/env python3
"""Writes the sample slides and the slide fuzzer's seeds.

    make-sample-slides.py [SOURCE_DIR]

examples/images/symbols.slb is a slide library of four building-services
symbols (VALVE, PUMP, RADIATOR, HEATEX); examples/images/valve.sld is the
valve as a single slide. fuzz/corpus/slide_fuzzer/ gets a few small slides
and a library that reach every record kind, both byte orders, a file cut
short and a damaged end word.

Slides are written record by record: a stroke becomes a common-endpoint
vector when it starts at the reference point and its end lies within a
signed byte of it, an offset vector when both ends do, else a vector with
absolute ends; polylines start with their first segment drawn backwards so
that the rest can follow as common-endpoint vectors. The HEATEX slide is
written with its words high byte first.
"""
import math
import os
import struct
import sys


def fits(offset):
    return -128 <= offset[0] <= 127 and -128 <= offset[1] <= 127


class Slide:
    """One slide's bytes, built record by record."""

    def __init__(self, max_x, max_y, big_endian=False):
        self.order = ">" if big_endian else "<"
        self.data = bytearray(b"AutoCAD Slide\r\n\x1a\x00")
        self.data += bytes([86, 2])  # type, level
        self.word(max_x)
        self.word(max_y)
        self.data += struct.pack("<I", 13333333)  # aspect ratio 4:3, always low byte first
        self.word(2)  # hardware fill
        self.word(0x1234)  # test number
        self.reference = (0, 0)

    def word(self, value):
        self.data += struct.pack(self.order + "H", value & 0xFFFF)

    def byte(self, value):
        self.data += struct.pack("b", value)

    def color(self, index):
        self.word(0xFF00 | index)

    def vector(self, start, end):
        assert 0 <= start[0] <= 0x7FFF
        for value in (*start, *end):
            self.word(value)
        self.reference = start

    def offset_vector(self, start, end):
        fx, fy = start[0] - self.reference[0], start[1] - self.reference[1]
        tx, ty = end[0] - self.reference[0], end[1] - self.reference[1]
        self.word(0xFB00 | (fx & 0xFF))
        for value in (fy, tx, ty):
            self.byte(value)
        self.reference = start

    def common_endpoint(self, end):
        dx, dy = end[0] - self.reference[0], end[1] - self.reference[1]
        self.word(0xFE00 | (dx & 0xFF))
        self.byte(dy)
        self.reference = end

    def stroke(self, start, end):
        to_end = (end[0] - self.reference[0], end[1] - self.reference[1])
        to_start = (start[0] - self.reference[0], start[1] - self.reference[1])
        if start == self.reference and fits(to_end):
            self.common_endpoint(end)
        elif fits(to_start) and fits(to_end):
            self.offset_vector(start, end)
        else:
            self.vector(start, end)

    def polyline(self, points, closed=False):
        points = [tuple(p) for p in points]
        if closed:
            points.append(points[0])
        first, second = points[0], points[1]
        # Backwards, so that the reference point ends up at the second point.
        if fits((first[0] - self.reference[0], first[1] - self.reference[1])) and fits(
                (second[0] - self.reference[0], second[1] - self.reference[1])):
            self.offset_vector(second, first)
        else:
            self.vector(second, first)
        for start, end in zip(points[1:], points[2:]):
            self.stroke(start, end)

    def solid_fill(self, points):
        # Read and skipped by the reader: a start record, the corners, an end.
        self.word(0xFD00)
        self.word(len(points))
        self.word(-1)
        for x, y in points:
            self.word(0xFD00)
            self.word(x)
            self.word(y)
        self.word(0xFD00)
        self.word(0)
        self.word(-1)

    def end(self):
        self.word(0xFC00)
        return bytes(self.data)


def circle(center, radius, steps):
    return [(round(center[0] + radius * math.cos(2 * math.pi * k / steps)),
             round(center[1] + radius * math.sin(2 * math.pi * k / steps))) for k in range(steps)]


# The symbols, on a 400 x 300 drawing area (extent 399 x 299), y upward.
EXTENT = (399, 299)
PIPE, RED, GREEN, CYAN, BLUE, MAGENTA = 7, 1, 3, 4, 5, 6


def valve():
    s = Slide(*EXTENT)
    s.color(PIPE)
    s.stroke((40, 150), (100, 150))
    s.stroke((300, 150), (360, 150))
    s.color(RED)
    s.polyline([(100, 90), (100, 210), (200, 150)], closed=True)
    s.polyline([(300, 90), (300, 210), (200, 150)], closed=True)
    s.color(BLUE)
    s.stroke((200, 150), (200, 250))
    s.stroke((165, 250), (235, 250))
    return s.end()


def pump():
    s = Slide(*EXTENT)
    s.color(PIPE)
    s.polyline(circle((200, 150), 100, 40), closed=True)
    s.stroke((30, 150), (100, 150))
    s.stroke((300, 150), (370, 150))
    s.color(BLUE)
    corners = [(300, 150), (150, 237), (150, 63)]
    s.solid_fill(corners)
    s.polyline(corners, closed=True)
    return s.end()


def radiator():
    s = Slide(*EXTENT)
    s.color(PIPE)
    s.polyline([(60, 60), (340, 60), (340, 240), (60, 240)], closed=True)
    s.stroke((340, 210), (385, 210))
    s.stroke((15, 90), (60, 90))
    s.color(RED)
    for x in range(80, 340, 20):
        s.stroke((x, 75), (x, 225))
    s.color(MAGENTA)
    s.polyline([(360, 210), (372, 230), (348, 230)], closed=True)
    return s.end()


def heat_exchanger():
    s = Slide(*EXTENT, big_endian=True)
    s.color(PIPE)
    s.polyline(circle((200, 150), 110, 48), closed=True)
    s.color(RED)
    zigzag = [(30, 150), (90, 150)] + [(110 + 30 * k, 190 if k % 2 == 0 else 110) for k in range(7)]
    s.polyline(zigzag + [(310, 150), (370, 150)])
    s.color(CYAN)
    s.stroke((200, 260), (200, 295))
    s.stroke((200, 5), (200, 40))
    s.color(GREEN)
    s.polyline([(190, 285), (200, 295), (210, 285)])
    s.polyline([(190, 30), (200, 40), (210, 30)])
    return s.end()


def library(slides):
    """A slide library of (name, bytes), its directory ended by an empty entry."""
    data = bytearray(b"AutoCAD Slide Library 1.0\r\n\x1a\x00\x00\x00\x00")
    offset = len(data) + 36 * (len(slides) + 1)
    for name, slide in slides:
        data += name.encode("cp1252").ljust(32, b"\x00")[:32]
        data += struct.pack("<I", offset)
        offset += len(slide)
    data += bytes(36)
    for _, slide in slides:
        data += slide
    return bytes(data)


def seeds():
    every = Slide(100, 50)
    every.color(RED)
    every.vector((10, 10), (90, 10))
    every.stroke((90, 10), (90, 40))
    every.offset_vector((80, 30), (70, 20))
    every.common_endpoint((60, 20))
    every.solid_fill([(10, 10), (20, 10), (15, 20)])
    every.word(0x8000)
    every.color(255)
    every.vector((0, 0), (100, 50))
    every_bytes = every.end()

    swapped = Slide(100, 50, big_endian=True)
    swapped.color(GREEN)
    swapped.polyline([(10, 10), (50, 40), (90, 10)], closed=True)
    swapped_bytes = swapped.end()

    damaged = Slide(20, 20)
    damaged.vector((1, 1), (5, 5))
    damaged.word(0xFC01)
    damaged.stroke((5, 5), (9, 1))
    damaged_bytes = damaged.end()

    return {
        "every_record_kind.sld": every_bytes,
        "high_byte_first.sld": swapped_bytes,
        "damaged_end_word.sld": damaged_bytes,
        "cut_short.sld": every_bytes[:45],
        "library.slb": library([("FIRST", swapped_bytes), ("ZWEITE-\u00c4", every_bytes)]),
    }


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    valve_bytes = valve()
    symbols = [("VALVE", valve_bytes), ("PUMP", pump()), ("RADIATOR", radiator()), ("HEATEX", heat_exchanger())]
    write(os.path.join(root, "examples", "images", "symbols.slb"), library(symbols))
    write(os.path.join(root, "examples", "images", "valve.sld"), valve_bytes)
    for name, data in seeds().items():
        write(os.path.join(root, "fuzz", "corpus", "slide_fuzzer", name), data)


if __name__ == "__main__":
    main()
