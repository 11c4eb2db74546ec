#!/usr/bin/env bash
# Screenshots of the shell for a person to look at: the splash, the main
# window, the about box and the text entry dialog, written to
# build/run/shots/{splash,main,about,entry}.png. Needs the win build.
#   tests/e2e/shell_screenshots.sh [--codepage 1250]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
[ "${1:-}" = --codepage ] && export QUILL_CODEPAGE=$2
if [ -z "${QUILL_WINE_SESSION:-}" ]; then
  exec "$root/scripts/wine-session" "$0" "$@"
fi
bin=$root/build/win/bin
out=$root/build/run/shots
mkdir -p "$out"
drive() { wine "$bin/quill-driver.exe" "$@" >/dev/null; }
shot() { import -window root "$out/$1.png"; echo "$out/$1.png"; }

wine "$bin/BrontivaSetup.exe" >/dev/null 2>&1 &
program=$!
sleep 1.5
shot splash
drive wait-main 30
sleep 1.5
shot main
drive command 1003
drive wait-dialog
sleep 0.5
shot about
drive dialog-press 1
drive wait-no-dialog
drive command 5005 256
drive wait-dialog
drive dialog-type 1000 1234
sleep 0.5
shot entry
drive dialog-press 2
drive wait-no-dialog
drive close
wait "$program"
