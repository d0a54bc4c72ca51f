#!/usr/bin/env bash
# orvtool from the outside: exit codes, round trip through JSON, that check never writes, and
# export/import through real standard output (bytes as they are, CR LF not doubled).
# Arguments: the command that runs orvtool (for example: scripts/wine-run orvtool.exe).
set -euo pipefail
tool=("$@")
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# The example file: a cash payment of 1000 titled ABC on 2002-04-01.
printf '\x01\x00\x01\x00\x00\x00\xd2\x07\x01\x00\x00\x00\x04\x00\x01\x00\x00\x00\x01\x00' > "$dir/a.ORV"
printf '\x01\x00\x00\x00\xe8\x03\x00\x00\xff\xff\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >> "$dir/a.ORV"
printf '\xe8\x03\x00\x00\x01\x00\x03\x00ABC' >> "$dir/a.ORV"
printf '\x00%.0s' $(seq 16) >> "$dir/a.ORV"

"${tool[@]}" dump "$dir/a.ORV" > "$dir/a.json" || fail "dump"
grep -q '"title": "ABC"' "$dir/a.json" || fail "dump content"
"${tool[@]}" build "$dir/a.json" "$dir/b.ORV" || fail "build"
cmp "$dir/a.ORV" "$dir/b.ORV" || fail "round trip differs"

"${tool[@]}" check "$dir/a.ORV" > /dev/null || fail "check of a good file"
head -c 30 "$dir/a.ORV" > "$dir/short.ORV"
before="$(md5sum < "$dir/short.ORV")"
set +e
"${tool[@]}" check "$dir/short.ORV" > "$dir/out.txt"; rc=$?
set -e
[ "$rc" -eq 1 ] || fail "check of a truncated file gave $rc"
grep -q 'sfLoadUserData 2' "$dir/out.txt" || fail "check names the error"
[ "$(md5sum < "$dir/short.ORV")" = "$before" ] || fail "check changed the file"

set +e
"${tool[@]}" dump > /dev/null 2> "$dir/err.txt"; rc=$?
set -e
[ "$rc" -eq 2 ] || fail "bad usage gave $rc"
grep -q usage "$dir/err.txt" || fail "usage text on stderr"

set +e
"${tool[@]}" dump "$dir/missing.ORV" 2> "$dir/err.txt"; rc=$?
set -e
[ "$rc" -eq 1 ] || fail "missing file gave $rc"

# Export: standard output and -o give the same bytes; iCalendar lines end in CR LF.
"${tool[@]}" export --format ics "$dir/a.ORV" > "$dir/out.ics" || fail "export ics"
"${tool[@]}" export --format ics "$dir/a.ORV" -o "$dir/file.ics" || fail "export ics -o"
cmp "$dir/out.ics" "$dir/file.ics" || fail "export to stdout and to a file differ"
head -c 17 "$dir/out.ics" | cmp -s - <(printf 'BEGIN:VCALENDAR\r\n') || fail "iCalendar starts with BEGIN:VCALENDAR CR LF"
grep -q 'SUMMARY:ABC 1\\,000円 (現金)' "$dir/out.ics" || fail "payment summary"
! grep -q $'\r\r' "$dir/out.ics" || fail "line ends translated twice"

"${tool[@]}" export --format csv "$dir/a.ORV" > "$dir/out.csv" || fail "export csv"
printf '\xef\xbb\xbfdate,kind,payment_kind,name,amount,very_special,comment\r\n2002-04-01,payment,cash,ABC,1000,,\r\n' > "$dir/want.csv"
cmp "$dir/out.csv" "$dir/want.csv" || fail "csv export"

# A full disk behind standard output fails the export, with a message.
if [ -w /dev/full ]; then
  set +e
  "${tool[@]}" export --format ics "$dir/a.ORV" > /dev/full 2> "$dir/err.txt"; rc=$?
  set -e
  [ "$rc" -eq 1 ] || fail "export to a full disk gave $rc"
  grep -q 'orvtool: standard output: ' "$dir/err.txt" || fail "export to a full disk says so"
fi

set +e
"${tool[@]}" export --format csv "$dir/short.ORV" > "$dir/out.txt" 2> "$dir/err.txt"; rc=$?
set -e
[ "$rc" -eq 1 ] || fail "export of a damaged file gave $rc"
[ ! -s "$dir/out.txt" ] || fail "export of a damaged file wrote to stdout"
grep -q 'sfLoadUserData 2' "$dir/err.txt" || fail "export names the loader's error"

# Import: into a new file gives the exported schedule back; a bad row changes nothing.
"${tool[@]}" import --format csv "$dir/new.ORV" "$dir/out.csv" > "$dir/out.txt" || fail "import"
grep -q '1 entry added (new file)' "$dir/out.txt" || fail "import reports what it added"
cmp "$dir/a.ORV" "$dir/new.ORV" || fail "export then import differs"
"${tool[@]}" check "$dir/new.ORV" > /dev/null || fail "check after import"
printf 'date,kind,payment_kind,name,amount,very_special,comment\n2002-04-02,special,,X,,0,\n2002-02-30,special,,Y,,0,\n' > "$dir/bad.csv"
before="$(md5sum < "$dir/new.ORV")"
set +e
"${tool[@]}" import --format csv "$dir/new.ORV" "$dir/bad.csv" > "$dir/out.txt" 2> "$dir/err.txt"; rc=$?
set -e
[ "$rc" -eq 1 ] || fail "import of a bad row gave $rc"
grep -q 'bad.csv:3: "2002-02-30" is not a day of the calendar' "$dir/err.txt" || fail "import names the bad row"
[ "$(md5sum < "$dir/new.ORV")" = "$before" ] || fail "a refused import changed the file"

# UIDs: a save that adds an unrelated entry keeps every exported UID; the same file named from
# another folder exports the same bytes; a copy elsewhere exports other events.
uids() { grep '^UID:' "$1" | sort; }
"${tool[@]}" export --format ics "$dir/new.ORV" -o "$dir/before.ics" || fail "export before the save"
printf 'date,kind,payment_kind,name,amount,very_special,comment\n2002-03-31,special,,Z,,0,\n' > "$dir/more.csv"
"${tool[@]}" import --format csv "$dir/new.ORV" "$dir/more.csv" > /dev/null || fail "import of an earlier day"
"${tool[@]}" export --format ics "$dir/new.ORV" -o "$dir/after.ics" || fail "export after the save"
[ -z "$(comm -23 <(uids "$dir/before.ics") <(uids "$dir/after.ics"))" ] || fail "a save changed an entry's UID"
mkdir "$dir/sub"
(cd "$dir" && "${tool[@]}" export --format ics ./sub/../new.ORV) > "$dir/relative.ics" || fail "export by a relative name"
cmp "$dir/after.ics" "$dir/relative.ics" || fail "the file named another way exports other bytes"
mkdir "$dir/copy" && cp "$dir/new.ORV" "$dir/copy/new.ORV"
"${tool[@]}" export --format ics "$dir/copy/new.ORV" -o "$dir/copy.ics" || fail "export of a copy"
[ -z "$(comm -12 <(uids "$dir/after.ics") <(uids "$dir/copy.ics"))" ] || fail "two files share a UID"

# Holidays: UTF-8 lines ending in LF alone, through the real standard output.
"${tool[@]}" holidays --from 2026 --to 2026 > "$dir/holidays.txt" || fail "holidays"
head -c 18 "$dir/holidays.txt" | cmp -s - <(printf '2026-01-01,\xe5\x85\x83\xe6\x97\xa5\n') || fail "holidays: first line"
! grep -q $'\r' "$dir/holidays.txt" || fail "holidays: CR in the output"
[ "$(wc -l < "$dir/holidays.txt")" -eq 18 ] || fail "holidays: 18 lines for 2026"
[ "$("${tool[@]}" business-day 2026-12-31 --next | od -An -c | tr -d ' ')" = "2027-01-04\n" ] || fail "business-day --next"
set +e
"${tool[@]}" holidays --from 2027 --to 2026 > "$dir/out.txt" 2> "$dir/err.txt"; rc=$?
set -e
[ "$rc" -eq 2 ] || fail "holidays with the years reversed gave $rc"
grep -q 'comes after' "$dir/err.txt" || fail "holidays explains the bad years"
set +e
"${tool[@]}" business-day 2026-02-30 --previous > "$dir/out.txt" 2> "$dir/err.txt"; rc=$?
set -e
[ "$rc" -eq 2 ] || fail "business-day of a bad date gave $rc"
grep -q 'not a day of the calendar' "$dir/err.txt" || fail "business-day explains the bad date"
# Merge: a.ORV as base, one side adds a row by import, the other is a.ORV unchanged: the
# result holds the import; a missing -o is a usage error.
printf 'date,kind,payment_kind,name,amount,very_special,comment\n2002-04-03,special,,Z,,0,\n' > "$dir/z.csv"
cp "$dir/a.ORV" "$dir/theirs.ORV"
"${tool[@]}" import --format csv "$dir/theirs.ORV" "$dir/z.csv" > /dev/null || fail "import for merge"
"${tool[@]}" merge "$dir/a.ORV" "$dir/a.ORV" "$dir/theirs.ORV" -o "$dir/merged.ORV" > "$dir/out.txt" || fail "merge"
grep -q 'merged.ORV: 2 entries' "$dir/out.txt" || fail "merge reports the result"
cmp "$dir/theirs.ORV" "$dir/merged.ORV" || fail "merge of an unchanged side differs from the other side"
set +e
"${tool[@]}" merge "$dir/a.ORV" "$dir/theirs.ORV" 2> "$dir/err.txt"; rc=$?
set -e
[ "$rc" -eq 2 ] || fail "merge without -o gave $rc"
# Series: add writes the occurrences and the companion file, list describes them, delete takes
# them out again; refusals, bad usage and a damaged companion file change nothing. Dates lie far
# ahead so that the machine's date does not matter.
series() { "${tool[@]}" series "$@"; }
csv_dates() { "${tool[@]}" export --format csv "$1" | tr -d '\r' | tail -n +2 | cut -d, -f1,4 | sort | tr '\n' ' '; }
[ "$(series add "$dir/s.ORV" --kind special --name Anniv --start 2090-01-31 --every 1 --unit month --count 3 | tr -d '\r')" = 1 ] \
  || fail "series add prints the first id"
[ -f "$dir/s.ORV.series" ] || fail "series add writes the companion file"
head -n 1 "$dir/s.ORV.series" | grep -q '^OrvantaSeries 1$' || fail "the companion file's first line"
[ "$(csv_dates "$dir/s.ORV")" = "2090-01-31,Anniv 2090-02-28,Anniv 2090-03-31,Anniv " ] || fail "series add: $(csv_dates "$dir/s.ORV")"
[ "$(series add "$dir/s.ORV" --kind automatic --name Rent --amount 70000 --start 2090-12-31 --every 1 --unit month \
      --until 2091-01-31 | tr -d '\r')" = 2 ] || fail "a second series gets id 2"
moved="$("${tool[@]}" business-day 2091-01-01 --next)"
csv_dates "$dir/s.ORV" | grep -q "${moved},Rent 2091-01-31,Rent" || fail "automatic transfers move to the next business day: $(csv_dates "$dir/s.ORV")"
series list "$dir/s.ORV" | tr -d '\r' > "$dir/list.txt" || fail "series list"
[ "$(wc -l < "$dir/list.txt")" -eq 2 ] || fail "series list: one line per series"
[ "$(head -n 1 "$dir/list.txt" | cut -f1,3)" = "$(printf '1\t2090-01-31')" ] || fail "series list: id and next occurrence"
head -n 1 "$dir/list.txt" | cut -f2 | grep -q '^毎月 31日 .*3回$' || fail "series list: the rule"
tail -n 1 "$dir/list.txt" | cut -f4 | grep -q '^Rent 70,000円 (自動振替)$' || fail "series list: the entry"

before="$(cat "$dir/s.ORV" "$dir/s.ORV.series" | md5sum)"
set +e
series add "$dir/s.ORV" --kind special --name X --start 2090-01-31 --every 1 --unit week --until 2090-01-30 \
  > "$dir/out.txt" 2> "$dir/err.txt"; rc=$?
set -e
[ "$rc" -eq 1 ] || fail "series add with the end before the start gave $rc"
grep -q '繰り返しの終了日(2090年1月30日' "$dir/err.txt" || fail "the refusal names the date"
[ ! -s "$dir/out.txt" ] || fail "a refused series printed an id"
for bad in "--kind special --name X --start 2090-01-31 --every 1" \
           "--kind special --name X --amount 5 --start 2090-01-31 --every 1 --unit week" \
           "--kind cash --name X --start 2090-01-31 --every 1 --unit week" \
           "--kind special --name X --start 2090-02-30 --every 1 --unit week" \
           "--kind special --name X --start 2090-01-31 --every 1 --unit week --count 2 --until 2090-03-01" \
           "--kind special --name X --start 2090-01-31 --every 1 --unit day"; do
  set +e
  # shellcheck disable=SC2086
  series add "$dir/s.ORV" $bad > /dev/null 2> "$dir/err.txt"; rc=$?
  set -e
  [ "$rc" -eq 2 ] || fail "series add $bad gave $rc"
  [ -s "$dir/err.txt" ] || fail "series add $bad: no message"
done
[ "$(cat "$dir/s.ORV" "$dir/s.ORV.series" | md5sum)" = "$before" ] || fail "a refused series add changed the files"

series delete "$dir/s.ORV" 1 --from 2090-02-15 > "$dir/out.txt" || fail "series delete --from"
grep -q 'series 1 ends before 2090-02-15, 2 entries removed' "$dir/out.txt" || fail "series delete --from reports"
[ "$(csv_dates "$dir/s.ORV" | grep -o Anniv | wc -l)" -eq 1 ] || fail "series delete --from left $(csv_dates "$dir/s.ORV")"
series list "$dir/s.ORV" | head -n 1 | grep -q '2090年2月14日(火)まで' || fail "the series now ends the day before"
series delete "$dir/s.ORV" 2 > "$dir/out.txt" || fail "series delete"
grep -q 'series 2 deleted, 2 entries removed' "$dir/out.txt" || fail "series delete reports"
[ "$(series list "$dir/s.ORV" | wc -l)" -eq 1 ] || fail "the deleted series is still listed"
set +e
series delete "$dir/s.ORV" 2 > /dev/null 2> "$dir/err.txt"; rc=$?
set -e
[ "$rc" -eq 1 ] || fail "deleting a series that is gone gave $rc"

# No companion file: no series. A damaged one: a message, exit 1, nothing written.
[ -z "$(series list "$dir/a.ORV")" ] || fail "a file without series lists some"
printf 'OrvantaSeries 1\nnext-id x\n' > "$dir/s.ORV.series"
before="$(cat "$dir/s.ORV" "$dir/s.ORV.series" | md5sum)"
for words in "list $dir/s.ORV" "delete $dir/s.ORV 1" \
             "add $dir/s.ORV --kind special --name X --start 2090-01-31 --every 1 --unit week --count 1"; do
  set +e
  # shellcheck disable=SC2086
  series $words > /dev/null 2> "$dir/err.txt"; rc=$?
  set -e
  [ "$rc" -eq 1 ] || fail "series $words with a damaged companion file gave $rc"
  grep -q 's.ORV.series: the series file is damaged' "$dir/err.txt" || fail "series $words: no message"
done
[ "$(cat "$dir/s.ORV" "$dir/s.ORV.series" | md5sum)" = "$before" ] || fail "a damaged companion file was overwritten"
echo "orvtool CLI: all checks passed"
