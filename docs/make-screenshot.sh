#!/usr/bin/env bash
# Makes docs/status-dialog.png, the picture of the launcher's status dialog in the README:
# builds the programs, runs setup.exe under Wine on a private X display in an empty package
# directory and captures the dialog window before anything else covers it.
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"

OUT=${1:-$ROOT/docs/status-dialog.png}
"$ROOT/scripts/setup"
mkdir -p "$BUILD"
qrv_build
unset DISPLAY
qrv_start_display
qrv_start_wine

PACKAGE="$BUILD/screenshot-package"
launcher_pid=""
stop_launcher() {
  if [ -n "$launcher_pid" ]; then
    kill "$launcher_pid" 2>/dev/null || true
    wait "$launcher_pid" 2>/dev/null || true
    launcher_pid=""
  fi
}
trap 'stop_launcher; qrv_stop' EXIT

window_id() {
  xwininfo -root -tree 2>/dev/null | awk -v name="\"$1\"" 'index($0, name) { print $1; exit }'
}

rm -rf "$PACKAGE"
mkdir -p "$PACKAGE"
cp "$BUILD/win64/bin/setup.exe" "$PACKAGE/"
(cd "$PACKAGE" && exec wine setup.exe >"$BUILD/screenshot-run.log" 2>&1 </dev/null) &
launcher_pid=$!
# With no control file the driver soon raises its failure box over the dialog: wait for both,
# move the box aside (the dialog stays up while the box is open) and picture the dialog.
dialog="" box=""
for _ in $(seq 1 300); do
  dialog=$(window_id "Installer")
  box=$(window_id "Quorvan Installer: Error")
  [ -n "$dialog" ] && [ -n "$box" ] && break
  sleep 0.1
done
if [ -z "$dialog" ] || [ -z "$box" ]; then
  echo "make-screenshot: the dialog or the failure box did not appear" >&2
  exit 1
fi
wine "$BUILD/win64/bin/move_window.exe" "Quorvan Installer: Error" 600 500 \
  >"$BUILD/screenshot-move.log" 2>&1 </dev/null
sleep 1  # let the uncovered dialog repaint
import -display "$DISPLAY" -window "$dialog" "$OUT"
echo "wrote $OUT"
