#!/usr/bin/env bash
# Builds the browser version into a folder of static files (default build/web): the program
# (pelmoravan.js, pelmoravan.wasm, and pelmoravan.data with the pictures), the effects, the page,
# its manifest, icons and service worker, and what tools/web/assets.sh adds (the rendered music,
# the font subset). Every file but index.html and sw.js is named by its content, and has Brotli
# and gzip copies beside it where they are smaller (tools/web/publish.py).
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-build/web}
work=build/web-build
# The page's files under their plain names, kept between builds so that assets.sh can skip
# what is up to date.
stage=$work/stage

# The program, compiled with emscripten.
compile_program() {
  # Debian's emscripten finds its JavaScript helpers (acorn) only here.
  export NODE_PATH=/usr/share/nodejs
  if [ ! -f "$work/build.ninja" ]; then
    emcmake cmake -S . -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMORAVAN_WERROR=ON >/dev/null
  fi
  cmake --build "$work"
}

# Everything the page serves, under plain names, into $stage.
stage_page() {
  mkdir -p "$stage"
  # Files of older builds that are no longer made go; music and fonts stay for assets.sh.
  find "$stage" -maxdepth 1 -type f -delete
  rm -rf "$stage/icons" "$stage/waves"
  cp "$work/pelmoravan.js" "$work/pelmoravan.wasm" "$work/pelmoravan.data" web/index.html \
    web/page.css web/sw.js web/manifest.webmanifest "$stage/"
  # The page's script, one file per part, joined in this order (later parts use earlier ones).
  local page_parts=(pel surface catalog timer audio menu dialogs input loader test_hooks) part
  for part in "${page_parts[@]}"; do cat "web/js/$part.js"; done >"$stage/page.js"
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
stage_page
publish_page
