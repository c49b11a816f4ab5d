#!/usr/bin/env bash
# The installer under Wine, in a prefix of its own made afresh: a silent install for a class
# (PRACTICEFOLDER outside Documents, one folder per user), one whose class folder is out of
# reach, and a plain one; each time the installed programs run from their shortcuts (the
# driver's "installed" scenario) and a silent uninstall keeps the practice folder with its
# log; then an older version replaced by this one and this one by a rebuilt newer one, the class
# folder kept across the upgrade and a repair without the property; and a refused class folder.
# Needs a display (ctest runs it on tools/test.sh's Xvfb).
#
# Usage: install_test.sh WORK DRIVER MSI [--program PATH=TITLE | --focus NAME=TITLE]...
#                        -- RELEASE_COMMAND...
# (the entries as release.py takes them; RELEASE_COMMAND: packaging/release.py with
# --publisher, --source and --actions, to make an older msi)
set -uo pipefail
work=$1 driver=$2 msi=$3
shift 3
programs=()  # TITLE=EXE_NAME
builtPrograms=()  # PATH=TITLE
focusEntries=()  # NAME=TITLE
while [ "$1" != -- ]; do
  case $1 in
    --program)
      builtPrograms+=("$2")
      programs+=("${2#*=}=$(basename "${2%%=*}")")
      ;;
    --focus) focusEntries+=("$2") ;;
    *) echo "unexpected argument $1" >&2; exit 2 ;;
  esac
  shift 2
done
shift
release=("$@")

failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

# msiexec under Wine. The Windows Installer takes one installation at a time and says 1618
# (another is in progress) while the last one's service is still winding down: that is waited
# out, as installers are told to; any other failure is reported with its code.
run_msiexec() {
  local status
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    wine msiexec "$@"
    status=$?
    [ "$status" = 1618 ] || break
    sleep 2
  done
  [ "$status" = 0 ] || echo "msiexec $1 gave exit code $status"
  return "$status"
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

# The driver's view of every shortcut: the programs', then the focus ones.
driverArgs=()
for entry in "${programs[@]}"; do driverArgs+=(--program "$entry"); done
for entry in "${focusEntries[@]}"; do driverArgs+=(--focus "${entry#*=}=${entry%%=*}"); done
shortcutTitles=()
for entry in "${programs[@]}"; do shortcutTitles+=("${entry%%=*}"); done
for entry in "${focusEntries[@]}"; do shortcutTitles+=("${entry#*=}"); done
withReport=false
printf '%s\n' "${programs[@]}" | grep -q '=Quarn_Report.exe$' && withReport=true

# installAndRun DESCRIPTION PRACTICE_DIR WINDOWS_PATH [PRACTICEFOLDER=...]: installs silently,
# checks the files and shortcuts, runs the programs from their shortcuts and uninstalls,
# keeping PRACTICE_DIR (the host's path of the folder the shortcuts start in) with its log.
# WINDOWS_PATH is that folder as the shortcuts name it, empty for Documents\Quarn.
installAndRun() {
  local what=$1 folder=$2 windowsPath=$3
  shift 3
  echo "== install $what"
  check "msiexec /i /qn $* succeeds" run_msiexec /i "$(winepath -w "$msi")" "$@" /qn
  local entry title
  for entry in "${programs[@]}"; do
    check "${entry#*=} is installed" test -f "$installDir/${entry#*=}"
  done
  for title in "${shortcutTitles[@]}"; do
    check "the shortcut $title exists" test -f "$menuDir/$title.lnk"
  done
  check "the practice folder exists" test -d "$folder"
  check "one uninstall entry, version $version" \
    test "$(uninstallEntries)" = "$version Quarn Project"
  local icons=("$profile"/AppData/Roaming/Microsoft/Installer/*/quarn.ico)
  check "the entry's icon is cached" \
    cmp -s "${icons[0]}" "$(dirname "$0")/../../resources/division.ico"

  echo "== the programs from their shortcuts"
  local practiceArgs=()
  [ -n "$windowsPath" ] && practiceArgs=(--practice "$windowsPath")
  wineserver -w
  check "the installed programs run from their shortcuts" \
    wine "$driver" installed --desktop quarninstall --work "$work/driver" --shots "$work" \
    --timeout 120 "${practiceArgs[@]}" "${driverArgs[@]}"
  local logs=("$folder"/*.log)
  check "the practice log is in ${windowsPath:-Documents\\Quarn}" test -f "${logs[0]}"

  echo "== uninstall"
  check "msiexec /x /qn succeeds" run_msiexec /x "$(winepath -w "$msi")" /qn
  for entry in "${programs[@]}"; do
    check "${entry#*=} is removed" test ! -e "$installDir/${entry#*=}"
  done
  check "the install folder is removed" test ! -e "$installDir"
  check "the Start-menu folder is removed" test ! -e "$menuDir"
  check "no uninstall entry is left" test -z "$(uninstallEntries)"
  check "the log is kept" test -f "${logs[0]}"
  if $withReport; then check "the report is kept" test -f "$folder/report.html"; fi
}

version=$(basename "$msi" | sed 's/^Quarn-\(.*\)-win64\.msi$/\1/')

# A class folder outside Documents, one per user as a school gives it: the installer expands
# [LogonUser] and makes the folder; Documents\Quarn is not made.
classDir="$WINEPREFIX/drive_c/quarn-class/$user"
installAndRun "for a class" "$classDir" "C:\\quarn-class\\$user" \
  'PRACTICEFOLDER=C:\quarn-class\[LogonUser]'
check "no folder is named [LogonUser]" test ! -e "$WINEPREFIX/drive_c/quarn-class/[LogonUser]"
check "Documents\\Quarn is not made beside a class folder" test ! -e "$practiceDir"

# A class folder out of reach at install time, on a network drive that is not mapped: the
# install goes on, and the shortcuts start there all the same. (Not a \\server\share path:
# Wine's installer reduces its leading "\\" to "\" in every folder it resolves.)
echo "== install with a class folder out of reach"
check "the drive Q: is not mapped" test ! -e "$WINEPREFIX/dosdevices/q:"
check "msiexec /i /qn with an unreachable class folder succeeds" \
  run_msiexec /i "$(winepath -w "$msi")" 'PRACTICEFOLDER=Q:\quarn\[LogonUser]' /qn
wineserver -w
check "the shortcuts start in the unreachable class folder" \
  wine "$driver" installed --desktop quarninstall --work "$work/driver-unreachable" \
  --shots "$work" --timeout 60 --shortcuts-only --practice "Q:\\quarn\\$user" "${driverArgs[@]}"
check "msiexec /x /qn succeeds" run_msiexec /x "$(winepath -w "$msi")" /qn
check "Documents\\Quarn is not made for an unreachable class folder" test ! -e "$practiceDir"

installAndRun "in Documents\\Quarn" "$practiceDir" ""

# rebuild VERSION SUFFIX_BYTES: an msi of the same programs with bytes more at the end, which
# the loader ignores, as another version would ship them; prints its path.
rebuild() {
  local dir="$work/v$1" entry path made=()
  mkdir -p "$dir"
  for entry in "${builtPrograms[@]}"; do
    path=${entry%%=*}
    cp "$path" "$dir/$(basename "$path")"
    printf "$2" >>"$dir/$(basename "$path")"
    made+=(--program "$dir/$(basename "$path")=${entry#*=}")
  done
  for entry in "${focusEntries[@]}"; do made+=(--focus "$entry"); done
  "${release[@]}" --version "$1" --msi --out "$dir" --work "$dir/work" "${made[@]}" >/dev/null &&
    echo "$dir/Quarn-$1-win64.msi"
}
# The class folder the user's installs keep, as the registry holds it.
keptFolder() {
  wine reg query 'HKCU\Software\Quarn' /v PracticeFolder 2>/dev/null | tr -d '\r' |
    awk '$1 == "PracticeFolder" { print substr($0, index($0, "REG_SZ") + 10) }'
}

echo "== an older version for one class, then this one for another, then a newer one without"
# Documents\Quarn was checked above; from here on it must not come back.
rm -rf "$practiceDir"
oldMsi=$(rebuild 0.9.0 '\0')
check "an older installer is made" test -f "$oldMsi"
check "the older version installs" \
  run_msiexec /i "$(winepath -w "$oldMsi")" 'PRACTICEFOLDER=C:\quarn-old\[LogonUser]' /qn
check "its uninstall entry says 0.9.0" test "$(uninstallEntries)" = "0.9.0 Quarn Project"
check "it keeps its class folder" test "$(keptFolder)" = "C:\\quarn-old\\$user\\"
check "the newer version installs over it with a new class folder" \
  run_msiexec /i "$(winepath -w "$msi")" 'PRACTICEFOLDER=C:\quarn-class\[LogonUser]' /qn
check "one uninstall entry, version $version" test "$(uninstallEntries)" = "$version Quarn Project"
for entry in "${builtPrograms[@]}"; do
  path=${entry%%=*}
  check "$(basename "$path") is the newer build's" cmp -s "$installDir/$(basename "$path")" "$path"
done
check "the guide is the newer version's" grep -q "ドリル $version " "$installDir/Guide-ja.txt"
check "the new class folder replaces the kept one" \
  test "$(keptFolder)" = "C:\\quarn-class\\$user\\"
check "the newer version uninstalls" run_msiexec /x "$(winepath -w "$msi")" /qn
check "nothing is left installed" test ! -e "$installDir"
check "the uninstall forgets the class folder" test -z "$(keptFolder)"

# Wine's installer loses the product that replaced another from its upgrade records when the
# replaced one is removed, so the upgrade without the property starts from a plain install.
echo "== this version for a class, then a newer one without the property"
check "this version installs for a class" \
  run_msiexec /i "$(winepath -w "$msi")" 'PRACTICEFOLDER=C:\quarn-class\[LogonUser]' /qn

# An upgrade and a repair without the property keep the class folder: the shortcuts start
# there and a drill's log lands there, not in Documents\Quarn.
nextVersion=$(echo "$version" | awk -F. '{ print $1 "." $2 "." $3 + 1 }')
nextMsi=$(rebuild "$nextVersion" '\0\0')
check "a rebuilt $nextVersion installer is made" test -f "$nextMsi"
check "$nextVersion installs over $version without PRACTICEFOLDER" \
  run_msiexec /i "$(winepath -w "$nextMsi")" /qn
check "one uninstall entry, version $nextVersion" \
  test "$(uninstallEntries)" = "$nextVersion Quarn Project"
# The logs of the first install go aside: the driver expects the one its run writes.
mkdir -p "$work/earlier-logs"
mv "$classDir"/*.log "$work/earlier-logs/" 2>/dev/null
wineserver -w
check "after the upgrade the programs run from their shortcuts in the class folder" \
  wine "$driver" installed --desktop quarninstall --work "$work/driver-upgraded" --shots "$work" \
  --timeout 120 --practice "C:\\quarn-class\\$user" "${driverArgs[@]}"
check "a drill's log lands in the class folder" test "$(ls "$classDir"/*.log | wc -l)" = 1
check "Documents\\Quarn is not made by the upgrade" test ! -e "$practiceDir"
# A repair (Wine's msiexec takes no /f with /qn) makes the shortcuts again: they go first.
rm -f "$menuDir"/*.lnk
check "a repair without PRACTICEFOLDER succeeds" \
  run_msiexec /i "$(winepath -w "$nextMsi")" REINSTALL=ALL REINSTALLMODE=vamus /qn
wineserver -w
check "after the repair the shortcuts start in the class folder" \
  wine "$driver" installed --desktop quarninstall --work "$work/driver-repaired" --shots "$work" \
  --timeout 60 --shortcuts-only --practice "C:\\quarn-class\\$user" "${driverArgs[@]}"
check "$nextVersion uninstalls" run_msiexec /x "$(winepath -w "$nextMsi")" /qn
check "nothing is left installed" test ! -e "$installDir"
check "the uninstall forgets the class folder" test -z "$(keptFolder)"

# A value that would break a class leaves Documents\Quarn, with the reason in the log.
printf 'not a folder' >"$WINEPREFIX/drive_c/quarn-file"
refused=('C:\quarn-class\[NoSuchProperty]=comes to nothing'
  'C:\quarn-file\[LogonUser]=a file stands where')
for entry in "${refused[@]}"; do
  value=${entry%%=*} reason=${entry#*=}
  echo "== install with the class folder $value"
  rm -rf "$practiceDir"
  check "msiexec /i /qn PRACTICEFOLDER=$value succeeds" \
    run_msiexec /i "$(winepath -w "$msi")" "PRACTICEFOLDER=$value" \
    /qn /l*v "$(winepath -w "$work/refused.log")"
  check "the log says why: $reason" grep -aq "$reason" <(tr -d '\0' <"$work/refused.log")
  check "Documents\\Quarn is made instead" test -d "$practiceDir"
  check "nothing is kept for the next install" test -z "$(keptFolder)"
  check "msiexec /x /qn succeeds" run_msiexec /x "$(winepath -w "$msi")" /qn
done

wineserver -k 2>/dev/null
echo "$failures failed check(s)"
[ "$failures" = 0 ]
