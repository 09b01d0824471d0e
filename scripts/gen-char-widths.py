#!/usr/bin/env python3
"""Writes src/common/CharWidthTable.h (to stdout): the ranges of code points
that take two units (East Asian Width W or F) or none (combining marks,
format characters, conjoining Hangul vowels and finals) when a label text is
counted in the units of a double-byte code page. Every other code point takes
one. Run it with a newer Python to follow a newer Unicode:
    python3 scripts/gen-char-widths.py > src/common/CharWidthTable.h
"""
import sys
import unicodedata

MAX = 0x10FFFF
SOFT_HYPHEN = 0x00AD
# Format characters that are drawn (prepended concatenation marks) count one.
DRAWN_FORMAT = {0x0600, 0x0601, 0x0602, 0x0603, 0x0604, 0x0605, 0x06DD, 0x070F, 0x0890, 0x0891,
                0x08E2, 0x110BD, 0x110CD}


def width(cp):
    ch = chr(cp)
    cat = unicodedata.category(ch)
    if cat in ("Mn", "Me"):
        return 0
    if cat == "Cf" and cp != SOFT_HYPHEN and cp not in DRAWN_FORMAT:
        return 0
    if 0x1160 <= cp <= 0x11FF or 0xD7B0 <= cp <= 0xD7FF:
        return 0
    if cat == "Cn":
        # Unassigned code points in the blocks kept for wide characters are wide.
        if (0x3400 <= cp <= 0x4DBF or 0x4E00 <= cp <= 0x9FFF or 0xF900 <= cp <= 0xFAFF
                or 0x20000 <= cp <= 0x2FFFD or 0x30000 <= cp <= 0x3FFFD):
            return 2
        return 1
    if unicodedata.east_asian_width(ch) in ("W", "F"):
        return 2
    return 1


def main():
    ranges = []
    start, current = 0, width(0)
    for cp in range(1, MAX + 2):
        w = width(cp) if cp <= MAX else None
        if w != current:
            if current != 1:
                ranges.append((start, cp - 1, current))
            start, current = cp, w
    out = sys.stdout
    out.write("// The code points a label text counts as two units (East Asian Width W or\n")
    out.write("// F) or none (combining marks, format characters, conjoining Hangul\n")
    out.write("// vowels and finals); all others count one. Unicode %s, made by\n"
              % unicodedata.unidata_version)
    out.write("// scripts/gen-char-widths.py: do not edit by hand.\n")
    out.write("#pragma once\n\n#include <cstdint>\n\nnamespace twr::detail {\n\n")
    out.write("struct CharWidthRange {\n  std::uint32_t first;\n  std::uint32_t last;\n"
              "  std::uint8_t width;\n};\n\n")
    out.write("// clang-format off\ninline constexpr CharWidthRange kCharWidthRanges[] = {\n")
    for first, last, w in ranges:
        out.write("    {0x%04X, 0x%04X, %d},\n" % (first, last, w))
    out.write("};\n// clang-format on\n\n}  // namespace twr::detail\n")


if __name__ == "__main__":
    main()
