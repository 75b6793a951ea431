#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ and runs each for SECONDS (default 60) on its corpus. The corpus grows in
# build-fuzz/korpus/<target>/ (kept between runs, never committed) from the seeds in
# tests/fuzz/saat/, the regression inputs in tests/fuzz/regression/ and the tests' data files.
# Exits non-zero on any crash, leak, broken invariant, timeout (10 s per input) or memory above
# 2 GB, naming the reproducer. Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
WURZEL="$(cd "$(dirname "$0")/.." && pwd)"
SEKUNDEN="${1:-60}"
shift || true
BUILD="$WURZEL/build-fuzz"
FUZZ="$WURZEL/tests/fuzz"

"$WURZEL/scripts/install-deps.sh"

FLAGS="-O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined"
FLAGS="$FLAGS -fno-sanitize-recover=all"
cmake -S "$WURZEL" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_C_FLAGS="$FLAGS" -DCMAKE_CXX_FLAGS="$FLAGS" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DKONTURO_FUZZ=ON -DKONTURO_TESTS=OFF -DKONTURO_BENCH=OFF -DKONTURO_GUI=OFF >/dev/null
cmake --build "$BUILD" --target fuzz_alle

# The tests' data files each target starts from, besides its seeds and regression inputs.
declare -A DATEN=(
    [eps]="tests/import/daten/*.eps tests/import/daten/*.ps"
    [spar]="tests/import/daten/*.eps tests/import/daten/*.ps"
    [pdf]="tests/import/daten/*.pdf"
    [dxf]="tests/frames/daten/*.dxf"
    [vlg]="tests/frames/daten/*.vlg"
    [rtf]="tests/text/daten/*.rtf"
    [klartext]="tests/text/daten/README tests/import/daten/README.md"
    [sprache]="app/Konturo.dat"
)

if [ $# -gt 0 ]; then
    ZIELE=("$@")
else
    ZIELE=()
    for quelle in "$FUZZ"/fuzz_*.cpp; do
        name="$(basename "$quelle" .cpp)"
        ZIELE+=("${name#fuzz_}")
    done
fi

export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1"
# Reports with file and line: Debian's llvm-14 names its symbolizer with the version.
if [ -x /usr/bin/llvm-symbolizer-14 ]; then export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-14; fi
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

FEHLER=0
ZUSAMMENFASSUNG=()
for ziel in "${ZIELE[@]}"; do
    programm="$BUILD/bin/fuzz_$ziel"
    if [ ! -x "$programm" ]; then
        echo "fuzz.sh: no target \"$ziel\"" >&2
        FEHLER=1
        continue
    fi
    korpus="$BUILD/korpus/$ziel"
    funde="$BUILD/funde/$ziel"
    saat="$BUILD/saat/$ziel"
    mkdir -p "$korpus" "$funde"
    # The seeds are copied into a folder of their own, so that libFuzzer's merge never writes into
    # tests/.
    rm -rf "$saat"
    mkdir -p "$saat"
    for ordner in "$FUZZ/saat/$ziel" "$FUZZ/regression/$ziel"; do
        [ -d "$ordner" ] && cp -p "$ordner"/* "$saat"/ 2>/dev/null || true
    done
    for muster in ${DATEN[$ziel]:-}; do
        for datei in $WURZEL/$muster; do
            [ -f "$datei" ] && cp -p "$datei" "$saat"/
        done
    done
    woerterbuch=()
    [ -f "$FUZZ/woerterbuch/$ziel.dict" ] && woerterbuch=(-dict="$FUZZ/woerterbuch/$ziel.dict")
    protokoll="$BUILD/funde/$ziel.log"
    echo "== $ziel: $SEKUNDEN s"
    set +e
    "$programm" -max_total_time="$SEKUNDEN" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$funde/" "${woerterbuch[@]}" \
        "$korpus" "$saat" >"$protokoll" 2>&1
    ergebnis=$?
    set -e
    ausfuehrungen="$(sed -n 's/^stat::number_of_executed_units: *//p' "$protokoll" | tail -1)"
    proSekunde="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$protokoll" | tail -1)"
    speicher="$(sed -n 's/^stat::peak_rss_mb: *//p' "$protokoll" | tail -1)"
    if [ "$ergebnis" -ne 0 ]; then
        FEHLER=1
        grep -E "^==[0-9]+==ERROR|^SUMMARY|runtime error|ERROR: libFuzzer|what\(\)" "$protokoll" | head -5 >&2
        fund="$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$protokoll" | tail -1)"
        echo "fuzz.sh: $ziel failed (exit $ergebnis); reproducer: ${fund:-none written}; log: $protokoll" >&2
        ZUSAMMENFASSUNG+=("$(printf '%-14s %12s %8s %8s  FAILED %s' "$ziel" "${ausfuehrungen:--}" \
            "${proSekunde:--}" "${speicher:--}" "${fund:-}")")
    else
        ZUSAMMENFASSUNG+=("$(printf '%-14s %12s %8s %8s  ok' "$ziel" "$ausfuehrungen" \
            "$proSekunde" "$speicher")")
    fi
done

printf '\n%-14s %12s %8s %8s\n' target executions exec/s "RSS MB"
printf '%s\n' "${ZUSAMMENFASSUNG[@]}"
exit $FEHLER
