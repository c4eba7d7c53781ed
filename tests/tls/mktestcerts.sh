#!/usr/bin/env bash
# Writes the certificates the HTTPS tests use into tests/tls/: a test CA, a server certificate
# it signs for 127.0.0.1 and localhost, one it signs for another name, and a self-signed one
# that nobody trusts. Made only for the tests on 127.0.0.1; the tests trust the CA inside their
# own process, never on the machine. Run again to renew them (they last until 2045).
set -euo pipefail
out=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
days=$(( ( $(date -d 2045-01-01 +%s) - $(date +%s) ) / 86400 ))
subject() { echo "/O=Kursove tests, not for use/CN=$1"; }

openssl req -x509 -newkey rsa:2048 -nodes -days "$days" -subj "$(subject 'Kursove test CA')" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
    -keyout "$work/ca.key" -out "$out/ca.crt" 2>/dev/null
server() { # name, subjectAltName
    openssl req -newkey rsa:2048 -nodes -subj "$(subject "$1")" -keyout "$out/$1.key" \
        -out "$work/$1.csr" 2>/dev/null
    printf 'subjectAltName=%s\nbasicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\n' \
        "$2" >"$work/$1.ext"
    openssl x509 -req -in "$work/$1.csr" -CA "$out/ca.crt" -CAkey "$work/ca.key" -CAcreateserial \
        -CAserial "$work/ca.srl" \
        -days "$days" -extfile "$work/$1.ext" -out "$out/$1.crt" 2>/dev/null
}
server localhost "IP:127.0.0.1,DNS:localhost"
server otherhost "DNS:other.invalid"
openssl req -x509 -newkey rsa:2048 -nodes -days "$days" -subj "$(subject untrusted)" \
    -addext subjectAltName=IP:127.0.0.1,DNS:localhost -keyout "$out/untrusted.key" \
    -out "$out/untrusted.crt" 2>/dev/null
# Keys in the PKCS#1 form, which every TLS backend of Qt reads (Schannel's among them).
for key in localhost otherhost untrusted; do
    openssl pkey -in "$out/$key.key" -traditional -out "$work/$key.key"
    mv "$work/$key.key" "$out/$key.key"
done
# The CA's key is not kept: nothing more can be signed with it.
ls "$out"
