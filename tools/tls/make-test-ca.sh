#!/bin/bash
# Makes a throw-away certificate authority and a server certificate signed by
# it, for loopback TLS servers in tests and in the sample service.
#   make-test-ca.sh DIR [NAME [SUBJECT-ALT-NAME...]]
# DIR/ca.pem, DIR/ca.der and DIR/ca.key: the authority, made once per DIR and
# kept. DIR/NAME.pem and DIR/NAME.key (NAME "server" unless given): a server
# certificate for the given names, "IP:127.0.0.1 DNS:127.0.0.1 DNS:localhost"
# unless given.
# Trust the authority in a Wine prefix with trust_ca.exe DIR/ca.der (or .pem).
set -eu
dir=${1:?usage: make-test-ca.sh DIR [NAME [SUBJECT-ALT-NAME...]]}
name=${2:-server}
shift $(( $# < 2 ? $# : 2 ))
names=("$@")
# Wine matches host names only against DNS entries, so 127.0.0.1 is one too.
[ ${#names[@]} -gt 0 ] || names=(IP:127.0.0.1 DNS:127.0.0.1 DNS:localhost)
san=$(IFS=,; echo "${names[*]}")
openssl=$(command -v openssl) || { echo "make-test-ca.sh: openssl is not installed" >&2; exit 1; }

mkdir -p "$dir"
cd "$dir"
if [ ! -s ca.pem ] || [ ! -s ca.key ]; then
    "$openssl" req -x509 -newkey rsa:2048 -nodes -sha256 -days 825 \
        -keyout ca.key -out ca.pem -subj "/CN=Cumulon Test CA $(date +%s%N)" \
        -addext "basicConstraints=critical,CA:TRUE" \
        -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
    "$openssl" x509 -in ca.pem -outform der -out ca.der
fi

"$openssl" req -newkey rsa:2048 -nodes -sha256 -keyout "$name.key" -out "$name.csr" \
    -subj "/CN=${names[0]#*:}" 2>/dev/null
printf '%s\n' "subjectAltName=$san" "basicConstraints=critical,CA:FALSE" \
    "keyUsage=critical,digitalSignature,keyEncipherment" "extendedKeyUsage=serverAuth" >"$name.ext"
"$openssl" x509 -req -sha256 -in "$name.csr" -CA ca.pem -CAkey ca.key \
    -set_serial "0x$("$openssl" rand -hex 8)" -days 825 -extfile "$name.ext" -out "$name.pem" 2>"$name.log" ||
    { cat "$name.log" >&2; exit 1; }
rm -f "$name.csr" "$name.ext" "$name.log"
