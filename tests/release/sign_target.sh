#!/usr/bin/env bash
# Runs `--target sign` in the second build that reproducible.sh made, with a throwaway
# self-signed certificate, and checks the signatures and the signed menu in the distribution and
# in the disc image.
# Usage: sign_target.sh WORK_FOLDER
# Ends with "sign: N passed, N failed".
set -uo pipefail
work=$1
cd "$work/src" || exit 1
build=build/windows
passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@" >"$work/check.log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "failed: $what"
    sed 's/^/  /' "$work/check.log"
  fi
}
verifies() {
  osslsigncode verify -CAfile "$work/cert.pem" -in "$1" | tee "$work/verify.log" &&
    grep -q "Signature verification: ok" "$work/verify.log"
}

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Launcher menu test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null &&
  openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/signer.p12" \
    -passout "pass:throwaway password" || exit 1

check "without a certificate named, the target refuses and says what to set" \
  bash -c "! env -u MENU_SIGN_PKCS12 cmake --build --preset windows --target sign >$work/refused.log 2>&1 &&
    grep -q 'set MENU_SIGN_PKCS12' $work/refused.log"
check "the target signs with the certificate the environment names" \
  env MENU_SIGN_PKCS12="$work/signer.p12" MENU_SIGN_PASSWORD="throwaway password" \
  cmake --build --preset windows --target sign
check "menu.exe verifies" verifies $build/startup/menu.exe
check "skincheck.exe verifies" verifies $build/tools/skincheck/skincheck.exe
check "the distribution folder holds the signed menu" cmp $build/startup/menu.exe $build/dist/menu.exe
check "the disc image holds the signed menu" bash -c "cmake --build --preset windows --target iso &&
  xorriso -osirrox on -indev $build/package/menu-*.iso -extract /menu.exe $work/image-menu.exe &&
  cmp $build/startup/menu.exe $work/image-menu.exe"
check "the password is nowhere in the build folder" bash -c "! grep -rqF 'throwaway password' $build"
echo "sign: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
