#!/usr/bin/env bash
# The installer as a new user meets it, for a person to look at: a fresh
# Wine prefix (build/wineprefix-newuser), the installer's pages clicked
# through with Next, the installed program started from the finish page, then
# the uninstaller's pages. Writes build/run/shots/installer-*.png. Needs the
# installer (scripts/package) and the win build's quill-driver.exe.
#   tests/package/installer_screenshots.sh [SETUP.EXE]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
setup=${1:-$(ls "$root"/dist/SorvaneQuillAlarmSetup-*-setup.exe | head -n 1)}
export QUILL_WINEPREFIX=$root/build/wineprefix-newuser
if [ -z "${QUILL_WINE_SESSION:-}" ]; then
  rm -rf "$QUILL_WINEPREFIX"
  exec "$root/scripts/wine-session" "$0" "$setup"
fi
out=$root/build/run/shots
mkdir -p "$out"
driver=$root/build/win/bin/quill-driver.exe
drive() { wine "$driver" "$@" >/dev/null; }
shot() { sleep 1; import -window root "$out/installer-$1.png"; echo "$out/installer-$1.png"; }
next() { drive dialog-press 1; sleep 1; }

wine "$setup" >/dev/null 2>&1 &
drive wait-dialog 30
shot 1-welcome
next; shot 2-folder
next; sleep 3; shot 3-finished
next                       # Finish, with "Run" ticked: the program starts
drive wait-main 30
sleep 2; shot 4-program
drive close
wait

wine "C:\\Program Files\\Valdrix\\Sorvane Quill Alarm Setup\\Uninstall.exe" >/dev/null 2>&1 &
drive wait-dialog 30
shot 5-uninstall-confirm
next; sleep 3; shot 6-uninstall-done
next
drive wait-no-dialog 30
