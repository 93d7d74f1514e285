#!/usr/bin/env bash
# Runs killed at any moment, one row per point: a stand-in signals its point (writes a file, then
# waits), the whole Wine session of the table's prefix is ended (wineserver -k, as a power loss
# ends every process), and the next start must complete: exit 0, one wizard, nothing of the
# killed run left, the JVM registered where it lies. Usage: kill_points.sh <build directory>
set -euo pipefail
export QRV_BUILD_DIR=$1
source "$(dirname "$0")/../../scripts/lib.sh"
bin="$BUILD/win64/bin" prefix="$BUILD/system-prefixes/kill_points"
work="$prefix/drive_c/kill" failures=0
win() { echo "Z:${1//\//\\}"; }
fail() { echo "FAIL [$row]: $*" >&2; failures=$((failures + 1)); }
qrv_start_display && qrv_boot_template && qrv_copy_prefix "$prefix" && qrv_start_wine "$prefix"

# A row's package on its road ($1: found, a JVM under JAVA_HOME; expanded; vendor), the stand-in
# setting $2 naming the kill point's signal file.
lay_out() {
  local dir="$work/$row" jvm=$(win "$bin/fakejvm.exe")
  rm -rf "$dir" && mkdir -p "$dir/package" "$dir/jre/bin"
  cp "$bin/setup.exe" "$bin/TestJvm.class" "$dir/package/"
  echo "the wizard" >"$dir/package/install.jar"
  local control="jvmMinVersion=1.3\r\njvmVersion=1.3.1\r\njvmName=JRE\r\n"
  local into="predefinedJvmInstallDir=C:/kill/$row/jvm\r\n"
  case "$1" in
    found) cp "$bin/fakejvm.exe" "$dir/jre/bin/java.exe"
           cp "$bin/fakejvm.exe" "$dir/jre/bin/javaw.exe"
           printf 'version=1.6.0_20\n%s\n' "$2" >"$dir/jre/bin/fakejvm.ini" ;;
    expanded) cp "$bin/fakeexpander.exe" "$dir/package/jre131.exe"
              printf 'jvm=%s\nversion=1.3.1\nlayout=bin\n%s\n' "$jvm" "$2" \
                >"$dir/package/fakeexpander.ini"
              control+="jvmInstallerType=selfExtratorJvmInstaller\r\n"
              control+="jvmSelfExtractor=jre131.exe\r\n$into" ;;
    vendor) cp "$bin/fakevendor.exe" "$dir/package/vendor.exe"
            printf 'jvm=%s\nversion=1.3.1\nmode=registry\ntarget=%s\n%s\n' "$jvm" \
              "C:\\kill\\$row\\jvm" "$2" >"$dir/vendor.ini"
            control+="jvmInstallerType=thirdPartyJvmInstaller\r\njvmInstallerBinary=vendor.exe\r\n"
            control+="jvmInstallerCommand=vendor.exe\r\n$into" ;;
  esac
  printf "$control" >"$dir/package/qrv.control"
}

start() {
  (cd "$work/$row/package" && JAVA_HOME="$(win "$work/$row/jre")" \
     QRV_FAKEVENDOR_INI="$(win "$work/$row/vendor.ini")" wine setup.exe -q x \
     >../run.log 2>&1 </dev/null)
}

# The wizard starts the row's stand-in JVMs recorded.
wizards() {
  cat "$work/$row"/{jre,jvm}/bin/fakejvm.record 2>/dev/null | tr -d '\r' |
    grep -c '^arg=\.;install\.jar$' || true
}

kill_row() {
  row=$1
  local signal="$work/$1.signal" package="$work/$1/package" status=0 before i
  rm -f "$signal" && lay_out "$2" "$3=$(win "$signal")"
  start & local run=$!
  for i in $(seq 1 600); do [ -e "$signal" ] && break; sleep 0.1; done
  [ -e "$signal" ] || fail "the kill point was never reached"
  wineserver -k && { wait "$run" || true; }
  qrv_start_wine "$prefix"
  before=$(wizards)
  start || status=$?
  [ "$status" -eq 0 ] || fail "the next start ended $status: $(cat "$package/errors.log" 2>&1)"
  [ "$(($(wizards) - before))" -eq 1 ] || fail "the next start ran $(($(wizards) - before)) wizards"
  for left in __qrvinstall.sem __qrvshow.sem __qrvwizard.sem native.properties \
              native.properties.new __qrv.control install.jar; do
    [ ! -e "$package/$left" ] || fail "$left left in the package"
  done
  [ "$2" != found ] || return 0
  local home=$(wine reg query 'HKLM\SOFTWARE\JavaSoft\Java Runtime Environment\1.3' /v JavaHome \
         2>/dev/null | tr -d '\r' | awk '$1 == "JavaHome" {print tolower($3)}')
  [[ "$home" == "c:\\kill\\$row\\jvm"* ]] || fail "the JVM registered is '$home'"
  wine reg delete 'HKLM\SOFTWARE\JavaSoft' /f >/dev/null 2>&1 || true
}

kill_row test-run found killtest
kill_row expansion expanded killpoint
kill_row final-check expanded jvmkill
kill_row vendor-installer vendor killpoint
kill_row wizard found killwizard
qrv_stop
[ "$failures" -eq 0 ] && rm -rf "$prefix"
