#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every ctest command the testing guide gives, in its code blocks and its inline code, selects at
# least one test of this build: a room, suite or test renamed or gone leaves the guide telling
# the reader to run nothing. Each command only lists its tests (ctest -N), run on this build
# folder in place of the guide's build/check.
# Usage: commands_test.sh <docs/testing.md> <build folder>
set -euo pipefail

GUIDE=$(readlink -f "$1")
BUILD=$(readlink -f "$2")
FAILURES=0
COUNT=0

# The commands: lines of code blocks and inline code spans that start with "ctest ".
mapfile -t commands < <(python3 - "$GUIDE" <<'PY'
import re, sys
text = open(sys.argv[1], encoding="utf-8").read()
found = []
fenced = False
for line in text.splitlines():
    if line.lstrip().startswith("```"):
        fenced = not fenced
        continue
    code = line.strip() if fenced or line.startswith("    ") else None
    candidates = [code] if code else re.findall(r"`([^`]+)`", line)
    for c in candidates:
        c = c.split("  #")[0].strip()
        if c.startswith("ctest "):
            found.append(c)
print("\n".join(found))
PY
)
[ ${#commands[@]} -gt 0 ] && [ -n "${commands[0]}" ] || { echo "FAIL: $GUIDE gives no ctest command" >&2; exit 1; }

for command in "${commands[@]}"; do
    COUNT=$((COUNT + 1))
    run=${command//build\/check/$BUILD}
    if ! out=$(cd "$BUILD" && eval "$run -N" 2>&1); then
        echo "FAIL: '$command' fails: $out" >&2
        FAILURES=$((FAILURES + 1))
        continue
    fi
    total=$(sed -n 's/^Total Tests: \([0-9]*\)$/\1/p' <<<"$out")
    if [ "${total:-0}" -eq 0 ]; then
        echo "FAIL: '$command' selects no test" >&2
        FAILURES=$((FAILURES + 1))
    fi
done

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES of $COUNT command(s) in $(basename "$GUIDE") select no test" >&2
    exit 1
fi
echo "each of the $COUNT ctest commands in $(basename "$GUIDE") selects tests"
