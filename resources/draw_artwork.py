#!/usr/bin/env python3
"""Draws the editor's two 525 by 300 pictures: the window background (resource 128) and the help
page (resource 133). Writes background.bmp and help.bmp beside this script, 24-bit, bottom-up,
and the same pictures for screens of 2 and 3 times the density (resources 2128, 2133, 3128,
3133: background-2x.bmp, help-2x.bmp, ...), each artwork pixel drawn as its 2 x 2 or 3 x 3 block,
8-bit run-length encoded (the pictures have a handful of colours). Run it after changing the
artwork and commit the pictures with it."""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pixelfont  # noqa: E402

WIDTH = 525
HEIGHT = 300

PANEL = (255, 208, 116)
# The border shades from the outer edge inwards, one pixel each.
BORDER = [(63, 88, 160), (111, 118, 149), (159, 148, 138), (208, 178, 127)]
NAME_INK = (63, 88, 160)
NAME_SHADOW = (208, 178, 127)
TAGLINE_INK = (111, 118, 149)

PAPER = (250, 242, 222)
INK = (36, 36, 52)
HEADING = (63, 88, 160)
TITLE = (180, 90, 30)


class Canvas:
    def __init__(self, width, height, color):
        self.width = width
        self.height = height
        self.pixels = [[color] * width for _ in range(height)]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = color

    def fill(self, left, top, right, bottom, color):
        """Right and bottom outside."""
        for y in range(max(top, 0), min(bottom, self.height)):
            row = self.pixels[y]
            for x in range(max(left, 0), min(right, self.width)):
                row[x] = color

    def text(self, x, y, text, color, scale=1):
        pixelfont.draw_text(lambda px, py: self.put(px, py, color), x, y, text, scale)
        return x + len(text) * pixelfont.ADVANCE * scale

    def border(self, shades):
        for inset, color in enumerate(shades):
            self.fill(inset, inset, self.width - inset, inset + 1, color)
            self.fill(inset, self.height - inset - 1, self.width - inset, self.height - inset, color)
            self.fill(inset, inset, inset + 1, self.height - inset, color)
            self.fill(self.width - inset - 1, inset, self.width - inset, self.height - inset, color)

    def scaled(self, factor):
        """The picture drawn at factor times the density: every pixel a factor x factor block."""
        canvas = Canvas(self.width * factor, self.height * factor, PANEL)
        canvas.pixels = [[c for c in row for _ in range(factor)] for row in self.pixels for _ in range(factor)]
        return canvas

    def bmp_rle8(self):
        """8-bit, run-length encoded (BI_RLE8), bottom-up."""
        palette = sorted(set(c for row in self.pixels for c in row))
        if len(palette) > 256:
            raise SystemExit('too many colours for an 8-bit picture')
        index = {c: i for i, c in enumerate(palette)}
        data = bytearray()
        for y in range(self.height - 1, -1, -1):
            row = self.pixels[y]
            x = 0
            while x < self.width:
                run = 1
                while x + run < self.width and run < 255 and row[x + run] == row[x]:
                    run += 1
                data += bytes((run, index[row[x]]))
                x += run
            data += b'\0\0'  # end of line
        data += b'\0\1'  # end of picture
        colours = b''.join(bytes((b, g, r, 0)) for (r, g, b) in palette)
        offset = 54 + len(colours)
        header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 8, 1, len(data),
                           2835 * 2, 2835 * 2, len(palette), 0)
        return header + info + colours + bytes(data)

    def bmp(self):
        stride = (self.width * 3 + 3) & ~3
        padding = b'\0' * (stride - self.width * 3)
        rows = []
        for y in range(self.height - 1, -1, -1):
            rows.append(b''.join(bytes((b, g, r)) for (r, g, b) in self.pixels[y]) + padding)
        data = b''.join(rows)
        header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(data),
                           2835, 2835, 0, 0)
        return header + info + data


def background():
    canvas = Canvas(WIDTH, HEIGHT, PANEL)
    canvas.border(BORDER)
    # The product's name at the lower right, in the space the panels leave free.
    name = 'brindleLoop'
    scale = 3
    x = WIDTH - 10 - pixelfont.text_width(name, scale)
    y = 246
    canvas.text(x + 2, y + 2, name, NAME_SHADOW, scale)
    canvas.text(x, y, name, NAME_INK, scale)
    tagline = 'dynamic buffer freezer'
    canvas.text(WIDTH - 10 - pixelfont.text_width(tagline), y + 9 * scale + 4, tagline, TAGLINE_INK)
    return canvas


# One entry per line: (heading drawn in the heading colour, rest of the line in ink).
HELP_LINES = [
    ('', 'It records the input when its level crosses the threshold and plays the'),
    ('', 'recording back as a tempo-synced loop in place of the input.'),
    ('Slider bank', ' (top): drag a bar up or down to set its value.'),
    ('', '  Atk / Dcy  attack and decay of the level follower'),
    ('', '  Size       loop length in 1/256 bar, offset by the current step'),
    ('', '  Smth       fade zone of each loop pass    Wet   loop against dry input'),
    ('', '  Bits       bit reduction of the loop      Rep   passes before the input'),
    ('', '  PRE, POST  Cut and Rez: cutoff and resonance of the filters before'),
    ('', '             the envelope follower and after the loop'),
    ('Threshold meter', ': shows the input level; drag in it to set the trigger.'),
    ('', '  It reads MIDI! while notes start the recordings.'),
    ('Inverse', ' (inv): click to trigger when the level falls below the threshold.'),
    ('Filter types', ': click the box of PRE or POST to step OFF, LP, HP, BP.'),
    ('Steps', ': sixteen offsets (-8 to 8) added to the size, one step per freeze.'),
    ('', '  Drag across the bars to draw them; the right button sets 0.'),
    ('', '  The highlighted step is the one the sequencer is on.'),
    ('Length', ': the bar right of the steps sets how many steps run (right: 16).'),
    ('MIDI switches', ': MidiNote-Control - notes set the loop length;'),
    ('', '  Note->RecordStart - notes start recordings; Repeat till NoteOff -'),
    ('', '  the loop holds until the note is released.'),
    ('Waveform', ': live view of the freeze buffer, pink while recording.'),
    ('?', ' shows this page. Click anywhere to close it.'),
    ('Zoom', ': right-click the name at the lower right to pick 100 to 300 %.'),
]


def help_page():
    canvas = Canvas(WIDTH, HEIGHT, PAPER)
    canvas.border(BORDER)
    title = 'brindleLoop - the controls'
    canvas.text(12, 9, title, TITLE, 2)
    canvas.fill(12, 29, WIDTH - 12, 30, BORDER[2])
    line_height = 11
    y = 35
    for heading, rest in HELP_LINES:
        width = pixelfont.text_width(heading + rest)
        if 12 + width > WIDTH - 10:
            raise SystemExit('help line too long: %r' % (heading + rest))
        x = canvas.text(12, y, heading, HEADING) if heading else 12
        canvas.text(x, y, rest, INK)
        y += line_height
    if y > HEIGHT - 6:
        raise SystemExit('help page too long')
    return canvas


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, canvas in (('background', background()), ('help', help_page())):
        with open(os.path.join(here, name + '.bmp'), 'wb') as out:
            out.write(canvas.bmp())
        for factor in (2, 3):
            with open(os.path.join(here, '%s-%dx.bmp' % (name, factor)), 'wb') as out:
                out.write(canvas.scaled(factor).bmp_rle8())


if __name__ == '__main__':
    main()
