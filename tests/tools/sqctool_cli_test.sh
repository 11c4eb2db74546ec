#!/usr/bin/env bash
# sqctool from the command line: exit codes, standard streams, and that a
# rejected input never creates or changes the output file.
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() {  # description, expected exit status, command...
  local what=$1 want=$2; shift 2
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  [ "$got" = "$want" ] || { fail "$what: exit $got, expected $want"; cat "$work/err"; }
}
expect() { local what=$1; shift; "$@" || fail "$what"; }  # description, condition...
one_line_reason() { [ "$(wc -l <"$work/err")" = 1 ]; }

printf 'Y;"English"\nQ;"Save";"caf\xe9 \\ \x22"\n' >"$work/defs.txt"
head -c 5000 /dev/urandom >"$work/random.bin"

check "seal a file" 0 "$tool" seal "$work/random.bin" "$work/random.sqc"
check "unseal it again" 0 "$tool" unseal "$work/random.sqc" "$work/random.back"
check "seal from stdin to stdout" 0 bash -c "'$tool' seal - - <'$work/random.bin' >'$work/piped.sqc'"
check "unseal from stdin to stdout" 0 bash -c "'$tool' unseal - - <'$work/piped.sqc' >'$work/piped.back'"
for back in random piped; do expect "$back round trip restores every byte" cmp -s "$work/random.bin" "$work/$back.back"; done

# Rejected: status 1, one line on stderr, output untouched. The byte is
# inverted: a fixed value would be no damage where the stream holds it (1 in 256).
cp "$work/random.sqc" "$work/damaged.sqc"
byte=$(od -An -tu1 -j100 -N1 "$work/random.sqc" | tr -d ' ')
printf "\\$(printf %03o $((byte ^ 0xFF)))" | dd of="$work/damaged.sqc" bs=1 seek=100 conv=notrunc status=none
echo "keep me" >"$work/existing"
check "damaged input is rejected" 1 "$tool" unseal "$work/damaged.sqc" "$work/existing"
expect "rejected unseal leaves an existing output unchanged" [ "$(cat "$work/existing")" = "keep me" ]
expect "one-line reason on stderr" one_line_reason
check "damaged input, new output" 1 "$tool" unseal "$work/damaged.sqc" "$work/never"
check "truncated input is rejected" 1 bash -c "head -c 40 '$work/random.sqc' | '$tool' unseal - '$work/never'"
check "missing input file" 1 "$tool" seal "$work/nonexistent" "$work/never"
# A path that opens but cannot be read (a folder, a failing disk) is rejected, never a crash.
mkdir "$work/folder"
check "a folder as input is rejected" 1 "$tool" unseal "$work/folder" "$work/never"
expect "one-line reason for the folder" one_line_reason
check "a folder as definition source is rejected" 1 "$tool" defs lint "$work/folder"
expect "rejected inputs create no output and leave no temporary file" test ! -e "$work/never" -a ! -e "$work/never.part"

# An output named through a symbolic link keeps the link, the file it names
# gets the content; a device (/dev/null behind a link, as /dev/stdout) is
# written in place, never replaced by a regular file.
echo "old" >"$work/real.sqc"
ln -s real.sqc "$work/link.sqc"
check "seal through a link" 0 "$tool" seal "$work/random.bin" "$work/link.sqc"
expect "the link is still a link" [ -L "$work/link.sqc" ]
expect "the linked file unseals to the input" bash -c "'$tool' unseal '$work/real.sqc' - | cmp -s - '$work/random.bin'"
ln -s /dev/null "$work/null"
check "unseal to a device" 0 "$tool" unseal "$work/random.sqc" "$work/null"
expect "the device's link stays a link, nothing beside it" test -L "$work/null" -a ! -e "$work/null.part"

for args in "" "frobnicate" "seal $work/random.bin" "defs"; do
  check "usage error: sqctool $args" 2 "$tool" $args
done

# dump: JSON with every byte outside printable ASCII as \u00XX.
"$tool" seal "$work/defs.txt" "$work/defs.sqc"
for args in "$work/defs.txt" "$work/defs.sqc --sealed"; do
  check "dump $args" 0 "$tool" defs dump $args
  expect "dump escapes bytes, quotes and backslashes" grep -qF '"Q": ["Save", "caf\u00e9 \\ "]' "$work/out"
done
printf 'Q;"x"\n' >"$work/bad.txt"
check "a text with a parse error still dumps" 0 "$tool" defs dump "$work/bad.txt"
expect "the parse error is reported" grep -qF '"parseError": "Missing Y identifier"' "$work/out"
check "dump --sealed of a plain text is rejected" 1 "$tool" defs dump "$work/defs.txt" --sealed

[ "$failures" = 0 ] && echo "sqctool: all checks passed"
exit $((failures > 0))
