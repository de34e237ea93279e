#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every process-level figure of the README for two builds side by side, in one run: start-up,
# exit, memory and CPU, each through SDL's dummy driver and through a private PulseAudio server,
# and the music's synthesis per track from each build's own benchmark.
#
#   bench/figures.sh BEFORE_BUILD_DIR AFTER_BUILD_DIR [LOG_DIR]
#
# Each BUILD_DIR is a Release build with PELMORAVAN_BENCH=ON (pelmoravan and
# bench/pelmoravan_qt_bench in it), e.g. a `git worktree add` of the older commit built alike.
# The logs go to LOG_DIR (default: a fresh folder, printed).
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
BEFORE=$(readlink -f "$1")
AFTER=$(readlink -f "$2")
LOGS=${3:-$(mktemp -d)}
mkdir -p "$LOGS"
echo "logs in $LOGS"
for way in dummy pulse; do
    BENCH_SOUND=$way "$HERE/startup_memory.sh" "$BEFORE/pelmoravan" "$AFTER/pelmoravan" >"$LOGS/startup_memory.$way.txt" 2>&1
    BENCH_SOUND=$way "$HERE/cpu_usage.sh" "$BEFORE/pelmoravan" "$AFTER/pelmoravan" >"$LOGS/cpu_usage.$way.txt" 2>&1
done
for side in BEFORE AFTER; do
    "${!side}/bench/pelmoravan_qt_bench" --benchmark_filter=Music >"$LOGS/music_bench.$side.txt" 2>/dev/null
done
tail -n +1 "$LOGS"/*.txt
