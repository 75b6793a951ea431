#!/usr/bin/env bash
# Configures and builds Konturo into build/ (or the folder given as first argument).
set -euo pipefail
WURZEL="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$WURZEL/build}"
cmake -S "$WURZEL" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD"
