#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the browser version into a folder of static files (default build/web): the program
# (pelmoravan.js, pelmoravan.wasm), the pictures in two packs (tools/web/pack_pictures.py: what the
# title draws, and the rest), the effects, the page,
# its manifest, icons and service worker, and what tools/web/assets.sh adds (the rendered music,
# the font subset). Every file but index.html and sw.js is named by its content, and has Brotli
# and gzip copies beside it where they are smaller (tools/web/publish.py).
# Then the same page with the browser tests' hooks (the test program's exports and
# src/web/page/js/test_hooks.js) into TEST_OUT, where the browser tests load it; an empty TEST_OUT builds
# the page as shipped only.
#   build.sh [OUT=build/web] [TEST_OUT=build/web-test]
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-build/web}
test_out=${2-build/web-test}
work=build/web-build

# The program, compiled with emscripten.
compile_program() {
  # Debian's emscripten finds its JavaScript helpers (acorn) only here.
  export NODE_PATH=/usr/share/nodejs
  if [ ! -f "$work/build.ninja" ]; then
    emcmake cmake -S . -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMORAVAN_WERROR=ON >/dev/null
  fi
  local targets=(pelmoravan_web)
  [ -z "$test_out" ] || targets+=(pelmoravan_web_test)
  cmake --build "$work" --target "${targets[@]}"
}

# Everything the page serves, under plain names, into $stage: the program from $program, and the
# script's parts in $page_parts.
stage_page() {
  mkdir -p "$stage"
  # Files of older builds that are no longer made go; music and fonts stay for assets.sh.
  find "$stage" -maxdepth 1 -type f -delete
  rm -rf "$stage/icons" "$stage/waves" "$stage/tracks"
  cp "$program/pelmoravan.js" "$program/pelmoravan.wasm" src/web/page/index.html \
    src/web/page/page.css src/web/page/sw.js src/web/page/manifest.webmanifest "$stage/"
  local part
  for part in "${page_parts[@]}"; do cat "src/web/page/js/$part.js"; done >"$stage/page.js"
  # The pictures: the first title frame waits only for the logo it waves; the rest come after it.
  /usr/bin/python3 tools/web/pack_pictures.py assets "$stage" screens/logo.bmp
  # The MIDI tracks the music rule writes to its track file (the page plays their renderings):
  # fetched beside the program rather than packed into it.
  mkdir -p "$stage/tracks"
  cp assets/music/*.mid "$stage/tracks/"
  # The effects: the title plays none, so the page fetches them once it shows.
  mkdir -p "$stage/waves"
  cp assets/waves/*.wav "$stage/waves/"
  # The icons the desktop ships, by size.
  mkdir -p "$stage/icons"
  local icon size
  for icon in assets/icons/hicolor/*/apps/*.png; do
    size=${icon#assets/icons/hicolor/}
    cp "$icon" "$stage/icons/${size%%x*}.png"
  done
  if [ -f tools/web/assets.sh ]; then
    bash tools/web/assets.sh "$stage"
  fi
}

# Hashed names, compressed copies, and $out replaced whole.
publish_page() {
  /usr/bin/python3 tools/web/publish.py "$stage" "$out" "$work/compressed"
}

compile_program
# The page's files under their plain names, kept between builds so that assets.sh can skip
# what is up to date.
stage=$work/stage
program=$work
# The page's script, one file per part, joined in this order (later parts use earlier ones).
page_parts=(pel surface catalog timer audio menu dialogs controls board_view input board loader)
stage_page
publish_page

# The test page: the same steps on the test program, with the hooks joined last. Its music and
# fonts are the shipped page's, copied so that they are not made twice.
if [ -n "$test_out" ]; then
  stage=$work/stage-test
  program=$work/test-page
  page_parts+=(test_hooks)
  out=$test_out
  mkdir -p "$stage"
  for made in music fonts; do
    [ ! -d "$work/stage/$made" ] || cp -rp "$work/stage/$made" "$stage/"
  done
  stage_page
  publish_page
fi
