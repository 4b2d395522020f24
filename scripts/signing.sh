# Shared by the scripts that test signing. Source it, then:
#   signing_throwaway_certificate FOLDER   makes a self-signed code-signing certificate in FOLDER
#                                          (once; it never leaves the build folder) and exports
#                                          PAGEWARDEN_SIGN_PFX and PAGEWARDEN_SIGN_PASSWORD for it
#   signing_verify FOLDER FILE...          verifies each file's signature against that
#                                          certificate, which chains to no trusted root
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
