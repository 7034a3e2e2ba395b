#!/usr/bin/env bash
# HasMsSign on signed 1 MiB and 20 MiB shared objects against `openssl cms -verify` doing the
# same work (digest, signature, chain to the carried root) on the same files. Medians over
# RUNS runs; openssl's process start, measured as `openssl version`, is taken off its time.
# Prints the ratio ours/openssl (lower is better).
#   RUNS  runs per measurement (default 15)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${RUNS:-15}
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target signature_bench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

name=$(grep -v '^#' "$root/profile/default/publishers.txt" | grep -v '^[[:space:]]*$' | head -n 1)
printf '[e]\nbasicConstraints=critical,CA:TRUE\nkeyUsage=critical,keyCertSign\n[s]\nbasicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n[req]\ndistinguished_name=dn\n[dn]\n' >x.cnf
openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out root.key 2>/dev/null
openssl req -config x.cnf -x509 -new -key root.key -subj "/CN=Bench Root" -days 2 \
  -extensions e -out root.pem
openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out leaf.key 2>/dev/null
openssl req -config x.cnf -utf8 -new -key leaf.key -subj "/CN=$name" -out leaf.csr
openssl x509 -req -in leaf.csr -CA root.pem -CAkey root.key -set_serial 7 -days 2 \
  -extfile x.cnf -extensions s -out leaf.pem 2>/dev/null

median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
# time_runs COMMAND...: median wall seconds of one run.
time_runs() {
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo "scale=6; ($end - $start) / 1000000000" | bc
  done | median
}

startup=$(time_runs openssl version)
for mib in 1 20; do
  # A real shared object of about that size: code and a large initialised table.
  printf 'const unsigned char table[%d] = {1};\nint f(void) { return table[0]; }\n' \
    $((mib * 1024 * 1024 - 16384)) >m$mib.c
  gcc -shared -fPIC -O2 -o m$mib.so m$mib.c
  "$root/tools/rundll-sign" --cert leaf.pem --key leaf.key --chain root.pem m$mib.so s$mib.so
  # The same signature and signed bytes as separate files for openssl.
  size=$(stat -c %s m$mib.so)
  total=$(stat -c %s s$mib.so)
  tail -c +$((size + 1)) s$mib.so | head -c $((total - size - 40)) >s$mib.der
  openssl cms -verify -binary -inform DER -in s$mib.der -content m$mib.so -CAfile root.pem \
    -purpose any -out /dev/null 2>/dev/null || { echo "openssl refused s$mib.so"; exit 1; }
  read -r _ result ours < <("$root/build/native/signature_bench" "$runs" "$work/s$mib.so")
  [ "$result" = 1 ] || { echo "HasMsSign refused s$mib.so"; exit 1; }
  theirs=$(time_runs openssl cms -verify -binary -inform DER -in s$mib.der -content m$mib.so \
    -CAfile root.pem -purpose any -out /dev/null)
  net=$(echo "scale=6; $theirs - $startup" | bc)
  printf '%2d MiB: HasMsSign %.4f s, openssl cms -verify %.4f s (%.4f s less start %.4f s), ratio %.2f\n' \
    "$mib" "$ours" "$net" "$theirs" "$startup" "$(echo "scale=4; $ours / $net" | bc)"
done
