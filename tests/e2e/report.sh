#!/bin/sh
# Runs Quarn_Report.exe under Wine in a folder holding the logs of the full-run and focus
# scenarios, one learner per scenario, a learner with a Japanese name (a copy of the first scenario's logs)
# and a file that is not a log, as a double-click would (no folder given) but with
# --no-open; then asks for a folder that does not exist.
# Usage: report.sh QUARN_REPORT_EXE WORK_DIRECTORY SCENARIO_DIRECTORY...
set -u
exe=$1
work=$2
shift 2
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$work"
mkdir -p "$work/logs"
for dir in "$@"; do
  learner=$(basename "$dir")
  mkdir -p "$work/logs/$learner"
  cp "$dir"/*.log "$work/logs/$learner/" || fail "no practice log in $dir"
done
# たろう: the folder's UTF-16 name must reach the page as UTF-8.
taro=$(printf '\343\201\237\343\202\215\343\201\206')
mkdir -p "$work/logs/$taro"
cp "$1"/*.log "$work/logs/$taro/"
printf 'not a practice log\r\n' >"$work/logs/notes.log"
before=$(cd "$work/logs" && find . | sort)

(cd "$work/logs" && wine "$exe" --no-open >"$work/stdout.txt" 2>"$work/stderr.txt")
status=$?
cat "$work/stdout.txt" "$work/stderr.txt"
[ "$status" = 0 ] || fail "exit code $status"
page="$work/logs/report.html"
[ -s "$page" ] || fail "no report.html"
after=$(cd "$work/logs" && find . | grep -v '^\./report\.html$' | sort)
[ "$before" = "$after" ] || fail "the program wrote more than report.html into the log folder"
for dir in "$@"; do
  grep -q "<h2>$(basename "$dir")<a class=\"top\"" "$page" || fail "no section for $(basename "$dir")"
done
grep -q "<h2>$taro<a class=\"top\"" "$page" || fail "no section for $taro"
learners=$(($# + 1))
# Each learner practised one drill: its grid of forward facts and its grid of inverse facts.
for kind in forward inverse; do
  n=$(grep -o "class=\"grid $kind\"" "$page" | wc -l)
  [ "$n" = "$learners" ] || fail "$n grids of $kind facts for $learners learners"
done
grids=$((2 * learners))
marked=$(grep -oE '<td class="[a-z ]*" title="[^"]*">(<i class="few-mark">＊</i>)?(<i class="due-mark">↻</i>)?<b>' "$page" | wc -l)
[ "$marked" -gt 0 ] || fail "no grid cell carries a mark"
grep -q '<code>notes.log</code>' "$page" || fail "notes.log is not listed as not read"
# The newest log of each scenario, a focus run's too, is read.
for dir in "$@"; do
  newest=$(cd "$dir" && ls [0-9]*.log | sort | tail -n 1)
  if grep -q "<code>$newest</code>" "$page"; then fail "$newest is listed as not read"; fi
done
# The focus scenarios' runs carry their own marker in the chart and the table of points.
grep -q 'class="focus' "$page" || fail "no focus run is marked in a chart"
grep -q '（集中練習）' "$page" || fail "no focus run is named in a table of points"

wine "$exe" 'Z:\no\such\folder' --no-open >"$work/missing.txt" 2>&1
status=$?
cat "$work/missing.txt"
[ "$status" = 2 ] || fail "a missing folder gave exit code $status, not 2"
echo "report.html: $(wc -c <"$page") bytes, $grids fact grids"
