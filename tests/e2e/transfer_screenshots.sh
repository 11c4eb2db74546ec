#!/usr/bin/env bash
# Screenshots of a read and a write for a person to look at, against
# quill-sim (the unit of scripts/run) on COM3 at 9600 baud: the progress bar
# part-way through a read, each message (read done, write done, no unit,
# interrupted), and the form after the read in English, Deutsch and Polski.
# Written to build/run/shots/transfer-*.png. Needs both builds.
#   tests/e2e/transfer_screenshots.sh [--codepage 1250]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
[ "${1:-}" = --codepage ] && export QUILL_CODEPAGE=$2
if [ -z "${QUILL_WINE_SESSION:-}" ]; then
  exec "$root/scripts/wine-session" "$0" "$@"
fi
bin=$root/build/win/bin
out=$root/build/run/shots
work=$(mktemp -d)
mkdir -p "$out"
drive() { wine "$bin/quill-driver.exe" "$@" >/dev/null; }
shot() { import -window root "$out/transfer-$1.png"; echo "$out/transfer-$1.png"; }
message() {  # shot NAME of the message box, then OK
  drive wait-dialog 120
  sleep 0.5
  shot "$1"
  drive dialog-press 1
  drive wait-no-dialog
  sleep 0.5  # the end of the modal loop: commands before it are ignored
}
register_com3() {
  wine reg add 'HKLM\Software\Wine\Ports' /v COM3 /d "$1" /f >/dev/null 2>&1
  { wineserver -k; wineserver -w; wineserver -p; wine wineboot; } >/dev/null 2>&1
}

# Without a unit: "no unit".
wine reg delete 'HKLM\Software\Wine\Ports' /v COM3 /f >/dev/null 2>&1 || true
wine "$bin/BrontivaSetup.exe" >/dev/null 2>&1 &
program=$!
drive wait-main 30
drive command 5001
message no-unit
drive close
wait "$program"

cp "$root/tools/quill-sim/quill-105.state" "$work/unit.state"
"$root/build/native/bin/quill-sim" --state "$work/unit.state" --baud 9600 >"$work/sim.out" 2>/dev/null &
sim=$!
trap 'kill $sim 2>/dev/null; wine reg delete "HKLM\\Software\\Wine\\Ports" /v COM3 /f >/dev/null 2>&1; rm -rf "$work"' EXIT
for _ in $(seq 1 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
register_com3 "$(head -n 1 "$work/sim.out")"

wine "$bin/BrontivaSetup.exe" >/dev/null 2>&1 &
program=$!
drive wait-main 30
sleep 3  # the scan finds the unit
drive command 5001
sleep 1.2
shot progress
message read-done
sleep 1  # the rows are rebuilt with the unit's counts
shot english
# The language pop-up lists the names in byte order: Deutsch, English, Polski.
drive command 10000
sleep 1
shot deutsch
drive command 10002
sleep 1
shot polski
drive command 10001
drive command 5002
message write-done
drive command 5001
sleep 1
kill -USR1 $sim  # silent: the cable is pulled
message interrupted
sleep 7
shot locked
drive close
wait "$program"
