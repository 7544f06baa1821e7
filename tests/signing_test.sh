#!/usr/bin/env bash
# The release's signing step (scripts/sign) on a built program and on a
# package of it (installer/build-package), with a throwaway self-signed
# certificate and no timestamp, so nothing reaches the network: the
# signature it writes verifies, the same file changed by one byte afterwards
# does not, and without a certificate the file is left as it was.
#   usage: tests/signing_test.sh WINDOW.exe CONSOLE.com
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")/..
sign=$here/scripts/sign
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Throwaway test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
printf 'pass word\n' >"$work/password"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/signer.pfx" \
  -passout "file:$work/password"

"$here/installer/build-package" x64 1.0.0 "$1" "$2" "$work/package.msi"
for original in "$2" "$work/package.msi"; do
  file=$work/signed.${original##*.}
  cp "$original" "$work/unsigned"
  BOANSETTING_SIGN_PFX='' "$sign" "$work/unsigned"
  cmp -s "$original" "$work/unsigned" || fail "$original was changed without a certificate"

  cp "$original" "$file"
  BOANSETTING_SIGN_PFX=$work/signer.pfx BOANSETTING_SIGN_PASSWORD_FILE=$work/password \
    BOANSETTING_SIGN_CAFILE=$work/cert.pem "$sign" "$file"
  osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >/dev/null 2>&1 ||
    fail "the signed $file does not verify"

  # One byte in the middle of the file (code, or the package's cabinet), far
  # from the signature, flipped with coreutils alone.
  at=$(($(stat -c %s "$file") / 2))
  byte=$(od -An -tu1 -j"$at" -N1 "$file" | tr -d ' ')
  printf "$(printf '\\%03o' $((byte ^ 255)))" |
    dd of="$file" bs=1 seek="$at" count=1 conv=notrunc status=none
  if osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >/dev/null 2>&1; then
    fail "$file changed after signing still verifies"
  fi
done
echo "signing: signed program and package verify, changed ones fail, unsigned ones untouched"
