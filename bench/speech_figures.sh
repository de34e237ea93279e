#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# How long the cell words of a level take to hear: every cell's words spoken by espeak-ng at its
# default rate (-v en, -v cmn), the length of the sound it makes (its pauses included), as a mean
# over the 160 cells of level 1 of Easy. Three ways of hearing them: walking the cursor over every
# cell once (what a player hears moving cell by cell), each cell in full (as M and a removal tell
# it), and the words the game said before they were shortened ("elephant, column 3, row 5"),
# rebuilt from the full ones.
#
#   bench/speech_figures.sh CELL_WORDS_BINARY [SEED]
#
# CELL_WORDS_BINARY is bench/cell_words of a build with PELMORAVAN_BENCH=ON; espeak-ng 1.51
# (Debian's espeak-ng) must be installed.
set -euo pipefail
words=$(readlink -f "$1")
seed=${2:-1}
command -v espeak-ng >/dev/null || { echo "espeak-ng is not installed (apt-get install espeak-ng)" >&2; exit 1; }
espeak-ng --version
"$words" "$seed" | python3 -c '
import re, statistics, struct, subprocess, sys

def seconds(voice, text):
    wav = subprocess.run(["espeak-ng", "-v", voice, "--stdout", text], capture_output=True, check=True).stdout
    rate, = struct.unpack_from("<I", wav, 24)
    return (len(wav) - 44) / 2 / rate

def before(language, text):
    m = re.match(r"^(.+) (\d+) (\d+)$", text)
    return f"{m[1]}, column {m[2]}, row {m[3]}" if language == "en" else f"{m[1]}，第{m[2]}列，第{m[3]}行"

heard = {}
for line in sys.stdin:
    language, way, text = line.rstrip("\n").split("\t")
    heard.setdefault((language, way), []).append(text)
    if way == "full":
        heard.setdefault((language, "before"), []).append(before(language, text))
print("%-8s %-7s %5s %7s %9s  %s" % ("words", "heard", "cells", "mean s", "longest s", "example"))
for (language, way), texts in sorted(heard.items()):
    voice = "en" if language == "en" else "cmn"
    times = [seconds(voice, t) for t in texts]
    print(f"{language:<8} {way:<7} {len(texts):>5} {statistics.mean(times):>7.2f} {max(times):>9.2f}  {texts[1]}")
'
