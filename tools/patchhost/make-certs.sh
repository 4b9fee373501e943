#!/bin/sh
# Generates the TLS material of the local patch host into <outdir>:
#   ca.pem / ca.key                    test CA (installed beside the programs as cacert.pem)
#   server.pem / server.key            "localhost" and 127.0.0.1, signed by the test CA
#   rogue-ca.pem / rogue-ca.key        an unrelated CA
#   rogue-server.pem / rogue-server.key the same names, signed by the unrelated CA
#   other-host.pem / other-host.key    "other.test" only, signed by the test CA
# EC P-256 keys, ten years of validity. Quiet unless something fails.
set -eu

if [ $# -ne 1 ]; then
    echo "usage: $0 <outdir>" >&2
    exit 2
fi
out=$1
mkdir -p "$out"

# Everything is given on the command line: the system's OpenSSL configuration,
# customised or missing, plays no part.
export OPENSSL_CONF=/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/vexo-certs.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
log="$work/openssl.log"

# Runs a command with its output kept aside; shows it only on failure.
run() {
    if ! "$@" >"$log" 2>&1; then
        echo "make-certs: failed: $*" >&2
        cat "$log" >&2
        exit 1
    fi
}

days=3650

# make_ca <name> <common name>
make_ca() {
    run openssl req -x509 -new -nodes \
        -newkey ec -pkeyopt ec_paramgen_curve:P-256 \
        -keyout "$work/$1.key" -out "$work/$1.pem" -days "$days" -sha256 \
        -subj "/O=Vexo Test/CN=$2" \
        -addext "basicConstraints=critical,CA:TRUE" \
        -addext "keyUsage=critical,keyCertSign,cRLSign" \
        -addext "subjectKeyIdentifier=hash"
}

# make_server <name> <ca name> [<common name> <subject alt names>]
make_server() {
    cn=${3:-localhost}
    san=${4:-DNS:localhost,IP:127.0.0.1}
    run openssl req -new -nodes \
        -newkey ec -pkeyopt ec_paramgen_curve:P-256 \
        -keyout "$work/$1.key" -out "$work/$1.csr" \
        -subj "/O=Vexo Test/CN=$cn"
    cat >"$work/$1.ext" <<EOF
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature
extendedKeyUsage=serverAuth
subjectAltName=$san
subjectKeyIdentifier=hash
authorityKeyIdentifier=keyid
EOF
    run openssl x509 -req -in "$work/$1.csr" \
        -CA "$work/$2.pem" -CAkey "$work/$2.key" \
        -set_serial "0x$(openssl rand -hex 8)" \
        -days "$days" -sha256 -extfile "$work/$1.ext" -out "$work/$1.pem"
}

make_ca ca "Vexo Test CA"
make_server server ca
make_ca rogue-ca "Vexo Rogue CA"
make_server rogue-server rogue-ca
make_server other-host ca other.test DNS:other.test

for name in ca server rogue-ca rogue-server other-host; do
    chmod 600 "$work/$name.key"
    mv -f "$work/$name.key" "$out/$name.key"
    mv -f "$work/$name.pem" "$out/$name.pem"
done
