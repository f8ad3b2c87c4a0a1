#!/usr/bin/env python3
"""Makes the program's own font: the glyphs of the listed characters taken
from one face of a font file, renamed, as TTF and WOFF2.

    font-subset.py SOURCE FACE_NUMBER CHARS FAMILY OUT.ttf OUT.woff2

CHARS is what font-chars.py writes. The hinting stays (the Latin glyphs
carry instructions; the CJK ones are drawn with FreeType's light hinting), and
so do the kerning and the other default layout features. The new family name
keeps the font apart from a full copy of the source installed on the system,
and the file is the same on every build of the same sources.
"""

import sys

from fontTools import subset
from fontTools.ttLib import TTFont

# Copyright, names, version, trademark, licence and its address.
KEPT_NAMES = [0, 1, 2, 3, 4, 5, 6, 7, 13, 14]


def read_chars(path):
    codes = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#")[0].strip()
            if line:
                codes.append(int(line, 16))
    return codes


def rename(font, family):
    source = font["name"].getDebugName(4)
    version = font["name"].getDebugName(5)
    names = {1: family, 3: f"{family}; subset of {source} {version}", 4: family,
             6: family.replace(" ", "-")}
    for record in font["name"].names:
        if record.nameID in names:
            record.string = names[record.nameID]


def main(argv):
    if len(argv) != 7:
        sys.exit(__doc__)
    source, face, chars, family, out_ttf, out_woff2 = argv[1:]
    options = subset.Options()
    options.font_number = int(face)
    options.name_IDs = KEPT_NAMES
    options.hinting = True
    options.drop_tables += ["FFTM"]  # the source's font editor time stamps
    font = subset.load_font(source, options, lazy=False)
    # Keep the source's dates: the same input gives the same bytes.
    font.recalcTimestamp = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=read_chars(chars))
    subsetter.subset(font)
    rename(font, family)
    font.flavor = None
    font.save(out_ttf)
    woff2 = TTFont(out_ttf, recalcTimestamp=False)
    woff2.flavor = "woff2"
    woff2.save(out_woff2)


if __name__ == "__main__":
    main(sys.argv)
