#!/usr/bin/env bash
# Builds the Windows programs and starts one under Wine: `tools/run.sh` for the division
# drill, `tools/run.sh subtraction` for the other. Without a display it plays a short
# demonstration on a virtual one and prints the log, the results and the screenshots' paths.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QUARN_ROOT"

quarn_install_packages
cmake --preset mingw
cmake --build --preset mingw

variant=division program=D_Quarn.exe
if [ "${1:-division}" = subtraction ]; then variant=subtraction program=S_Quarn.exe; fi

quarn_wine_prefix
if [ -n "${DISPLAY:-}" ]; then
  mkdir -p "$QUARN_ROOT/build/logs"
  cd "$QUARN_ROOT/build/logs"
  # A virtual desktop gives the window manager that maximising needs.
  exec wine explorer /desktop=quarn,1280x800 "$QUARN_ROOT/build/mingw/$program"
fi

# No display: the end-to-end driver plays the drill on a virtual one and shows what it did.
echo "No display (DISPLAY is not set): a short demonstration of the $variant drill on a"
echo "virtual display instead: ten problems, one answered wrongly first, then the quit button."
quarn_virtual_display
# Wine's processes go before the display, or they report its loss.
trap 'wineserver -k 2>/dev/null || true; quarn_stop_display' EXIT
demo="$QUARN_ROOT/build/demo/$variant"
status=0
wine "$QUARN_ROOT/build/mingw/quarn_e2e_driver.exe" demo --desktop quarndemo \
  --work "$demo" --shots "$demo" --timeout 50 "--$variant" "$QUARN_ROOT/build/mingw/$program" ||
  status=$?
for log in "$demo"/*.log; do
  [ -f "$log" ] || continue
  echo
  echo "The practice log $log (code page 932, shown as UTF-8):"
  iconv -f CP932 -t UTF-8 "$log" | tr -d '\r'
done
echo
echo "Screenshots:"
for shot in problem wrong dialog; do
  for png in "$demo"/*-"$shot".png; do [ -f "$png" ] && echo "  $png"; done
done
exit "$status"
