#!/usr/bin/env python3
"""Counts the pixels in which two 525x300 editor windows (binary PPM files) differ.

The editor tests write the default window when BRINDLE_EDITOR_PPM names a file: the headless
Linux port from tests/editor, the Windows port under Wine from tests/editor-win32. Text comes
from different font engines (Cairo, GDI), so differences inside the boxes that text is drawn
in are counted apart from the rest.
Usage: editor-image-diff.py a.ppm b.ppm
"""
import sys

sys.path.insert(0, __file__.rsplit("/", 1)[0])
from importlib import import_module  # noqa: E402

read_ppm = import_module("ppm-to-png").read_ppm


def text_boxes():
    """The rectangles (left, top, right, bottom, inclusive) that text is drawn centred in."""
    boxes = []

    def add(origin, left, top, right, bottom, band=None):
        ox, oy = origin
        if band is not None:  # a tall box: its text sits in a band around the middle
            middle = (top + bottom) // 2
            top, bottom = middle - band, middle + band
        boxes.append((ox + left, oy + top, ox + right, oy + bottom))

    sliders, steps, midi = (15, 10), (15, 135), (15, 240)
    for left in (5, 33, 61, 89, 117, 145, 173, 208, 236, 309, 337):
        add(sliders, left, 7, left + 19, 94, band=9)        # the number
        add(sliders, left - 2, 99, left + 22, 113)           # the label
    add(sliders, 260, 10, 290, 25)                            # PRE
    add(sliders, 360, 10, 390, 25)                            # POST
    add(sliders, 262, 40, 288, 60)                            # pre type
    add(sliders, 364, 40, 392, 60)                            # post type
    add(sliders, 408, 100, 449, 114)                          # Threshold
    add(sliders, 454, 30, 474, 50)                            # inv
    for i in range(16):
        add(steps, 5 + 18 * i, 5, 23 + 18 * i, 95, band=9)  # step offsets
    add(steps, 316, 5, 334, 95, band=9)                       # length count
    for box in ((5, 5, 110, 20), (115, 5, 225, 20), (5, 25, 110, 40)):
        add(midi, *box)                                       # switch labels
    add((0, 0), 370, 210, 495, 233)                           # "?"
    return boxes


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    wa, ha, a = read_ppm(sys.argv[1])
    wb, hb, b = read_ppm(sys.argv[2])
    if (wa, ha) != (wb, hb):
        raise SystemExit(f"sizes differ: {wa}x{ha} and {wb}x{hb}")
    boxes = text_boxes()
    total = inside = 0
    outside = {}
    for y in range(ha):
        for x in range(wa):
            i = 3 * (y * wa + x)
            if a[i:i + 3] == b[i:i + 3]:
                continue
            total += 1
            if any(l <= x <= r and t <= y <= bt for l, t, r, bt in boxes):
                inside += 1
            else:
                outside[(x, y)] = (tuple(a[i:i + 3]), tuple(b[i:i + 3]))
    print(f"{wa}x{ha} pixels: {total} differ, {inside} inside text boxes, {len(outside)} outside")
    for (x, y), (pa, pb) in sorted(outside.items(), key=lambda item: (item[0][1], item[0][0]))[:40]:
        print(f"  outside text at {x},{y}: {pa} vs {pb}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
