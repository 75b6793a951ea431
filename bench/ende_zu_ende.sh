#!/usr/bin/env bash
# End-to-end figures of konturo-cli, median of RUNS runs each: 10,000 characters of Liberation
# Sans to DXF, and the Inkscape drawing of bench/inkscape_zeichnung.sh (EPS and PDF) to DXF and
# GEO, with wall and CPU seconds, MB/s of input (of the inflated content for the PDF) and the
# largest peak resident memory of the runs. With several build folders the runs of the builds
# alternate (run 1 of every build, then run 2, ...), so a changing load of the machine falls on
# all of them alike, and the column "same" tells whether a build's output has the bytes of the
# first build's ("=") or not ("DIFFERS"). The load average is printed before and after.
# Usage: bench/ende_zu_ende.sh DRAWING_FOLDER RUNS BUILD_FOLDER [BUILD_FOLDER...]
# With KEEP=FOLDER the outputs of the last runs are kept there as BUILDNUMBER-CASE.EXT.
set -euo pipefail
HIER="$(cd "$(dirname "$0")" && pwd)"
if [ $# -lt 3 ]; then
    echo "usage: $0 DRAWING_FOLDER RUNS BUILD_FOLDER [BUILD_FOLDER...]" >&2
    exit 2
fi
ZEICHNUNG="$1"
LAEUFE="$2"
shift 2
BAUTEN=("$@")
for b in "${BAUTEN[@]}"; do
    [ -x "$b/bin/konturo-cli" ] || { echo "no $b/bin/konturo-cli" >&2; exit 2; }
done
ORDNER="$(mktemp -d)"
trap 'rm -rf "$ORDNER"' EXIT
[ -f "$ZEICHNUNG/inkscape.eps" ] || "$HIER/inkscape_zeichnung.sh" "$ZEICHNUNG"

python3 - "$ORDNER/text.txt" <<'PY'
import random
import sys

# Words of 2 to 9 letters or digits, lines of about 60 characters, as bench_text builds them.
zeichen = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
zufall = random.Random(2026)
text, zeile = "", 0
while len(text) < 10000:
    n = zufall.randint(2, 9)
    text += "".join(zufall.choice(zeichen) for _ in range(n))
    zeile += n
    if zeile > 60:
        text, zeile = text + "\n", 0
    else:
        text, zeile = text + " ", zeile + 1
open(sys.argv[1], "w").write(text[:10000])
PY
# The inflated bytes of the PDF's Flate streams (Inkscape's PDF holds only the page content and
# its form objects, all of it drawing).
INHALT_MB=$(python3 - "$ZEICHNUNG/inkscape.pdf" <<'PY'
import re
import sys
import zlib

d = open(sys.argv[1], "rb").read()
summe = 0
for m in re.finditer(rb"stream\r?\n", d):
    if d[m.start() - 3:m.start()] == b"end":
        continue
    try:
        summe += len(zlib.decompressobj().decompress(d[m.end():d.find(b"endstream", m.end())]))
    except zlib.error:
        pass
print("%.2f" % (summe / 1e6))
PY
)
EPS_MB=$(stat -c %s "$ZEICHNUNG/inkscape.eps" | awk '{ printf "%.2f", $1 / 1e6 }')

# One run of build $1 for case $2, output file $3, then the command's arguments: appends
# "wall user sys peakKiB" to $ORDNER/zeit.$1.$2; a failing command stops the script.
einmal() {
    local bau="$1" fall="$2" aus="$3"
    shift 3
    if ! /usr/bin/time -f "%e %U %S %M" -o "$ORDNER/eine_zeit" \
        "${BAUTEN[$bau]}/bin/konturo-cli" "$1" -o "$ORDNER/$bau-$aus" "${@:2}" \
        >"$ORDNER/fehler" 2>&1; then
        echo "failed: ${BAUTEN[$bau]}/bin/konturo-cli $* -o $aus" >&2
        cat "$ORDNER/fehler" >&2
        exit 1
    fi
    cat "$ORDNER/eine_zeit" >>"$ORDNER/zeit.$bau.$fall"
}

# Case $1 with input MB $2 ("-" for none), output file $3, then the arguments.
fall() {
    local name="$1" mb="$2" aus="$3" i b
    shift 3
    for ((i = 0; i < LAEUFE; i++)); do
        for b in "${!BAUTEN[@]}"; do
            einmal "$b" "$name" "$aus" "$@"
        done
    done
    for b in "${!BAUTEN[@]}"; do
        local gleich="="
        cmp -s "$ORDNER/0-$aus" "$ORDNER/$b-$aus" || gleich=DIFFERS
        awk -v fall="$name" -v bau="$b" -v mb="$mb" -v gleich="$gleich" \
            '{ w[NR] = $1; c[NR] = $2 + $3; if ($4 > m) m = $4 }
            END { n = asort(w); asort(c); mw = w[int((n + 1) / 2)]
                  rate = (mb == "-" || mw == 0) ? "-" : sprintf("%.1f", mb / mw)
                  printf "%-30s %5d %8.3f %8.3f %8s %9.1f %7s\n", fall, bau, mw,
                         c[int((n + 1) / 2)], rate, m / 1024, gleich }' "$ORDNER/zeit.$b.$name"
        if [ -n "${KEEP:-}" ]; then
            mkdir -p "$KEEP"
            cp "$ORDNER/$b-$aus" "$KEEP/$b-$aus"
        fi
    done
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), $LAEUFE runs each"
for b in "${!BAUTEN[@]}"; do
    echo "build $b: ${BAUTEN[$b]}"
done
printf "%-30s %5s %8s %8s %8s %9s %7s\n" case build wall_s cpu_s MB/s peak_MB same
fall "text 10,000 chars -> DXF" - text.dxf text --defaults --font "Liberation Sans" --size 24 \
    --height 10 --file "$ORDNER/text.txt"
for eingabe in eps pdf; do
    mb=$EPS_MB
    [ "$eingabe" = pdf ] && mb=$INHALT_MB
    for ausgabe in dxf geo; do
        fall "import $eingabe ($mb MB) -> $ausgabe" "$mb" "$eingabe.$ausgabe" import --defaults \
            "$ZEICHNUNG/inkscape.$eingabe"
    done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
