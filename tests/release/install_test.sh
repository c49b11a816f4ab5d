#!/usr/bin/env bash
# The installer under Wine, in a prefix of its own made afresh: a silent install, the
# installed programs run from their shortcuts (the driver's "installed" scenario), a silent
# uninstall that keeps the practice folder with its log, and an older version replaced by
# the newer one. Needs a display (ctest runs it on tools/test.sh's Xvfb).
#
# Usage: install_test.sh WORK DRIVER MSI PROGRAM_PATH=TITLE ... -- RELEASE_COMMAND...
# (RELEASE_COMMAND: packaging/release.py with --publisher and --source, to make an older msi)
set -uo pipefail
work=$1 driver=$2 msi=$3
shift 3
programs=()  # TITLE=EXE_NAME
builtPrograms=()  # PATH=TITLE as release.py takes them
while [ "$1" != -- ]; do
  builtPrograms+=("$1")
  programs+=("${1#*=}=$(basename "${1%%=*}")")
  shift
done
shift
release=("$@")

failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

rm -rf "$work"
mkdir -p "$work/home"
# Wine links Documents to $HOME: a home of its own keeps the practice folder in $work.
export HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all
# No menu entries of the host for the Start-menu shortcuts; no audio device needed.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null 2>&1
wineserver -w

user=$(wine cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')
profile="$WINEPREFIX/drive_c/users/$user"
installDir="$profile/AppData/Local/Programs/Quarn"
menuDir="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quarn"
practiceDir="$HOME/Quarn"

# The uninstall entries whose name is Quarn, as "DisplayVersion Publisher", one a line.
uninstallEntries() {
  local hive
  for hive in HKLM HKCU; do
    wine reg query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null
  done | tr -d '\r' | awk '
    /^HKEY_/ { if (name == "Quarn") print version " " publisher; name = version = publisher = "" }
    $1 == "DisplayName" { name = $3 }
    $1 == "DisplayVersion" { version = $3 }
    $1 == "Publisher" { publisher = substr($0, index($0, "REG_SZ") + 10) }
    END { if (name == "Quarn") print version " " publisher }'
}

version=$(basename "$msi" | sed 's/^Quarn-\(.*\)-win64\.msi$/\1/')
echo "== install $msi"
check "msiexec /i /qn succeeds" wine msiexec /i "$(winepath -w "$msi")" /qn
for entry in "${programs[@]}"; do
  check "${entry#*=} is installed" test -f "$installDir/${entry#*=}"
  check "the shortcut ${entry%%=*} exists" test -f "$menuDir/${entry%%=*}.lnk"
done
check "the practice folder exists" test -d "$practiceDir"
check "one uninstall entry, version $version" test "$(uninstallEntries)" = "$version Quarn Project"
icons=("$profile"/AppData/Roaming/Microsoft/Installer/*/quarn.ico)
check "the entry's icon is cached" cmp -s "${icons[0]}" "$(dirname "$0")/../../resources/division.ico"

echo "== the programs from their shortcuts"
driverArgs=()
for entry in "${programs[@]}"; do driverArgs+=(--program "$entry"); done
wineserver -w
check "the installed programs run from their shortcuts" \
  wine "$driver" installed --desktop quarninstall --work "$work/driver" --shots "$work" \
  --timeout 120 "${driverArgs[@]}"
logs=("$practiceDir"/*.log)
check "the practice log is in Documents\\Quarn" test -f "${logs[0]}"

echo "== uninstall"
check "msiexec /x /qn succeeds" wine msiexec /x "$(winepath -w "$msi")" /qn
for entry in "${programs[@]}"; do
  check "${entry#*=} is removed" test ! -e "$installDir/${entry#*=}"
done
check "the install folder is removed" test ! -e "$installDir"
check "the Start-menu folder is removed" test ! -e "$menuDir"
check "no uninstall entry is left" test -z "$(uninstallEntries)"
check "the log is kept" test -f "${logs[0]}"
if printf '%s\n' "${programs[@]}" | grep -q '=Quarn_Report.exe$'; then
  check "the report is kept" test -f "$practiceDir/report.html"
fi

echo "== an older version, then this one"
# The older build: the same programs with one byte more at the end, which the loader ignores.
oldDir="$work/older"
oldMsi="$oldDir/Quarn-0.9.0-win64.msi"
mkdir -p "$oldDir"
oldPrograms=()
for entry in "${builtPrograms[@]}"; do
  path=${entry%%=*}
  cp "$path" "$oldDir/$(basename "$path")"
  printf '\0' >>"$oldDir/$(basename "$path")"
  oldPrograms+=(--program "$oldDir/$(basename "$path")=${entry#*=}")
done
check "an older installer is made" "${release[@]}" --version 0.9.0 --msi --out "$oldDir" \
  --work "$oldDir/work" "${oldPrograms[@]}"
check "the older version installs" wine msiexec /i "$(winepath -w "$oldMsi")" /qn
check "its uninstall entry says 0.9.0" test "$(uninstallEntries)" = "0.9.0 Quarn Project"
check "the newer version installs over it" wine msiexec /i "$(winepath -w "$msi")" /qn
check "one uninstall entry, version $version" test "$(uninstallEntries)" = "$version Quarn Project"
for entry in "${builtPrograms[@]}"; do
  path=${entry%%=*}
  check "$(basename "$path") is the newer build's" cmp -s "$installDir/$(basename "$path")" "$path"
done
check "the guide is the newer version's" grep -q "ドリル $version " "$installDir/Guide-ja.txt"
check "the newer version uninstalls" wine msiexec /x "$(winepath -w "$msi")" /qn
check "nothing is left installed" test ! -e "$installDir"

wineserver -k 2>/dev/null
echo "$failures failed check(s)"
[ "$failures" = 0 ]
