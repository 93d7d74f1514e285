# Shared by scripts/test, scripts/demo and bench/run: build both targets, and bring up (and always
# take down) an X display and a private Wine prefix with one wineserver and one desktop-holding
# program for the whole run.
# Source it; it sets ROOT, BUILD, WINEPREFIX and installs an EXIT trap.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QRV_BUILD_DIR:-$ROOT/build}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
_qrv_xvfb_pid=""
_qrv_wine_up=""
_qrv_holder_pid=""
_qrv_holder_flag=""

# The tests and stand-ins are built for the 64-bit target only: 32-bit programs cannot run here.
qrv_build() {
  local target
  for target in win64 win32; do
    local triplet=x86_64-w64-mingw32 tests=ON
    [ "$target" = win32 ] && triplet=i686-w64-mingw32 tests=OFF
    cmake -S "$ROOT" -B "$BUILD/$target" -DCMAKE_BUILD_TYPE=Release -DQRV_TESTS=$tests \
      --toolchain "$ROOT/cmake/toolchain-$triplet.cmake" >"$BUILD/configure-$target.log" 2>&1 \
      || { cat "$BUILD/configure-$target.log"; return 1; }
    qrv_build_dir "$BUILD/$target" || return 1
  done
}

# Builds one configured tree; its output is shown only when the build fails.
qrv_build_dir() {
  local log="$1.build.log"
  cmake --build "$1" -j "$(nproc)" >"$log" 2>&1 || { grep -v '^\[' "$log"; return 1; }
}

qrv_stop() {
  if [ -n "$_qrv_holder_pid" ]; then
    # Removing the flag file ends the holder; its pid is the fallback.
    rm -f "$_qrv_holder_flag"
    local i
    for i in $(seq 1 20); do
      kill -0 "$_qrv_holder_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$_qrv_holder_pid" 2>/dev/null || true
    wait "$_qrv_holder_pid" 2>/dev/null || true
    _qrv_holder_pid=""
  fi
  if [ -n "$_qrv_wine_up" ]; then
    wineserver -k >/dev/null 2>&1 || true
    _qrv_wine_up=""
  fi
  if [ -n "$_qrv_xvfb_pid" ]; then
    kill "$_qrv_xvfb_pid" 2>/dev/null || true
    wait "$_qrv_xvfb_pid" 2>/dev/null || true
    _qrv_xvfb_pid=""
  fi
}

qrv_start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$BUILD/xvfb.log" 2>&1 &
    _qrv_xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && return 0
      sleep 0.1
    done
    return 1
  done
  return 1
}

# Wine's background processes inherit the output of the first Wine command of a prefix: the
# server is started first with its output in a file, so no pipe of ours is ever held open.
qrv_start_wine() {
  export WINEPREFIX="$BUILD/wineprefix"
  mkdir -p "$WINEPREFIX"
  # An already running server of this prefix answers with an error; it is used as it is.
  wineserver -p >"$BUILD/wineserver.log" 2>&1 </dev/null || true
  _qrv_wine_up=1
  # wineboot also starts the prefix's background processes (services.exe, ...), here with their
  # output in a file, before any test runs Wine through a pipe. No network here: keep it from
  # offering the Mono and Gecko downloads.
  WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >"$BUILD/wineboot.log" 2>&1 </dev/null
  qrv_hold_desktop
}

# The first window of a prefix starts Wine's desktop process (explorer.exe /desktop, some
# seconds), which inherits the output of the program that caused it and lingers after that
# program's last window. The stand-in desktop_holder.exe, started here with its output in a
# file, keeps it up until qrv_stop: no test program waits for it or is held by it.
qrv_hold_desktop() {
  local holder="$BUILD/win64/bin/desktop_holder.exe"
  [ -f "$holder" ] || return 0
  _qrv_holder_flag="$BUILD/desktop-holder.up"
  rm -f "$_qrv_holder_flag"
  wine "$holder" "Z:$_qrv_holder_flag" >"$BUILD/desktop-holder.log" 2>&1 </dev/null &
  _qrv_holder_pid=$!
  local i
  for i in $(seq 1 600); do
    [ -e "$_qrv_holder_flag" ] && return 0
    kill -0 "$_qrv_holder_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "the desktop holder did not come up; see $BUILD/desktop-holder.log" >&2
  return 1
}

trap qrv_stop EXIT
trap 'exit 130' INT TERM
