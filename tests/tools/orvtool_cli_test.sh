#!/usr/bin/env bash
# orvtool from the outside: exit codes, round trip through JSON, and that check never writes.
set -euo pipefail
tool="$1"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# The example file: a cash payment of 1000 titled ABC on 2002-04-01.
printf '\x01\x00\x01\x00\x00\x00\xd2\x07\x01\x00\x00\x00\x04\x00\x01\x00\x00\x00\x01\x00' > "$dir/a.ORV"
printf '\x01\x00\x00\x00\xe8\x03\x00\x00\xff\xff\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >> "$dir/a.ORV"
printf '\xe8\x03\x00\x00\x01\x00\x03\x00ABC' >> "$dir/a.ORV"
printf '\x00%.0s' $(seq 16) >> "$dir/a.ORV"

"$tool" dump "$dir/a.ORV" > "$dir/a.json" || fail "dump"
grep -q '"title": "ABC"' "$dir/a.json" || fail "dump content"
"$tool" build "$dir/a.json" "$dir/b.ORV" || fail "build"
cmp "$dir/a.ORV" "$dir/b.ORV" || fail "round trip differs"

"$tool" check "$dir/a.ORV" > /dev/null || fail "check of a good file"
head -c 30 "$dir/a.ORV" > "$dir/short.ORV"
before="$(md5sum < "$dir/short.ORV")"
set +e
"$tool" check "$dir/short.ORV" > "$dir/out.txt"; rc=$?
set -e
[ "$rc" -eq 1 ] || fail "check of a truncated file gave $rc"
grep -q 'sfLoadUserData 2' "$dir/out.txt" || fail "check names the error"
[ "$(md5sum < "$dir/short.ORV")" = "$before" ] || fail "check changed the file"

set +e
"$tool" dump > /dev/null 2> "$dir/err.txt"; rc=$?
set -e
[ "$rc" -eq 2 ] || fail "bad usage gave $rc"
grep -q usage "$dir/err.txt" || fail "usage text on stderr"

set +e
"$tool" dump "$dir/missing.ORV" 2> "$dir/err.txt"; rc=$?
set -e
[ "$rc" -eq 1 ] || fail "missing file gave $rc"
echo "orvtool CLI: all checks passed"
