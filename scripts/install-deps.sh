#!/usr/bin/env bash
# Installs the Debian 12 packages Konturo needs to build, test and run; skips what is installed.
set -euo pipefail

PAKETE=(cmake ninja-build g++ pkg-config qt6-base-dev libfreetype-dev libfontconfig-dev zlib1g-dev
        libgtest-dev libbenchmark-dev fonts-liberation2 xvfb xauth python3-ezdxf
        fonts-dejavu-core fonts-dejavu-extra fonts-urw-base35 locales qt6-translations-l10n
        poppler-utils clang-14 libclang-rt-14-dev llvm-14)

FEHLT=()
for p in "${PAKETE[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        FEHLT+=("$p")
    fi
done

if [ ${#FEHLT[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing: ${FEHLT[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${FEHLT[@]}"
