#!/usr/bin/env bash
# build_msi.sh <standin-jdk.wxs> <fakejvm.exe> <fakejvmw.exe> <dir>: the stand-in JDK per machine,
# per user, and failing.msi whose launch condition is never met (msiexec: 1603). wixl takes files
# by relative names, and writes HKMU doubtfully: the roots are named.
set -euo pipefail
mkdir -p "$4" && cp "$2" "$4/fakejvm.exe" && cp "$3" "$4/fakejvmw.exe" && cd "$4"
printf 'version=17.0.2\ntestrun=good\nwizard=create\n' >fakejvm.ini
machine=(-D Scope=perMachine -D Folder=ProgramFiles64Folder -D Parent=StandinJdk -D Root=HKLM)
wixl -a x64 "${machine[@]}" -D Installs=1 -o machine.msi "$1"
wixl -a x64 "${machine[@]}" -D Installs=0 -o failing.msi "$1"
wixl -a x64 -D Scope=perUser -D Folder=LocalAppDataFolder -D Parent=Programs -D Root=HKCU \
  -D Installs=1 -o user.msi "$1"
