#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the README's screenshots, docs/screenshot-title.png and docs/screenshot-play.png, with the
# headless front end: a fixed seed plays Easy by auto-play the same way every time, so the same
# frames come out; the title is the first frame, the play screen a frame of the second level
# with a link line and a bonus on show.
#   tools/screenshots.sh [BUILD DIR]   (default build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/screenshots}
seed=20261207
play_frame=000797

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMORAVAN_DESKTOP=OFF \
  -DPELMORAVAN_TESTS=OFF >/dev/null
cmake --build "$build" --target pelmoravan-headless
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/src/headless/pelmoravan-headless" --seed "$seed" --difficulty easy --auto \
  --frames "$work/frames" --data-dir "$work/data"
cp "$work/frames/000001.png" docs/screenshot-title.png
cp "$work/frames/$play_frame.png" docs/screenshot-play.png
echo "docs/screenshot-title.png and docs/screenshot-play.png written"
