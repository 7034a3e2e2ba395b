#!/usr/bin/env bash
# Makes the signed modules that the verify tests read: a throwaway CA (self-made root and
# intermediate), code-signing leaves with chosen subject names, and copies of MODULE signed
# with them through tools/rundll-sign. Keys are made fresh on every run and stay in OUTDIR.
#   make_fixtures.sh OUTDIR MODULE PUBLISHERS_TXT
set -euo pipefail
out=$1 module=$(realpath "$2") publishers=$(realpath "$3")
sign=$(cd "$(dirname "$0")/../../tools" && pwd)/rundll-sign
ext=.${module##*.}

rm -rf "$out"
mkdir -p "$out/ca"
cd "$out/ca"

# Allow-listed names: the first row (Chinese script) and the first row in Latin script.
mapfile -t rows < <(grep -v '^#' "$publishers" | grep -v '^[[:space:]]*$')
allowed=${rows[0]}
latin=
for row in "${rows[@]}"; do
  if LC_ALL=C grep -q '^[ -~]*$' <<<"$row"; then latin=$row; break; fi
done
[ -n "$latin" ] || { echo "make_fixtures: no Latin row in $publishers" >&2; exit 1; }

cat >openssl.cnf <<'CNF'
openssl_conf = init
[init]
# Subject names beyond the usual 64 characters, for the name-length cases.
stbl = string_table
[string_table]
commonName = max:1024
[req]
distinguished_name = dn
[dn]
[ca_ext]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
[signing_ext]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = codeSigning
[server_ext]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = serverAuth
[ca]
default_ca = past
[past]
database = index.txt
new_certs_dir = .
serial = serial
default_md = sha256
policy = any
unique_subject = no
email_in_dn = no
[any]
commonName = optional
CNF
touch index.txt
echo 1000 >serial
cnf=(-config openssl.cnf)
serial=100

key() { openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1.key" 2>/dev/null; }
request() { key "$1"; openssl req "${cnf[@]}" -utf8 -new -key "$1.key" -subj "$2" -out "$1.csr"; }
# issue ID ISSUER EXTENSIONS
issue() {
  serial=$((serial + 1))
  openssl x509 -req -in "$1.csr" -CA "$2.pem" -CAkey "$2.key" -set_serial "$serial" -days 60 \
    -extfile openssl.cnf -extensions "$3" -out "$1.pem" 2>/dev/null
}

key root
openssl req "${cnf[@]}" -x509 -new -key root.key -subj "/CN=Rundll Fixture Root" -days 60 \
  -extensions ca_ext -out root.pem
request inter "/CN=Rundll Fixture Intermediate"
issue inter root ca_ext
cat inter.pem root.pem >chain.pem

leaf() { request "$1" "$2"; issue "$1" inter "${3:-signing_ext}"; }
leaf allowed "/CN=$allowed"
leaf other "/CN=Fenwick Tarn Fixture Bureau Ltd."
leaf case "/CN=$(printf '%s' "$latin" | tr 'A-Za-z' 'a-zA-Z')"
leaf space "/CN=$latin "
leaf empty "/"
leaf n510 "/CN=$(printf 'N%.0s' $(seq 510))"
leaf n511 "/CN=$(printf 'N%.0s' $(seq 511))"
leaf noeku "/CN=$allowed" server_ext
# Valid only in the past.
request expired "/CN=$allowed"
openssl ca "${cnf[@]}" -batch -notext -preserveDN -in expired.csr -cert inter.pem \
  -keyfile inter.key -startdate 20200101000000Z -enddate 20210101000000Z \
  -extfile openssl.cnf -extensions signing_ext -out expired.pem 2>/dev/null

cd "$out"
with() { "$sign" --cert "ca/$1.pem" --key "ca/$1.key" --chain "ca/${2:-chain}.pem" "$module" "$3$ext"; }
cp "$module" "unsigned$ext"
for id in allowed other case space empty n510 n511 noeku expired; do with "$id" chain "$id"; done
# The chain without its intermediate.
with allowed root nochain
# Two signers; the first is the primary one.
"$sign" --cert ca/allowed.pem --key ca/allowed.key --cert ca/other.pem --key ca/other.key \
  --chain ca/chain.pem "$module" "twoallowedfirst$ext"
"$sign" --cert ca/other.pem --key ca/other.key --cert ca/allowed.pem --key ca/allowed.key \
  --chain ca/chain.pem "$module" "twootherfirst$ext"

# flip FILE OFFSET: changes one byte in place.
flip() {
  local byte
  byte=$(od -An -tu1 -j"$2" -N1 "$1" | tr -d ' ')
  printf "\\$(printf %03o $(((byte + 1) & 255)))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
module_size=$(stat -c %s "$module")
signed_size=$(stat -c %s "allowed$ext")
cp "allowed$ext" "tampered$ext"
flip "tampered$ext" $((module_size / 2))
# A byte inside the signature itself, and the signature's end cut off.
cp "allowed$ext" "damaged$ext"
flip "damaged$ext" $((module_size + 3))
head -c $((signed_size - 100)) "allowed$ext" >"truncated$ext"
echo "fixtures in $out"
