#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer (GCC) in
# build-asan/ and runs every test under them, the offscreen Qt tests and the konturo-cli runs the
# tests start included. Any leak, memory fault or undefined behaviour fails the run.
set -euo pipefail
WURZEL="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$WURZEL/build-asan"

"$WURZEL/scripts/install-deps.sh"

FLAGS="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all"
cmake -S "$WURZEL" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_C_FLAGS="$FLAGS" -DCMAKE_CXX_FLAGS="$FLAGS" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$BUILD"

# An exit status of its own: a program that is expected to fail (exit 1) must not hide a report.
export ASAN_OPTIONS="detect_leaks=1:exitcode=86:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$WURZEL/scripts/lsan.supp:print_suppressions=0"
# Reports with file and line: Debian's llvm-14 names its symbolizer with the version.
if [ -x /usr/bin/llvm-symbolizer-14 ]; then export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-14; fi
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=86"
cd "$BUILD"
ctest --output-on-failure -j2 --timeout 1500
