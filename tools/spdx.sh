#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Puts the licence's SPDX line at the top of every tracked source file that lacks it, in the
# comment style of the file's language (after a #! line or an HTML doctype, which must stay first).
# Running it twice changes nothing.
#   tools/spdx.sh           add the line where it is missing
#   tools/spdx.sh --check   list the files that lack it; exit 1 if there is any
set -euo pipefail
cd "$(dirname "$0")/.."

TAG="SPDX-License-Identifier: MIT"
CHECK=0
case "${1:-}" in
  "") ;;
  --check) CHECK=1 ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

# The comment line for FILE, or nothing when the file is data that takes no comment (JSON, images,
# the menu entry, the metainfo, documents).
comment_for() {
  case "$1" in
    *.cpp|*.h|*.c|*.js) echo "// $TAG" ;;
    *.css) echo "/* $TAG */" ;;
    *.html) echo "<!-- $TAG -->" ;;
    *.sh|*.py|*.cmake|*/CMakeLists.txt|CMakeLists.txt|*.conf|*.supp) echo "# $TAG" ;;
    *)
      # Scripts without an extension (./check, ./play): by their #! line.
      if [ "$(head -c 2 "$1")" = "#!" ]; then echo "# $TAG"; fi ;;
  esac
}

missing=()
while IFS= read -r -d '' file; do
  [ -f "$file" ] && [ ! -L "$file" ] || continue
  line=$(comment_for "$file")
  [ -n "$line" ] || continue
  # Present when it is the first line, or the second after a #! line or a doctype.
  if head -n 2 "$file" | grep -qF "$TAG"; then
    continue
  fi
  missing+=("$file")
  [ "$CHECK" = 1 ] && continue
  first=$(head -n 1 "$file")
  tmp="$file.spdx.$$"
  if [[ "$first" == '#!'* ]] || [[ "${first,,}" == '<!doctype'* ]]; then
    { printf '%s\n%s\n' "$first" "$line"; tail -n +2 "$file"; } >"$tmp"
  else
    { printf '%s\n' "$line"; cat "$file"; } >"$tmp"
  fi
  # Keeps the file's mode (scripts stay executable).
  chmod --reference="$file" "$tmp"
  mv "$tmp" "$file"
done < <(git ls-files -z -- ':!:assets/' ':!:**/package-lock.json')

if [ "$CHECK" = 1 ]; then
  if [ ${#missing[@]} -ne 0 ]; then
    echo "files without '$TAG' (tools/spdx.sh adds it):" >&2
    printf '  %s\n' "${missing[@]}" >&2
    exit 1
  fi
  echo "every source file carries '$TAG'"
elif [ ${#missing[@]} -ne 0 ]; then
  echo "added '$TAG' to ${#missing[@]} file(s)"
fi
