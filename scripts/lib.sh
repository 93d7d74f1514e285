# Shared by scripts/test, scripts/demo, bench/run and the system tests' tests/system/own-prefix:
# build both targets, and bring up (and always take down) an X display and a private Wine prefix
# with one wineserver and one desktop-holding program for the whole run. Every prefix is a copy of
# one booted template prefix (booting takes many seconds, a copy well under one).
# Source it; it sets ROOT, BUILD, WINEPREFIX and installs an EXIT trap.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QRV_BUILD_DIR:-$ROOT/build}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
_qrv_xvfb_pid=""
_qrv_wine_up=""
_qrv_holder_pid=""
_qrv_holder_flag=""
# Marks a booted prefix; a new name when the template's settings change, so that older
# templates and their copies are made anew.
_qrv_booted=.qrv-booted-2

# The tests and stand-ins are built for the 64-bit target only: 32-bit programs cannot run here.
# With the argument "host", the host build of the text rules (sanitizers, fuzz targets) as well.
# The trees are configured side by side (configuring is serial work) and built one after the
# other, each with every core and one job more to fill its serial stretches: three builds at once
# only made the compilers crowd each other out.
qrv_build() {
  local tree pids=() failed=""
  for tree in win64 win32 ${1:-}; do
    qrv_configure "$tree" &
    pids+=($!)
  done
  for tree in "${pids[@]}"; do
    wait "$tree" || failed=1
  done
  [ -z "$failed" ] || return 1
  for tree in win64 win32 ${1:-}; do
    qrv_build_dir "$BUILD/$tree" || return 1
  done
}

# Configures the tree $1 (win64, win32 or host) under $BUILD; its output is shown only when it
# fails.
qrv_configure() {
  local options=()
  case "$1" in
    win64) options=(-DCMAKE_BUILD_TYPE=Release -DQRV_TESTS=ON
                    --toolchain "$ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake") ;;
    win32) options=(-DCMAKE_BUILD_TYPE=Release -DQRV_TESTS=OFF
                    --toolchain "$ROOT/cmake/toolchain-i686-w64-mingw32.cmake") ;;
    host) options=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  esac
  # Ninja: it schedules the compilers better than Make's recursive makefiles. A tree made by
  # another generator is configured anew.
  if [ -e "$BUILD/$1/CMakeCache.txt" ] &&
     ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$BUILD/$1/CMakeCache.txt"; then
    rm -rf "$BUILD/$1/CMakeCache.txt" "$BUILD/$1/CMakeFiles"
  fi
  cmake -G Ninja -S "$ROOT" -B "$BUILD/$1" "${options[@]}" >"$BUILD/configure-$1.log" 2>&1 \
    || { cat "$BUILD/configure-$1.log"; return 1; }
}

# Builds one configured tree; its output is shown only when the build fails.
qrv_build_dir() {
  local log="$1.build.log"
  cmake --build "$1" -j "$(($(nproc) + 1))" >"$log" 2>&1 || { grep -v '^\[' "$log"; return 1; }
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

# The booted prefix every other prefix is copied from. Booted once, then its server is let end, so
# that its registry is on disk; a lock keeps system tests started side by side from booting it
# twice. Wine's background processes inherit the output of the first Wine command of a prefix:
# here a file, so no pipe of ours is ever held open.
qrv_boot_template() {
  local template="$BUILD/wineprefix-template"
  mkdir -p "$BUILD"
  (
    flock 9
    [ -e "$template/$_qrv_booted" ] && exit 0
    rm -rf "$template"
    mkdir -p "$template"
    export WINEPREFIX="$template"
    # No network here: keep wineboot from offering the Mono and Gecko downloads.
    WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >"$BUILD/wineboot.log" 2>&1 </dev/null 9>&-
    # Our Xvfb display has no window manager: Wine would wait two seconds for one at every window
    # it hides (each closed box, the dialog at the end). Windows it does not hand to a manager
    # are hidden at once.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$BUILD/wineboot.log" 2>&1 \
      </dev/null 9>&-
    # Nor does any prefix need desktop menu entries: every prefix's start saves their maker.
    wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f \
      >>"$BUILD/wineboot.log" 2>&1 </dev/null 9>&-
    wineserver -w 9>&-
    touch "$template/$_qrv_booted"
  ) 9>"$BUILD/wineprefix-template.lock"
}

# Copies the template prefix to $1. The system DLLs (nearly all of a prefix's 700 MB) become hard
# links: Wine never writes them, nor do the tests; the registry and everything else are copies of
# their own. The file "wineserver" (the name of the server's directory under /tmp) is left for
# Wine to make anew.
qrv_copy_prefix() {
  local template="$BUILD/wineprefix-template" windows="drive_c/windows" dir
  rm -rf "$1"
  mkdir -p "$1"
  (cd "$template" && tar --exclude="./$windows/system32" --exclude="./$windows/syswow64" \
    --exclude="./$windows/winsxs" --exclude=./wineserver -cf - .) | tar -C "$1" -xf -
  for dir in system32 syswow64 winsxs; do
    [ -d "$template/$windows/$dir" ] && cp -al "$template/$windows/$dir" "$1/$windows/"
  done
  return 0
}

# Brings up the prefix $1 (default build/wineprefix, copied from the template when missing): its
# server, started first with its output in a file, and the desktop holder.
qrv_start_wine() {
  export WINEPREFIX="${1:-$BUILD/wineprefix}"
  if [ ! -e "$WINEPREFIX/$_qrv_booted" ]; then
    qrv_boot_template
    qrv_copy_prefix "$WINEPREFIX"
  fi
  # An already running server of this prefix answers with an error; it is used as it is.
  wineserver -p >"$WINEPREFIX/qrv-wineserver.log" 2>&1 </dev/null || true
  _qrv_wine_up=1
  qrv_hold_desktop
}

# The first window of a prefix starts Wine's desktop process (explorer.exe /desktop, some
# seconds), which inherits the output of the program that caused it and lingers after that
# program's last window. The stand-in desktop_holder.exe, started here with its output in a
# file, keeps it up until qrv_stop: no test program waits for it or is held by it.
qrv_hold_desktop() {
  local holder="$BUILD/win64/bin/desktop_holder.exe"
  [ -f "$holder" ] || return 0
  _qrv_holder_flag="$WINEPREFIX/qrv-desktop-holder.up"
  rm -f "$_qrv_holder_flag"
  wine "$holder" "Z:$_qrv_holder_flag" >"$WINEPREFIX/qrv-desktop-holder.log" 2>&1 </dev/null &
  _qrv_holder_pid=$!
  local i
  for i in $(seq 1 600); do
    [ -e "$_qrv_holder_flag" ] && return 0
    kill -0 "$_qrv_holder_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "the desktop holder did not come up; see $WINEPREFIX/qrv-desktop-holder.log" >&2
  return 1
}

trap qrv_stop EXIT
trap 'exit 130' INT TERM
