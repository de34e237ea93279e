#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Packs the catalog's pictures into the two files the page fetches:

    pack_pictures.py <assets folder> <out folder> <title picture>...

  pictures-title.pack  what the first title frame draws (the title pictures named), behind a
                       header that lists every picture's size and place: the program is given all
                       of them at its start, the rest before their pixels have arrived
  pictures-rest.pack   the other pictures (tiles, tile backs, the other screens), fetched once the
                       title shows

The header: its length as 4 bytes (little-endian), then JSON
{"pictures": {path: [pack, offset, length, width, height]}}, pack 0 the title's (offsets from the
end of the header) and 1 the rest's. Paths are those of the catalog (tiles/1.bmp).
"""
import json
import os
import struct
import sys

FOLDERS = ("screens", "tiles", "backs")


def bmp_size(data):
    # A core header (12 bytes) holds 16-bit sizes; the others 32-bit ones, negative for top-down.
    if struct.unpack_from("<I", data, 14)[0] == 12:
        return struct.unpack_from("<HH", data, 18)
    w, h = struct.unpack_from("<ii", data, 18)
    return abs(w), abs(h)


def main(assets, out, title):
    paths = sorted(f"{folder}/{name}" for folder in FOLDERS
                   for name in os.listdir(os.path.join(assets, folder)) if name.endswith(".bmp"))
    missing = [p for p in title if p not in paths]
    if missing:
        sys.exit(f"pack_pictures: no {', '.join(missing)} in {assets}")
    index = {}
    bodies = ([], [])
    offsets = [0, 0]
    for path in title + [p for p in paths if p not in title]:
        with open(os.path.join(assets, path), "rb") as f:
            data = f.read()
        pack = 0 if path in title else 1
        index[path] = [pack, offsets[pack], len(data), *bmp_size(data)]
        bodies[pack].append(data)
        offsets[pack] += len(data)
    header = json.dumps({"pictures": index}, sort_keys=True, separators=(",", ":")).encode()
    os.makedirs(out, exist_ok=True)
    for name, head, body in (("pictures-title.pack", struct.pack("<I", len(header)) + header, bodies[0]),
                             ("pictures-rest.pack", b"", bodies[1])):
        with open(os.path.join(out, name + ".part"), "wb") as f:
            f.write(head + b"".join(body))
        os.replace(os.path.join(out, name + ".part"), os.path.join(out, name))


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
