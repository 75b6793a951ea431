#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test; exits non-zero on any failure.
set -euo pipefail
WURZEL="$(cd "$(dirname "$0")/.." && pwd)"
"$WURZEL/scripts/install-deps.sh"
"$WURZEL/scripts/build.sh" "$WURZEL/build"
cd "$WURZEL/build"
ctest --output-on-failure -j2 --timeout 600
