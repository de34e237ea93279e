# SPDX-License-Identifier: MIT
"""Turns the staged page into the folder that is served: names that carry a hash of the content,
references rewritten to them, and Brotli and gzip copies beside every file they make smaller.

    publish.py <staged folder> <output folder> <cache folder>

index.html and sw.js keep their names: they are what a browser asks for by name, and revalidates.
Every other file's name changes with its content, so that it can be cached for a year and a
new build can never be served with the files of an older one. The page learns the names (and the
sizes, for its progress bar) from a map written into index.html; the service worker gets the list
of the build's files. The output folder is replaced whole, so no file of an older build stays.
"""
import gzip
import hashlib
import json
import os
import re
import shutil
import sys
import time

import brotli

KEEP_NAMES = {"index.html", "sw.js"}
# Files that refer to others by name; rewritten before they are hashed, in this order.
REFERRERS = ("fonts/fonts.css", "manifest.webmanifest")
# Already compressed: a second compression gains nothing.
INCOMPRESSIBLE = (".ogg", ".png", ".woff2", ".br", ".gz")
QUOTED = re.compile(r"""(?P<q>["'(])(?P<ref>[^"'()\s<>]+)(?P<e>["')])""")


def digest(data):
    return hashlib.sha256(data).hexdigest()


def hashed_name(rel, data):
    head, ext = os.path.splitext(rel)
    return f"{head}.{digest(data)[:12]}{ext}"


def rewrite(text, rel, names):
    """Quoted references to staged files, relative to `rel`'s folder, point at their new names."""
    base = os.path.dirname(rel)

    def swap(m):
        target = os.path.normpath(os.path.join(base, m.group("ref"))).replace(os.sep, "/")
        if target not in names:
            return m.group(0)
        new = os.path.relpath(names[target], base or ".").replace(os.sep, "/")
        return m.group("q") + new + m.group("e")

    return QUOTED.sub(swap, text)


def compressed_copies(path, data, cache):
    """Writes <path>.br and <path>.gz where they are smaller; compressions are kept in `cache`
    by content, since Brotli at its best is slow and most files do not change between builds."""
    if path.endswith(INCOMPRESSIBLE):
        return
    key = digest(data)
    for suffix, squeeze in ((".br", lambda d: brotli.compress(d, quality=11)),
                            (".gz", lambda d: gzip.compress(d, compresslevel=9, mtime=0))):
        kept = os.path.join(cache, key + suffix)
        if os.path.exists(kept):
            os.utime(kept)  # in use: kept by forget_old below
        else:
            with open(kept + ".part", "wb") as f:
                f.write(squeeze(data))
            os.replace(kept + ".part", kept)
        if os.path.getsize(kept) < len(data):
            shutil.copyfile(kept, path + suffix)


def forget_old(cache, days=3):
    """Compressions no build has used for some days go: each new program would add its own."""
    limit = time.time() - days * 86400
    for name in os.listdir(cache):
        path = os.path.join(cache, name)
        if os.path.getmtime(path) < limit:
            os.remove(path)


def publish(stage, out, cache):
    files = sorted(os.path.relpath(os.path.join(d, f), stage).replace(os.sep, "/")
                   for d, _, fs in os.walk(stage) for f in fs)
    content = {}
    for rel in files:
        with open(os.path.join(stage, rel), "rb") as f:
            content[rel] = f.read()

    names = {}
    leaves = [r for r in files if r not in KEEP_NAMES and r not in REFERRERS]
    for rel in leaves:
        names[rel] = hashed_name(rel, content[rel])
    for rel in REFERRERS:
        if rel in content:
            content[rel] = rewrite(content[rel].decode(), rel, names).encode()
            names[rel] = hashed_name(rel, content[rel])

    sizes = {rel: len(content[rel]) for rel in names}
    page_map = json.dumps({"names": names, "sizes": sizes}, sort_keys=True, separators=(",", ":"))
    html = rewrite(content["index.html"].decode(), "index.html", names)
    # The map comes before any script, so each can find the files it loads.
    html = html.replace("<script", f"<script>var pelmoravanFiles = {page_map};</script>\n<script", 1)
    content["index.html"] = html.encode()
    if "sw.js" in content:
        # The build's files: the service worker keeps exactly these, under this build's name.
        build = digest("".join(sorted(names.values())).encode() + content["index.html"])[:12]
        listing = json.dumps(sorted(names.values()), separators=(",", ":"))
        content["sw.js"] = (f"const BUILD = '{build}';\nconst FILES = {listing};\n".encode() +
                            content["sw.js"])
        names["sw.js"] = "sw.js"
    names["index.html"] = "index.html"

    os.makedirs(cache, exist_ok=True)
    if os.path.exists(out) and os.listdir(out) and not os.path.exists(os.path.join(out, "index.html")):
        sys.exit(f"publish: {out} is not empty and holds no page; not replacing it")
    part = out.rstrip("/") + ".part"
    shutil.rmtree(part, ignore_errors=True)
    for rel, new in names.items():
        path = os.path.join(part, new)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content[rel])
        compressed_copies(path, content[rel], cache)
    shutil.rmtree(out, ignore_errors=True)
    os.replace(part, out)
    forget_old(cache)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    publish(*sys.argv[1:])
