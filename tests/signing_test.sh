#!/usr/bin/env bash
# The release's signing step (scripts/sign) on a built program, with a
# throwaway self-signed certificate and no timestamp, so nothing reaches the
# network: the signature it writes verifies, the same program changed by one
# byte afterwards does not, and without a certificate the program is left
# as it was.
#   usage: tests/signing_test.sh PROGRAM
set -euo pipefail
sign=$(dirname "${BASH_SOURCE[0]}")/../scripts/sign
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Throwaway test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
printf 'pass word\n' >"$work/password"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/signer.pfx" \
  -passout "file:$work/password"

cp "$1" "$work/unsigned.exe"
BOANSETTING_SIGN_PFX='' "$sign" "$work/unsigned.exe"
cmp -s "$1" "$work/unsigned.exe" || fail "a program was changed without a certificate"

cp "$1" "$work/program.exe"
BOANSETTING_SIGN_PFX=$work/signer.pfx BOANSETTING_SIGN_PASSWORD_FILE=$work/password \
  BOANSETTING_SIGN_CAFILE=$work/cert.pem "$sign" "$work/program.exe"
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/program.exe" >/dev/null 2>&1 ||
  fail "the signed program does not verify"

# One byte of the code, far from the signature at the end of the file,
# flipped with coreutils alone.
byte=$(od -An -tu1 -j4096 -N1 "$work/program.exe" | tr -d ' ')
printf "$(printf '\\%03o' $((byte ^ 255)))" |
  dd of="$work/program.exe" bs=1 seek=4096 count=1 conv=notrunc status=none
if osslsigncode verify -CAfile "$work/cert.pem" -in "$work/program.exe" >/dev/null 2>&1; then
  fail "a program changed after signing still verifies"
fi
echo "signing: signed program verifies, changed one fails, unsigned one untouched"
