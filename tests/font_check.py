#!/usr/bin/env python3
"""Checks the program's font files: each has a glyph for every listed
character (fontTools leaves out a character its source lacks without a word)
and the family name the program asks for.

    font_check.py CHARS FAMILY FONT...
"""

import sys

from fontTools.ttLib import TTFont


def main(chars_path, family, *fonts):
    with open(chars_path, encoding="utf-8") as f:
        wanted = {int(line.split("#")[0], 16) for line in f if line.split("#")[0].strip()}
    failed = not wanted
    for path in fonts:
        font = TTFont(path)
        missing = sorted(wanted - set(font.getBestCmap()))
        if missing:
            failed = True
            print(f"{path}: no glyph for", " ".join(f"U+{c:04X} {chr(c)}" for c in missing))
        if font["name"].getDebugName(1) != family:
            failed = True
            print(f"{path}: family {font['name'].getDebugName(1)!r}, not {family!r}")
    print(f"{len(wanted)} characters, {len(fonts)} files:", "FAILED" if failed else "all present")
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
