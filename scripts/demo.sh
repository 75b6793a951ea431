#!/usr/bin/env bash
# Installs what is needed, builds, and converts a default text to a DXF file.
set -euo pipefail
WURZEL="$(cd "$(dirname "$0")/.." && pwd)"
"$WURZEL/scripts/install-deps.sh"
"$WURZEL/scripts/build.sh" "$WURZEL/build"
AUSGABE="$WURZEL/out/Konturo.dxf"
mkdir -p "$WURZEL/out"
"$WURZEL/build/bin/konturo-cli" text --defaults --font "Liberation Sans" --size 24 --height 50 \
    "Konturo" -o "$AUSGABE"
echo "Wrote $AUSGABE"
