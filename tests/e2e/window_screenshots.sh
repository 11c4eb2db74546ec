#!/usr/bin/env bash
# Screenshots of the main window with its rows shown, for a person to look
# at: English, Deutsch and Polski (the latter with code page 1250, as on a
# Polish Windows), scrolled to the middle, and narrower than 400 pixels.
# Writes build/run/shots/window-*.png. Needs the win build.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$root/build/win/bin
out=$root/build/run/shots
mkdir -p "$out"

shoot() {  # name, codepage ("" or 1250), preview options...
  local name=$1 codepage=$2; shift 2
  QUILL_CODEPAGE=$codepage "$root/scripts/wine-session" bash -c '
    wine "$1/window-preview.exe" "${@:3}" --seconds 6 >/dev/null 2>&1 &
    sleep 4
    import -window root "$2"
    wait' _ "$bin" "$out/window-$name.png" "$@"
  convert "$out/window-$name.png" -trim +repage "$out/window-$name.png"
  echo "$out/window-$name.png"
}

shoot english "" --language English
shoot deutsch "" --language Deutsch
shoot polski 1250 --language Polski
shoot middle "" --language English --scroll middle
shoot narrow "" --language English --size 360x560
