#!/usr/bin/env bash
# scripts/sign on copies of setup.exe and cleanup.exe (arguments 1 and 2), from PEM files and from
# PKCS#12 made for this run (offline: no time-stamp server): each verifies, a changed byte breaks
# it, and the signed setup.exe still runs under Wine.
set -euo pipefail
sign="$(cd "$(dirname "$0")/../.." && pwd)/scripts/sign"
setup=$(realpath "$1") cleanup=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

# The programs end with their last section: nothing is appended to the image, so a signature
# made afterwards covers the whole program.
for exe in "$setup" "$cleanup"; do
  align=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '$1 == "FileAlignment" {print $2}')
  end=0
  while read -r size offset; do
    section_end=$(( (16#$offset + 16#$size + 16#$align - 1) / 16#$align * 16#$align ))
    end=$((section_end > end ? section_end : end))
  done < <(x86_64-w64-mingw32-objdump -h "$exe" |
           awk '$1 ~ /^[0-9]+$/ && $6 !~ /^0+$/ {print $3, $6}')
  [ "$(stat -c %s "$exe")" -eq "$end" ] || fail "$exe holds bytes after its last section"
done

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 1 \
  -subj "/CN=Signing test" 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout pass:secret
echo secret >pass.txt
cp "$setup" setup.exe
cp "$cleanup" cleanup.exe
"$sign" --cert cert.pem --key key.pem setup.exe >/dev/null
"$sign" --pkcs12 cert.p12 --pass-file pass.txt cleanup.exe >/dev/null

# The certificate is self-signed: trusted as its own root here, verify checks the whole signature
# (without -CAfile it ends with 1 for the untrusted chain alone).
for exe in setup.exe cleanup.exe; do
  report=$(osslsigncode verify -in "$exe" -CAfile cert.pem 2>&1) ||
    fail "$exe does not verify: $report"
done
cp setup.exe changed.exe
byte=$(od -An -tu1 -j1024 -N1 changed.exe)
printf "\\$(printf %o $(((byte + 1) % 256)))" |
  dd of=changed.exe bs=1 seek=1024 conv=notrunc 2>/dev/null
! osslsigncode verify -in changed.exe -CAfile cert.pem >/dev/null 2>&1 ||
  fail "a changed byte still verifies"

# Signed, it runs as before: in an empty directory a quiet run ends with 16 (no control file).
mkdir empty
status=0
(cd empty && wine ../setup.exe -q x >/dev/null 2>&1 </dev/null) || status=$?
[ "$status" -eq 16 ] || fail "the signed setup.exe ended with $status, not 16"
echo "signed, verified and run"
