#!/usr/bin/env python3
"""Lists the characters the windows can draw, for the font subset.

Every character of every string literal in the given C++ sources (captions,
window titles, the growth table, the fault messages), plus printable ASCII,
which the boxes show and a user types most. Writes one code point a line in
the form pyftsubset's --unicodes-file reads ("6210  # 成").

    font-chars.py OUT SOURCE...
"""

import sys

ASCII = range(0x20, 0x7F)


def raw_prefix(code, i):
    """Whether the R at i begins a raw string literal (R, u8R, uR, UR, LR)."""
    j = i
    while j > 0 and (code[j - 1].isalnum() or code[j - 1] == "_"):
        j -= 1
    return code[j:i + 1] in ("R", "u8R", "uR", "UR", "LR")


def literal_chars(code):
    """The characters of the string and character literals of C++ source,
    comments skipped. Escapes name no drawn character except \\u and \\U."""
    out = set()
    i, n = 0, len(code)
    while i < n:
        c = code[i]
        if code.startswith("//", i):
            i = code.find("\n", i)
            i = n if i < 0 else i
        elif code.startswith("/*", i):
            i = code.find("*/", i + 2)
            i = n if i < 0 else i + 2
        elif code.startswith('R"', i) and raw_prefix(code, i):
            # A raw string: R"delim( ... )delim", no escapes inside.
            open_paren = code.find("(", i + 2)
            delim = code[i + 2:open_paren]
            end = code.find(")" + delim + '"', open_paren)
            end = n if end < 0 else end
            out.update(code[open_paren + 1:end])
            i = end + len(delim) + 2
        elif c in "\"'" and not (c == "'" and i > 0 and code[i - 1].isalnum()):  # 1'000 is a digit separator
            i += 1
            while i < n and code[i] != c:
                if code[i] == "\\":
                    e = code[i + 1:i + 2]
                    width = {"u": 4, "U": 8}.get(e)
                    if width:
                        out.add(chr(int(code[i + 2:i + 2 + width], 16)))
                        i += 2 + width
                    else:
                        i += 2
                    continue
                out.add(code[i])
                i += 1
            i += 1
        else:
            i += 1
    return out


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    chars = {chr(c) for c in ASCII}
    for path in argv[2:]:
        with open(path, encoding="utf-8") as f:
            chars |= literal_chars(f.read())
    chars = sorted(c for c in chars if c.isprintable() or c == " ")
    with open(argv[1], "w", encoding="utf-8") as f:
        f.write("# Characters the windows draw: string literals of the sources and ASCII.\n")
        for c in chars:
            f.write(f"{ord(c):04X}  # {c}\n")


if __name__ == "__main__":
    main(sys.argv)
