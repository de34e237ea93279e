#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages the game and its tests need, only those that are missing.
# Never prompts: CI runs this as root with no standard input.
#   deps.sh            the desktop game, its tests and benchmarks
#   deps.sh web        and the browser version's build (./play --web)
#   deps.sh web-tests  and the browser tests' headless Chromium, nginx, openssl and curl (./check)
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n libgtest-dev libgmock-dev libbenchmark-dev libx11-dev
  libpng-dev libfreetype-dev
  libsdl2-mixer-dev libfluidsynth-dev timgm6mb-soundfont
  fonts-wqy-microhei fonts-noto-color-emoji fonts-dejavu-core
  xvfb xauth xdotool imagemagick x11-apps x11-utils openbox
  desktop-file-utils appstream dpkg-dev
  # The Debian package's test: dpkg-buildpackage with dh, lintian, and man to find its page.
  debhelper lintian man-db
  pulseaudio pulseaudio-utils
  # The screen reader test: Orca, and speech-dispatcher playing to libao's null device; the
  # private session bus starts the accessibility bus (at-spi2-core) itself.
  orca speech-dispatcher speech-dispatcher-audio-plugins libao4 dbus-daemon at-spi2-core
)
# The page's build: the compiler, the music rendered ahead through FluidSynth into Ogg Vorbis,
# the font subsets (fontTools writes WOFF2 with brotli).
WEB_PACKAGES=(
  emscripten node-acorn
  fluidsynth vorbis-tools python3-fonttools python3-brotli
)
case "${1:-}" in
  "") ;;
  web) PACKAGES+=("${WEB_PACKAGES[@]}") ;;
  # npm installs the accessibility checker the browser tests load (tests/web/package-lock.json);
  # nginx serves the page with tools/web/nginx.conf in the delivery test.
  # The hosting test adds a self-signed certificate (openssl) and asks over https (curl).
  web-tests) PACKAGES+=("${WEB_PACKAGES[@]}" chromium nginx libnginx-mod-http-brotli-static openssl curl)
             command -v npm >/dev/null 2>&1 || PACKAGES+=(npm) ;;
  *) echo "usage: $0 [web|web-tests]" >&2; exit 2 ;;
esac

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO=(sudo)
  else
    echo "error: packages missing (${missing[*]}) and not root, and sudo is not available" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q </dev/null
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
