#!/usr/bin/env bash
# Builds the stand-in JDK's Windows Installer packages with wixl: per machine (machine.msi), per
# user (user.msi), and one whose launch condition is never met, so that msiexec ends with 1603
# and installs nothing (failing.msi). wixl writes HKMU doubtfully: the roots are named.
# Usage: build_msi.sh <standin-jdk.wxs> <fakejvm.exe> <output directory>
set -euo pipefail
wxs=$1 jvm=$2 out=$3
mkdir -p "$out"
# wixl takes the files by names relative to its directory.
cp "$jvm" "$out/fakejvm.exe"
cd "$out"
printf 'version=17.0.2\ntestrun=good\nwizard=create\n' >fakejvm.ini
build() {
  local name=$1
  shift
  wixl -a x64 -D Jvm=fakejvm.exe -D Settings=fakejvm.ini "$@" -o "$name.msi" "$wxs"
}
machine=(-D Scope=perMachine -D Folder=ProgramFiles64Folder -D Parent=StandinJdk -D Root=HKLM)
build machine "${machine[@]}" -D Installs=1
build failing "${machine[@]}" -D Installs=0
build user -D Scope=perUser -D Folder=LocalAppDataFolder -D Parent=Programs -D Root=HKCU \
  -D Installs=1
