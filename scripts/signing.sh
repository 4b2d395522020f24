# Shared by the scripts that test signing. Source it, then:
#   signing_throwaway_certificate FOLDER   makes a self-signed code-signing certificate in FOLDER
#                                          (once; it never leaves the build folder) and exports
#                                          PAGEWARDEN_SIGN_PFX and PAGEWARDEN_SIGN_PASSWORD for it
#   signing_verify FOLDER FILE...          verifies each file's signature against that
#                                          certificate, which chains to no trusted root
#   signing_timestamp_check FOLDER FILE    signs a copy of FILE as the build does with a time
#                                          stamp from a local RFC 3161 server, and verifies both
signing_throwaway_certificate() {
  local folder=$1
  if [ ! -f "$folder/signing.pfx" ]; then
    mkdir -p "$folder"
    chmod 700 "$folder"
    openssl rand -hex 16 >"$folder/password"
    openssl req -x509 -newkey rsa:2048 -sha256 -days 3650 -nodes -subj "/CN=Pagewarden test signing" \
      -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
      -keyout "$folder/key.pem" -out "$folder/certificate.pem" 2>/dev/null
    openssl pkcs12 -export -inkey "$folder/key.pem" -in "$folder/certificate.pem" \
      -passout "file:$folder/password" -out "$folder/signing.pfx"
    rm "$folder/key.pem"
  fi
  export PAGEWARDEN_SIGN_PFX=$PWD/$folder/signing.pfx
  PAGEWARDEN_SIGN_PASSWORD=$(cat "$folder/password")
  export PAGEWARDEN_SIGN_PASSWORD
  # A maker's time-stamp address is not used for a throwaway signature.
  unset PAGEWARDEN_SIGN_TIMESTAMP
}

signing_verify() {
  local folder=$1 file output
  shift
  for file in "$@"; do
    if ! output=$(osslsigncode verify -CAfile "$folder/certificate.pem" -in "$file" 2>&1); then
      echo "$output" >&2
      echo "FAIL signature of $file" >&2
      return 1
    fi
    echo "PASS signature of $file"
  done
}

# A time-stamp authority of its own for the test: certificate, key and openssl's settings.
_signing_tsa() {
  local folder=$1
  [ -f "$folder/tsa.cnf" ] && return 0
  openssl req -x509 -newkey rsa:2048 -sha256 -days 3650 -nodes -subj "/CN=Pagewarden test time stamps" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=critical,timeStamping" \
    -keyout "$folder/tsa-key.pem" -out "$folder/tsa.pem" 2>/dev/null
  echo 01 >"$folder/tsa-serial"
  cat >"$folder/tsa.cnf" <<END
[ tsa ]
default_tsa = test_tsa
[ test_tsa ]
serial = $PWD/$folder/tsa-serial
signer_cert = $PWD/$folder/tsa.pem
signer_key = $PWD/$folder/tsa-key.pem
signer_digest = sha256
default_policy = 1.3.6.1.4.1.4146.2.3
digests = sha256, sha384, sha512
ess_cert_id_alg = sha256
END
}

signing_timestamp_check() {
  local folder=$1 file=$2 copy port output status=0
  _signing_tsa "$folder"
  copy="$folder/time-stamped-$(basename "$file")"
  rm -f "$copy"
  osslsigncode remove-signature -in "$file" -out "$copy" >/dev/null 2>&1 || cp "$file" "$copy"
  coproc server { exec python3 scripts/timestamp-server "$folder/tsa.cnf"; }
  read -r port <&"${server[0]}"
  PAGEWARDEN_SIGN_TIMESTAMP=http://127.0.0.1:$port \
    cmake -DFILE="$copy" -DDESCRIPTION=Pagewarden -DWEBSITE=https://example.invalid/ \
          -P cmake/sign.cmake || status=1
  kill "$server_PID"
  wait "$server_PID" 2>/dev/null || true
  [ $status -eq 0 ] || return 1
  if ! output=$(osslsigncode verify -CAfile "$folder/certificate.pem" -TSA-CAfile "$folder/tsa.pem" \
                  -in "$copy" 2>&1) || ! grep -q "Timestamp Server Signature verification: ok" <<<"$output"; then
    echo "$output" >&2
    echo "FAIL time-stamped signature of $copy" >&2
    return 1
  fi
  echo "PASS time-stamped signature of $copy"
  rm "$copy"
}
