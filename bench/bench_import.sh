#!/usr/bin/env bash
# Import benchmark on a generated drawing of SIZE_MB megabytes: MB/s and peak memory of the
# import (bench_import, one fresh process per file), then konturo-cli import against
# pstoedit -f dxf on the same EPS file, end to end with the DXF written, and the time ratio.
# Usage: bench/bench_import.sh [BUILD_FOLDER] [SIZE_MB]
set -euo pipefail
HIER="$(cd "$(dirname "$0")" && pwd)"
BUILD="${1:-$HIER/../build}"
MB="${2:-20}"
ORDNER="$(mktemp -d)"
trap 'rm -rf "$ORDNER"' EXIT

python3 "$HIER/bench_import_daten.py" "$ORDNER" "$MB"
ls -l "$ORDNER"/zeichnung.eps "$ORDNER"/zeichnung.pdf

for datei in zeichnung.eps zeichnung.pdf; do
    echo "== $datei"
    KONTURO_IMPORT_DATEI="$ORDNER/$datei" "$BUILD/bin/bench_import" 2>/dev/null | grep BM_Datei
done

sekunden() {
    local anfang ende
    anfang=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    ende=$(date +%s.%N)
    echo "$anfang $ende" | awk '{ printf "%.3f", $2 - $1 }'
}

KONTURO=$(sekunden "$BUILD/bin/konturo-cli" import --defaults -o "$ORDNER/konturo.dxf" \
    "$ORDNER/zeichnung.eps")
echo "konturo-cli import, EPS to DXF: $KONTURO s"
if command -v pstoedit >/dev/null; then
    PSTOEDIT=$(sekunden pstoedit -f dxf "$ORDNER/zeichnung.eps" "$ORDNER/pstoedit.dxf")
    echo "pstoedit -f dxf, EPS to DXF:    $PSTOEDIT s"
    echo "$PSTOEDIT $KONTURO" | awk '{ printf "time ratio pstoedit / konturo-cli: %.2f\n", $1 / $2 }'
else
    echo "pstoedit is not installed (Debian package pstoedit): no comparison"
fi
