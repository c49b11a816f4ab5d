# Shared by tools/run.sh and tools/test.sh: installs what the build needs on a Debian
# machine, and prepares a Wine prefix and a virtual X display.

QUARN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QUARN_PACKAGES=(cmake ninja-build g++ libgtest-dev python3 python3-fonttools
  g++-mingw-w64-x86-64 wine wine64 xvfb xdotool x11-utils imagemagick fonts-noto-cjk
  wixl msitools chromium poppler-utils)

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
    quarn_wine_japanese_fonts
    wineserver -w || true
  fi
  quarn_wine_audio
}

# Without a sound card every sound makes Wine's ALSA driver print its failure in the
# terminal; the driver "none" plays nothing and says nothing. Set once per prefix.
quarn_wine_audio() {
  if compgen -G '/dev/snd/pcm*' >/dev/null || [ -f "$WINEPREFIX/quarn-audio-none" ]; then return; fi
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null 2>&1 &&
    touch "$WINEPREFIX/quarn-audio-none"
  wineserver -w || true
}

# A new prefix has no Japanese UI face: the dialogs' face falls back to one without Latin
# digits, and captions and message boxes lack Japanese glyphs. Point both at Noto Sans CJK
# JP, as a Japanese Windows would have them. regedit wants UTF-16 to keep the face names.
quarn_wine_japanese_fonts() {
  local reg="$WINEPREFIX/quarn-fonts.reg"
  {
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="Noto Sans CJK JP"
"MS UI Gothic"="Noto Sans CJK JP"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"Tahoma"=hex(7):4e,00,6f,00,74,00,6f,00,53,00,61,00,6e,00,73,00,43,00,4a,00,4b,00,2d,00,52,00,65,00,67,00,75,00,6c,00,61,00,72,00,2e,00,74,00,74,00,63,00,2c,00,4e,00,6f,00,74,00,6f,00,20,00,53,00,61,00,6e,00,73,00,20,00,43,00,4a,00,4b,00,20,00,4a,00,50,00,00,00,00,00
REG
  } >"$reg"
  wine regedit /S "$reg" >/dev/null 2>&1 || true
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
