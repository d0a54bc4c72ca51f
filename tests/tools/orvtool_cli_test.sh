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
echo "orvtool CLI: all checks passed"
