#!/usr/bin/env bash
# Builds the browser version into a folder of static files (default build/web): the program
# (pelmoravan.js, pelmoravan.wasm, and pelmoravan.data with the pictures and waves), the page,
# and what tools/web/assets.sh adds (the rendered music, the font subset).
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-build/web}
work=build/web-build

# Debian's emscripten finds its JavaScript helpers (acorn) only here.
export NODE_PATH=/usr/share/nodejs
if [ ! -f "$work/build.ninja" ]; then
  emcmake cmake -S . -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMORAVAN_WERROR=ON >/dev/null
fi
cmake --build "$work"

mkdir -p "$out"
cp "$work/pelmoravan.js" "$work/pelmoravan.wasm" "$work/pelmoravan.data" web/index.html \
  web/page.css "$out/"
# The page's script, one file per part, joined in this order (later parts use earlier ones).
page_parts=(pel surface catalog timer audio menu dialogs input test_hooks)
for part in "${page_parts[@]}"; do cat "web/js/$part.js"; done >"$out/page.js"
# The pictures and waves travel in pelmoravan.data now; copies from older builds go.
rm -rf "$out/assets"
if [ -f tools/web/assets.sh ]; then
  bash tools/web/assets.sh "$out"
fi
