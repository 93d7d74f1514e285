#!/usr/bin/env bash
# A run killed at any moment: one row per point. A stand-in signals that the run reached its point
# (a file it writes, then it waits); the whole Wine session of the row's own prefix is then ended
# at once (wineserver -k, as a power loss ends every process), and the package is started again:
# that start completes (exit 0, the wizard once) and leaves no state of the killed run behind.
# Usage: kill_points.sh <build directory>
set -euo pipefail
export QRV_BUILD_DIR=$1
source "$(dirname "$0")/../../scripts/lib.sh"
bin="$BUILD/win64/bin"
prefix="$BUILD/system-prefixes/kill_points"
work="$prefix/drive_c/kill"
winpath() { echo "Z:${1//\//\\}"; }
qrv_start_display
qrv_boot_template
qrv_copy_prefix "$prefix"
qrv_start_wine "$prefix"
failures=0
fail() { echo "FAIL [$row]: $*" >&2; failures=$((failures + 1)); }

# The package of a row: the wizard's files, the stand-in expander or vendor installer, and the
# control file's road. $1: found (a JVM under JAVA_HOME), expanded or vendor.
lay_out() {
  local dir="$work/$row"
  rm -rf "$dir"
  mkdir -p "$dir/package" "$dir/jre/bin"
  cp "$bin/setup.exe" "$bin/TestJvm.class" "$dir/package/"
  echo "the wizard" >"$dir/package/install.jar"
  local control="jvmMinVersion=1.3\r\njvmVersion=1.3.1\r\njvmName=JRE\r\n"
  case "$1" in
    found)
      cp "$bin/fakejvm.exe" "$dir/jre/bin/java.exe"
      cp "$bin/fakejvm.exe" "$dir/jre/bin/javaw.exe"
      printf 'version=1.6.0_20\n%s\n' "$2" >"$dir/jre/bin/fakejvm.ini"
      control+="searchForJvm=yes\r\n" ;;
    expanded)
      cp "$bin/fakeexpander.exe" "$dir/package/jre131.exe"
      printf 'jvm=%s\nversion=1.3.1\nlayout=bin\n%s\n' "$(winpath "$bin/fakejvm.exe")" "$2" \
        >"$dir/package/fakeexpander.ini"
      control+="jvmInstallerType=selfExtratorJvmInstaller\r\njvmSelfExtractor=jre131.exe\r\n"
      control+="predefinedJvmInstallDir=C:/kill/$row/jvm\r\n" ;;
    vendor)
      cp "$bin/fakevendor.exe" "$dir/package/vendor.exe"
      printf 'jvm=%s\nversion=1.3.1\nmode=registry\ntarget=C:\\kill\\%s\\jvm\n%s\n' \
        "$(winpath "$bin/fakejvm.exe")" "$row" "$2" >"$dir/vendor.ini"
      control+="jvmInstallerType=thirdPartyJvmInstaller\r\njvmInstallerBinary=vendor.exe\r\n"
      control+="jvmInstallerCommand=vendor.exe\r\n"
      control+="predefinedJvmInstallDir=C:/kill/$row/jvm\r\n" ;;
  esac
  printf "$control" >"$dir/package/qrv.control"
}

# Starts the package's launcher; $1 "&" runs it in the background.
start() {
  local dir="$work/$row"
  (cd "$dir/package" && JAVA_HOME="$(winpath "$dir/jre")" \
     QRV_FAKEVENDOR_INI="$(winpath "$dir/vendor.ini")" \
     wine setup.exe -q x >"$dir/run.log" 2>&1 </dev/null)
}

# The wizard starts the JVMs of a row recorded (the test runs name the test class).
wizards() {
  cat "$work/$row"/jre/bin/fakejvm.record "$work/$row"/jvm/bin/fakejvm.record \
    "$work/$row"/jvm/jre/bin/fakejvm.record 2>/dev/null | tr -d '\r' | grep -c '^arg=\.;install\.jar$' || true
}

# One row: its name, its road, the stand-in setting that names the kill point's signal file.
kill_row() {
  row=$1
  local signal="$work/$1.signal"
  rm -f "$signal"
  lay_out "$2" "$3=$(winpath "$signal")"
  start &
  local run=$! i
  for i in $(seq 1 600); do
    [ -e "$signal" ] && break
    sleep 0.1
  done
  [ -e "$signal" ] || fail "the kill point was never reached"
  wineserver -k
  wait "$run" || true
  qrv_start_wine "$prefix"
  local before status=0
  before=$(wizards)
  start || status=$?
  local package="$work/$row/package"
  [ "$status" -eq 0 ] || fail "the next start ended $status: $(cat "$package/errors.log" 2>&1)"
  [ "$(($(wizards) - before))" -eq 1 ] || fail "the next start ran $(($(wizards) - before)) wizards"
  for left in __qrvinstall.sem __qrvshow.sem __qrvwizard.sem native.properties \
              native.properties.new __qrv.control install.jar; do
    [ ! -e "$package/$left" ] || fail "$left left in the package"
  done
  if [ "$2" != found ]; then
    local home
    home=$(wine reg query 'HKLM\SOFTWARE\JavaSoft\Java Runtime Environment\1.3' /v JavaHome \
           2>/dev/null | tr -d '\r' | awk '$1 == "JavaHome" {print $3}')
    case "${home,,}" in
      "c:\\kill\\$row\\jvm"*) ;;
      *) fail "the JVM registered is '$home'" ;;
    esac
    wine reg delete 'HKLM\SOFTWARE\JavaSoft' /f >/dev/null 2>&1 || true
  fi
}

kill_row test-run found killtest
kill_row expansion expanded killpoint
kill_row final-check expanded jvmkill
kill_row vendor-installer vendor killpoint
kill_row wizard found killwizard

qrv_stop
[ "$failures" -eq 0 ] || exit 1
rm -rf "$prefix"
echo "every kill point: the next start completed"
