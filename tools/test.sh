#!/usr/bin/env bash
# Builds everything and runs every test: the unit tests on the host, then the two Windows
# programs under Wine on a virtual display.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QUARN_ROOT"

quarn_install_packages

cmake --preset host
cmake --build --preset host
ctest --preset host -j2

cmake --preset mingw
cmake --build --preset mingw

quarn_wine_prefix
QUARN_FORCE_XVFB=1 quarn_virtual_display
trap 'wineserver -k 2>/dev/null || true; quarn_stop_display' EXIT
ctest --preset mingw
