#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the page's own assets into <outdir>:
#   music/<NAME>.ogg  every built-in MIDI track rendered through FluidSynth with the soundfont the
#                     desktop game plays them with (mono Ogg Vorbis: Chromium and Firefox both play it)
#   fonts/            the glyphs the game's texts need, as WOFF2 subsets, and fonts.css
# Outputs newer than their inputs are kept, so a rebuild costs nothing.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 <outdir>" >&2; exit 2; }
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
OUT="$1"
SOUNDFONT=/usr/share/sounds/sf2/TimGM6mb.sf2
CJK_FONT=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
LATIN_FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
# Debian's Python, which has Debian's fontTools and brotli, whatever python3 comes first in PATH.
PYTHON=/usr/bin/python3
mkdir -p "$OUT/music" "$OUT/fonts"

TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

# True when $1 is missing or older than any of the other files.
stale() {
  local target="$1"; shift
  [ -e "$target" ] || return 0
  local f
  for f in "$@"; do [ "$f" -nt "$target" ] && return 0; done
  return 1
}

# Music. The container rule is the game's own (src/core/audio/rmid.*), built here as a host tool.
tracks=("$ROOT"/assets/music/*.mid)
unrmid_sources=("$ROOT/src/core/audio/rmid.cpp" "$ROOT/src/core/audio/rmid.h" "$ROOT/tools/web/unrmid.cpp")
for track in "${tracks[@]}"; do
  name="$(basename "$track" .mid)"
  ogg="$OUT/music/$name.ogg"
  stale "$ogg" "$track" "$0" "${unrmid_sources[@]}" || continue
  if [ ! -x "$TMP/unrmid" ]; then
    "${CXX:-g++}" -std=c++20 -O1 -I "$ROOT/src/core" "$ROOT/src/core/audio/rmid.cpp" "$ROOT/tools/web/unrmid.cpp" \
      -o "$TMP/unrmid"
  fi
  "$TMP/unrmid" "$track" "$TMP/$name.mid"
  # Gain 0.5 keeps the loudest track's peaks near half of full scale, clear of clipping.
  fluidsynth -n -i -q -g 0.5 -r 22050 -F "$TMP/$name.wav" "$SOUNDFONT" "$TMP/$name.mid" >/dev/null
  oggenc -Q --downmix -q 0 -o "$ogg.part" "$TMP/$name.wav"
  mv "$ogg.part" "$ogg"
done

# Fonts. The canvas draws every text in the desktop's canvas face, whose Latin glyphs the
# game's metrics were made with; menus and dialogs take DejaVu Sans for Latin, as the desktop's
# widgets do on Debian, and the same CJK face for the rest.
mapfile -t text_sources < <(cd "$ROOT" && find src -type f \
  \( -name '*.cpp' -o -name '*.h' -o -name '*.html' -o -name '*.js' \) 2>/dev/null | sort)
text_sources=("${text_sources[@]/#/$ROOT/}")
css="$OUT/fonts/fonts.css"
if stale "$css" "$0" "$ROOT/tools/web/glyphs.py" "${text_sources[@]}"; then
  "$PYTHON" "$ROOT/tools/web/glyphs.py" "${text_sources[@]}" >"$TMP/glyphs.txt"
  "$PYTHON" -m fontTools.subset "$CJK_FONT" --font-number=0 --text-file="$TMP/glyphs.txt" --flavor=woff2 --drop-tables+=FFTM \
    --output-file="$OUT/fonts/wqy-microhei.woff2"
  "$PYTHON" -m fontTools.subset "$LATIN_FONT" --text-file="$TMP/glyphs.txt" --flavor=woff2 --drop-tables+=FFTM \
    --output-file="$OUT/fonts/dejavu-sans.woff2"
  cat >"$css.part" <<'CSS'
/* The canvas's face: the desktop draws its texts with this family too. */
@font-face {
  font-family: "WenQuanYi Micro Hei";
  src: url("wqy-microhei.woff2") format("woff2");
  font-display: block;
}
/* Menus and dialogs: Latin from DejaVu Sans, everything else from the canvas's face. */
@font-face {
  font-family: "Pelmoravan UI";
  src: url("dejavu-sans.woff2") format("woff2");
  unicode-range: U+0000-024F, U+2000-206F;
  font-display: block;
}
@font-face {
  font-family: "Pelmoravan UI";
  src: url("wqy-microhei.woff2") format("woff2");
  font-display: block;
}
CSS
  mv "$css.part" "$css"
fi
