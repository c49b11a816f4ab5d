#!/bin/sh
# Runs Quarn_Report.exe under Wine in a folder holding the logs of the full-run and focus
# scenarios, one learner per scenario, a learner with a Japanese name (a copy of the first scenario's logs)
# and a file that is not a log, as a double-click would (no folder given) but with
# --no-open; then asks for a folder that does not exist, names the page and the table alike
# but for letter case, writes both over the old page and refuses a read-only page.
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
# Names alike but for letter case are one file on Windows: refused, and nothing written.
(cd "$work/logs" && wine "$exe" --no-open -o Out.html --csv out.html >"$work/same.txt" 2>&1)
status=$?
cat "$work/same.txt"
[ "$status" = 2 ] || fail "the page and the table as one file gave exit code $status, not 2"
[ -e "$work/logs/out.html" ] || [ -e "$work/logs/Out.html" ] && fail "a run that exits 2 wrote"
# Again over the old page, with the table; then a read-only page is refused and kept.
(cd "$work/logs" && wine "$exe" --no-open --csv answers.csv >"$work/again.txt" 2>&1)
status=$?
cat "$work/again.txt"
[ "$status" = 0 ] || fail "the second run gave exit code $status"
[ -s "$work/logs/answers.csv" ] || fail "no answers.csv"
leftover=$(cd "$work/logs" && ls | grep -c '\.tmp$')
[ "$leftover" = 0 ] || fail "$leftover temporary files left"
(cd "$work/logs" && wine cmd /c attrib +r report.html >/dev/null 2>&1)
cp "$page" "$work/read-only.html"
(cd "$work/logs" && wine "$exe" --no-open >"$work/read-only.txt" 2>&1)
status=$?
cat "$work/read-only.txt"
[ "$status" = 2 ] || fail "a read-only page gave exit code $status, not 2"
cmp -s "$page" "$work/read-only.html" || fail "the read-only page was replaced"
(cd "$work/logs" && wine cmd /c attrib -r report.html >/dev/null 2>&1)
# A folder deeper than MAX_PATH, and a page name of 250 characters in it.
deep="$work/deep"
for i in 1 2 3 4 5 6 7 8 9 10 11; do deep="$deep/folder-of-a-class-at-depth-$i"; done
mkdir -p "$deep"
cp "$1"/*.log "$deep/"
long=$(printf 'p%.0s' $(seq 1 245)).html
# winepath cuts a name at MAX_PATH: the Windows form is made here, on drive Z:.
deepWindows=$(cd "$deep" && pwd -P | sed 's|^|Z:|' | tr / '\\')
wine "$exe" --no-open -o "$deepWindows\\$long" "$deepWindows" >"$work/deep.txt" 2>&1
status=$?
cat "$work/deep.txt"
[ "$status" = 0 ] || fail "a folder of ${#deep} characters gave exit code $status"
[ -s "$deep/$long" ] || fail "no page in a folder of ${#deep} characters"
echo "report.html: $(wc -c <"$page") bytes, $grids fact grids"
