#!/usr/bin/env bash
# Builds the Windows programs and starts one under Wine: `tools/run.sh` for the division
# drill, `tools/run.sh subtraction` for the other. Without a display it uses a virtual one.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QUARN_ROOT"

quarn_install_packages
cmake --preset mingw
cmake --build --preset mingw

program=D_Quarn.exe
[ "${1:-division}" = subtraction ] && program=S_Quarn.exe

quarn_wine_prefix
quarn_virtual_display
trap 'quarn_stop_display' EXIT
mkdir -p "$QUARN_ROOT/build/logs"
cd "$QUARN_ROOT/build/logs"
# A virtual desktop gives the window manager that maximising needs.
wine explorer /desktop=quarn,1280x800 "$QUARN_ROOT/build/mingw/$program"
