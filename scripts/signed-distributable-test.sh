#!/usr/bin/env bash
# A distributable signed after packing, end to end (a CTest of each Windows tree): the test
# program packs a movie distributable, osslsigncode signs it with a throwaway self-signed
# certificate and verifies it, and the test program then finds the payload behind the signature,
# reads it with stagepack and runs it under Wine. Fails, never skips, without osslsigncode.
# Usage: signed-distributable-test.sh i686|x86_64 signing_wine_tests.exe
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
arch=$1
tests=$2

for tool in osslsigncode openssl; do
  if ! command -v "$tool" >/dev/null; then
    echo "FAILED: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 1
  fi
done
work=$(mktemp -d -t stagehost-signing.XXXXXX)
trap 'rm -rf "$work"' EXIT
export STAGEHOST_SIGNING_DIR=$work

fail() { echo "FAILED: $*"; exit 1; }

# Runs one test of the program; exactly that test must run and pass.
step() {
  local out status=0
  out=$("$here/wine-run.sh" "$arch" "$tests" --gtest_filter="$1" 2>&1) || status=$?
  printf '%s\n' "$out"
  if [ "$status" -ne 0 ] || ! grep -q '^\[  PASSED  \] 1 test\.' <<<"$out"; then fail "$1"; fi
}

# The message digest osslsigncode read from the signature and the one it computed over the file.
digests() {
  sed -n -e 's/^Current message digest *: *\([0-9A-Fa-f]*\).*/current \1/p' \
    -e 's/^Calculated message digest *: *\([0-9A-Fa-f]*\).*/calculated \1/p' <<<"$1"
}

step SignedDistributable.PackForSigning

echo "== signing with $(osslsigncode --version 2>&1 | head -n 1)"
openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=stagehost-signing-test -days 2 \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -n "stagehost signing test" \
  -in "$work/unsigned.exe" -out "$work/signed.exe"

# Trusting the throwaway certificate, the signature verifies: the digest over the whole file,
# payload included, matches the one signed.
verify=$(osslsigncode verify -CAfile "$work/cert.pem" -in "$work/signed.exe" 2>&1) || {
  printf '%s\n' "$verify"; fail "osslsigncode verify refuses the signed distributable"; }
found=$(digests "$verify")
current=$(sed -n 's/^current //p' <<<"$found")
calculated=$(sed -n 's/^calculated //p' <<<"$found")
printf '%s\n' "$found"
if [ -z "$current" ] || [ "$current" != "$calculated" ]; then fail "message digests differ or are missing"; fi

# The signature covers the payload: one changed byte of it no longer verifies.
cp "$work/signed.exe" "$work/tampered.exe"
payload_byte=$(( $(stat -c %s "$work/unsigned.exe") - 1000 ))
byte=$(od -An -tu1 -j "$payload_byte" -N1 "$work/signed.exe" | tr -d ' ')
# shellcheck disable=SC2059  # an octal escape built on purpose
printf "\\$(printf '%03o' $((255 - byte)))" | dd of="$work/tampered.exe" bs=1 seek="$payload_byte" conv=notrunc status=none
tampered=$(osslsigncode verify -CAfile "$work/cert.pem" -in "$work/tampered.exe" 2>&1) &&
  fail "osslsigncode verify accepts a distributable whose payload was changed after signing"
found=$(digests "$tampered")
[ "$(sed -n 's/^current //p' <<<"$found")" != "$(sed -n 's/^calculated //p' <<<"$found")" ] ||
  fail "a changed payload byte leaves the message digest as signed"
echo "a changed payload byte fails verification, as it should"

step SignedDistributable.FoundBehindTheSignatureReadAndRunWithNothingLeft
