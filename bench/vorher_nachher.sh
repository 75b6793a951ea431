#!/usr/bin/env bash
# One Google Benchmark program of two build folders compared on a busy machine: ROUNDS rounds,
# each runs the program of the first build and then of the second (one repetition each), so a
# changing load falls on both alike; printed are the median real and CPU time per benchmark
# of each build and the ratio second / first of the medians of real time, with the load average
# before and after.
# Usage: bench/vorher_nachher.sh PROGRAM BUILD_BEFORE BUILD_AFTER [ROUNDS] [BENCHMARK OPTIONS...]
# for example: bench/vorher_nachher.sh bench_geo ../vorher/build build-rel 3
set -euo pipefail
if [ $# -lt 3 ]; then
    echo "usage: $0 PROGRAM BUILD_BEFORE BUILD_AFTER [ROUNDS] [BENCHMARK OPTIONS...]" >&2
    exit 2
fi
PROGRAMM="$1"
VORHER="$2/bin/$PROGRAMM"
NACHHER="$3/bin/$PROGRAMM"
RUNDEN="${4:-3}"
shift $(($# < 4 ? $# : 4))
ORDNER="$(mktemp -d)"
trap 'rm -rf "$ORDNER"' EXIT
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), $RUNDEN rounds, $PROGRAMM"
# Runs program $1 as build $2 of round $3 with the options; a failing run stops the script.
einmal() {
    local programm="$1" bau="$2" runde="$3"
    shift 3
    if ! "$programm" --benchmark_out="$ORDNER/$bau.$runde.json" --benchmark_out_format=json \
        "$@" >/dev/null 2>"$ORDNER/fehler"; then
        echo "failed: $programm $*" >&2
        cat "$ORDNER/fehler" >&2
        exit 1
    fi
}
for ((i = 0; i < RUNDEN; i++)); do
    einmal "$VORHER" vorher "$i" "$@"
    einmal "$NACHHER" nachher "$i" "$@"
done
python3 - "$ORDNER" "$RUNDEN" <<'PY'
import json
import statistics
import sys

ordner, runden = sys.argv[1], int(sys.argv[2])
zeiten = {}  # name -> build -> [(real, cpu, unit)]
reihenfolge = []
for bau in ("vorher", "nachher"):
    for i in range(runden):
        for b in json.load(open("%s/%s.%d.json" % (ordner, bau, i)))["benchmarks"]:
            if b.get("run_type", "iteration") != "iteration":
                continue
            if b["name"] not in zeiten:
                zeiten[b["name"]] = {"vorher": [], "nachher": []}
                reihenfolge.append(b["name"])
            zeiten[b["name"]][bau].append((b["real_time"], b["cpu_time"], b["time_unit"]))
print("%-60s %14s %14s %14s %14s %7s" % ("benchmark", "before real", "before CPU", "after real",
                                          "after CPU", "ratio"))
for name in reihenfolge:
    v, n = zeiten[name]["vorher"], zeiten[name]["nachher"]
    if not v or not n:
        print("%-60s only in %s" % (name, "before" if v else "after"))
        continue
    einheit = v[0][2]
    vr, vc = statistics.median(x[0] for x in v), statistics.median(x[1] for x in v)
    nr, nc = statistics.median(x[0] for x in n), statistics.median(x[1] for x in n)
    print("%-60s %11.3f %-2s %11.3f %-2s %11.3f %-2s %11.3f %-2s %7.2f"
          % (name, vr, einheit, vc, einheit, nr, einheit, nc, einheit, nr / vr))
PY
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
