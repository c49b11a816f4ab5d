# Shared by tools/run.sh and tools/test.sh: installs what the build needs on a Debian
# machine, and prepares a Wine prefix and a virtual X display.

QUARN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QUARN_PACKAGES=(cmake ninja-build g++ libgtest-dev python3 python3-fonttools
  g++-mingw-w64-x86-64 wine wine64 xvfb xdotool x11-utils imagemagick fonts-noto-cjk)

quarn_install_packages() {
  local missing=()
  for p in "${QUARN_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
  fi
}

# One Wine prefix per machine, made once (wineboot takes about ten seconds).
quarn_wine_prefix() {
  export WINEPREFIX="${QUARN_WINEPREFIX:-$HOME/.cache/quarn-wineprefix}"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}

# A virtual display unless one is given; sets DISPLAY and QUARN_XVFB_PID.
quarn_virtual_display() {
  QUARN_XVFB_PID=""
  if [ -n "${DISPLAY:-}" ] && [ -z "${QUARN_FORCE_XVFB:-}" ]; then return; fi
  local n=97
  while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  QUARN_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

quarn_stop_display() {
  [ -n "${QUARN_XVFB_PID:-}" ] && kill "$QUARN_XVFB_PID" 2>/dev/null || true
}
