#!/bin/sh
# Regenerates the test certificates used by server-regione and the client tests.
# Run from any folder: the files are written next to this script.
#   ca.pem / ca.key             test CA "QUIRDAL Test CA" (20 years)
#   ca.der                      the same CA certificate in DER form (installed as CA_ROOT.DER)
#   server.pem / server.key     CN=127.0.0.1, SAN IP:127.0.0.1 + DNS:localhost, signed by ca
#   altra-ca.pem / altra-ca.key a second CA, never trusted by the tests
#   non-fidato.pem / .key       a certificate for 127.0.0.1 signed by altra-ca, so that
#                               verification against ca.pem fails
# RSA 2048, SHA-256, keys unencrypted.
set -eu
cd "$(dirname "$0")"
GIORNI=7300
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

cat > "$TMP/server.ext" <<'X'
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = IP:127.0.0.1, DNS:localhost
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
X

# A self-signed CA: name, key and certificate file stem.
crea_ca() {
    openssl req -x509 -new -newkey rsa:2048 -nodes -sha256 -days $GIORNI \
        -subj "/O=QUIRDAL/CN=$1" -keyout "$2.key" -out "$2.pem" \
        -addext "basicConstraints=critical,CA:TRUE" \
        -addext "keyUsage=critical,keyCertSign,cRLSign" \
        -addext "subjectKeyIdentifier=hash" 2>/dev/null
}

# A server certificate for 127.0.0.1 signed by a CA: stem, CA stem.
crea_server() {
    openssl req -new -newkey rsa:2048 -nodes -sha256 -subj "/O=QUIRDAL/CN=127.0.0.1" \
        -keyout "$1.key" -out "$TMP/$1.csr" 2>/dev/null
    openssl x509 -req -in "$TMP/$1.csr" -CA "$2.pem" -CAkey "$2.key" -CAcreateserial \
        -CAserial "$TMP/$2.srl" -sha256 -days $GIORNI -extfile "$TMP/server.ext" \
        -out "$1.pem" 2>/dev/null
}

crea_ca "QUIRDAL Test CA" ca
openssl x509 -in ca.pem -outform DER -out ca.der
crea_server server ca

crea_ca "QUIRDAL Altra CA" altra-ca
crea_server non-fidato altra-ca

openssl verify -CAfile ca.pem server.pem
