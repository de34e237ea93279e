#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Prints every character the page may have to draw: printable ASCII and every character of the
string literals in the given source files (C++ double-quoted literals; for the page's own HTML and
JavaScript, every non-ASCII character, which can only stand in its texts)."""
import re
import sys

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')

chars = {chr(c) for c in range(0x20, 0x7F)}
for path in sys.argv[1:]:
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if path.endswith((".cpp", ".h")):
        for literal in LITERAL.findall(text):
            chars.update(literal)
    else:
        chars.update(c for c in text if ord(c) > 0x7F)
chars = {c for c in chars if c.isprintable() or c == "\u3000"}
sys.stdout.write("".join(sorted(chars)))
