#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Where a process's resident memory lies, from /proc/PID/smaps: shared libraries' pages, fonts,
other mapped files, and the process's own (heap, thread stacks and arenas, other anonymous).

    bench/smaps_breakdown.py PID
"""
import re
import sys
from collections import defaultdict


def category(path, perms):
    if path == "[heap]":
        return "own: heap"
    if path.startswith("[stack"):
        return "own: stacks"
    if path == "" or path.startswith("[anon"):
        return "own: anonymous (arenas, thread stacks, images)"
    if path.startswith("["):
        return "kernel ([vdso], [vvar])"
    if re.search(r"\.so(\.|$)", path):
        return "shared libraries"
    if re.search(r"\.(ttf|ttc|otf|pcf)(\.gz)?$", path, re.I):
        return "font files"
    if path.startswith("/memfd:") or "(deleted)" in path:
        return "own: anonymous (arenas, thread stacks, images)"
    if path.endswith(".sf2"):
        return "soundfont file"
    if "fontconfig" in path:
        return "font caches"
    return "other files (" + path.rsplit("/", 1)[-1] + ")" if "pelmoravan" in path else "other files"


def main():
    pid = sys.argv[1]
    totals = defaultdict(lambda: [0, 0])
    path, perms = "", ""
    with open(f"/proc/{pid}/smaps") as smaps:
        for line in smaps:
            head = re.match(r"^[0-9a-f]+-[0-9a-f]+ (\S+) \S+ \S+ \d+\s*(.*)$", line)
            if head:
                perms, path = head.group(1), head.group(2).strip()
                continue
            field = re.match(r"^(Rss|Pss):\s+(\d+) kB", line)
            if field:
                totals[category(path, perms)][0 if field.group(1) == "Rss" else 1] += int(field.group(2))
    rss = sum(v[0] for v in totals.values())
    print(f"{'resident (kB)':>14} {'proportional':>13}  part")
    for name, (r, p) in sorted(totals.items(), key=lambda kv: -kv[1][0]):
        print(f"{r:>14} {p:>13}  {name}")
    print(f"{rss:>14} {sum(v[1] for v in totals.values()):>13}  total")


main()
