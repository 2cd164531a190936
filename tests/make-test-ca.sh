#!/bin/sh
# Makes a throwaway CA and a certificate for 127.0.0.1 signed by it, in DIR:
# ca.pem (the CA to trust), server.pem and server.key (for the server), and
# other.pem (a second CA that signed nothing). Nothing of it is kept: every
# test run makes its own. Usage: make-test-ca.sh DIR
set -eu
dir=$1
cd "$dir"
key() { openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$1" 2>/dev/null; }
key ca.key
openssl req -x509 -new -key ca.key -subj "/CN=NetGlobe test CA" -days 2 -out ca.pem \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign"
key other.key
openssl req -x509 -new -key other.key -subj "/CN=NetGlobe other CA" -days 2 -out other.pem
key server.key
openssl req -new -key server.key -subj "/CN=127.0.0.1" -out server.csr
printf 'subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' > server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
  -extfile server.ext -out server.pem 2>/dev/null
rm -f ca.key other.key server.csr server.ext ca.srl
