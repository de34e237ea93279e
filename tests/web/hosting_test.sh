#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The nginx recipe of docs/hosting.md as a host follows it: the site file in the doc's marked
# block goes beside Debian's own nginx configuration (its default site still enabled), copied
# into a prefix of its own. Only the root, the ports (127.0.0.1 only) and the certificate paths
# (a fresh self-signed pair) are changed. nginx -t accepts it; the page's title comes over https
# for the site's name; http sends the rest to https but answers a certificate authority's
# challenge file; a hidden file and a link out of the folder are refused.
# Usage: hosting_test.sh <source folder> <built page folder (build/web)>. No root needed.
set -euo pipefail

SOURCE=$(readlink -f "$1")
PAGE=$(readlink -f "$2")
SCRATCH=$(mktemp -d)
NGINX_PID=""
FAILURES=0

cleanup() {
    if [ -n "$NGINX_PID" ]; then kill "$NGINX_PID" 2>/dev/null || true; wait "$NGINX_PID" 2>/dev/null || true; fi
    rm -rf "$SCRATCH"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    FAILURES=$((FAILURES + 1))
}

[ -f "$PAGE/index.html" ] || { echo "FAIL: no built page at $PAGE (tools/web/build.sh makes it)" >&2; exit 1; }

# ---- the site file, as the doc gives it ---------------------------------------------------------
SITE="$SCRATCH/site.conf"
sed -n '/<!-- nginx site file: begin -->/,/<!-- nginx site file: end -->/p' "$SOURCE/docs/hosting.md" |
    sed '1d;$d' | sed '/^```/d' >"$SITE"
[ -s "$SITE" ] || { echo "FAIL: docs/hosting.md has no marked site file" >&2; exit 1; }
# Its name, its root and its certificate paths, as the doc gives them.
name=$(sed -n 's/^ *server_name \([^ ;]*\);.*/\1/p' "$SITE" | head -n1)
root=$(sed -n 's/^ *root \([^ ;]*\);.*/\1/p' "$SITE" | head -n1)
cert=$(sed -n 's/^ *ssl_certificate \([^ ;]*\);.*/\1/p' "$SITE")
key=$(sed -n 's/^ *ssl_certificate_key \([^ ;]*\);.*/\1/p' "$SITE")
[ -n "$name" ] && [ -n "$root" ] && [ -n "$cert" ] && [ -n "$key" ] ||
    { echo "FAIL: the site file lacks a server_name, a root or a certificate: $(cat "$SITE")" >&2; exit 1; }

free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
HTTP=$(free_port)
HTTPS=$(free_port)
while [ "$HTTPS" = "$HTTP" ]; do HTTPS=$(free_port); done

# ---- Debian's configuration in a prefix --------------------------------------------------------
PREFIX="$SCRATCH/nginx"
ETC="$PREFIX/etc/nginx"
mkdir -p "$PREFIX/etc" "$PREFIX/log" "$PREFIX/temp"
cp -rL /etc/nginx "$PREFIX/etc/"
[ -e "$ETC/sites-enabled/default" ] || { echo "FAIL: Debian's default site is not enabled in /etc/nginx" >&2; exit 1; }
# Modules load from the prefix's modules/, as from /usr/share/nginx/modules.
ln -s /usr/lib/nginx/modules "$PREFIX/modules"
# Every listening socket on 127.0.0.1 at the test's ports; IPv6 left out.
relocate() {
    sed -i -E -e "s#/etc/nginx/#$ETC/#g" -e "s#/var/log/nginx/#$PREFIX/log/#g" -e "s#/run/nginx.pid#$PREFIX/nginx.pid#" \
        -e '/^\s*listen\s+\[::\]/d' -e "s#^(\s*listen\s+)80\b#\1127.0.0.1:$HTTP#" \
        -e "s#^(\s*listen\s+)443\b#\1127.0.0.1:$HTTPS#" "$@"
}
relocate "$ETC/nginx.conf" "$ETC/sites-enabled/default" "$ETC"/modules-enabled/*.conf
# Temporary files in the prefix, so that no root is needed.
for kind in client_body proxy fastcgi uwsgi scgi; do
    echo "${kind}_temp_path $PREFIX/temp/$kind;"
done >"$ETC/conf.d/prefix-temp.conf"

# ---- the host's steps: the page copied, the rules, the site enabled, a certificate ---------------
WEBROOT="$SCRATCH/srv/pelmoravan"
mkdir -p "$WEBROOT"
cp -r "$PAGE/." "$WEBROOT/"
cp "$SOURCE/tools/web/nginx.conf" "$ETC/snippets/pelmoravan.conf"
sed -e "s#$root#$WEBROOT#g" -e "s#$cert#$PREFIX/cert.pem#" -e "s#$key#$PREFIX/key.pem#" "$SITE" \
    >"$ETC/sites-available/pelmoravan"
relocate "$ETC/sites-available/pelmoravan"
ln -s "$ETC/sites-available/pelmoravan" "$ETC/sites-enabled/pelmoravan"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$name" -addext "subjectAltName=DNS:$name" \
    -keyout "$PREFIX/key.pem" -out "$PREFIX/cert.pem" >/dev/null 2>&1 || { echo "FAIL: openssl" >&2; exit 1; }
# Debian's workers run as www-data: the folders on the way must be readable to them.
chmod -R a+rX "$SCRATCH"

# What must be refused and what must be served.
echo secret >"$WEBROOT/.hidden"
echo outside >"$SCRATCH/outside.txt"
chmod a+r "$SCRATCH/outside.txt"
ln -s "$SCRATCH/outside.txt" "$WEBROOT/out.txt"
mkdir -p "$WEBROOT/.well-known/acme-challenge"
echo token-answer >"$WEBROOT/.well-known/acme-challenge/token123"
chmod -R a+rX "$WEBROOT"

NGINX=(/usr/sbin/nginx -p "$PREFIX/" -e "$PREFIX/log/error.log" -c "$ETC/nginx.conf")
if ! "${NGINX[@]}" -t >"$SCRATCH/t.txt" 2>&1; then
    echo "FAIL: nginx -t: $(cat "$SCRATCH/t.txt")" >&2
    exit 1
fi
"${NGINX[@]}" -g 'daemon off;' >"$SCRATCH/nginx.out" 2>&1 &
NGINX_PID=$!
for _ in $(seq 100); do
    curl -s -o /dev/null "http://127.0.0.1:$HTTPS/" 2>/dev/null && break
    kill -0 "$NGINX_PID" 2>/dev/null || { echo "FAIL: nginx ended: $(cat "$SCRATCH/nginx.out" "$PREFIX/log/error.log" 2>/dev/null)" >&2; exit 1; }
    sleep 0.1
done

# get SCHEME PORT PATH: "status body" of a request for the site's name.
get() {
    curl -s -k --max-time 10 --resolve "$name:$2:127.0.0.1" -o "$SCRATCH/body" -w '%{http_code} %{redirect_url}' \
        "$1://$name:$2$3" || echo "000"
}

# ---- what a player and a certificate authority get ---------------------------------------------
read -r status _ <<<"$(get https "$HTTPS" /)"
[ "$status" = 200 ] && grep -q '<title>Pelmoravan</title>' "$SCRATCH/body" ||
    fail "https://$name/ gives $status: $(head -c 200 "$SCRATCH/body")"
read -r status location <<<"$(get http "$HTTP" /index.html)"
[ "$status" = 301 ] && [ "$location" = "https://$name/index.html" ] ||
    fail "http://$name/index.html gives $status $location, not a redirect to https"
read -r status _ <<<"$(get http "$HTTP" /.well-known/acme-challenge/token123)"
[ "$status" = 200 ] && [ "$(cat "$SCRATCH/body")" = token-answer ] ||
    fail "the challenge file over http gives $status: $(head -c 200 "$SCRATCH/body")"
read -r status _ <<<"$(get https "$HTTPS" /.well-known/acme-challenge/token123)"
[ "$status" = 200 ] || fail "the challenge file over https gives $status"
for path in /.hidden /out.txt; do
    read -r status _ <<<"$(get https "$HTTPS" "$path")"
    [[ "$status" == 4?? ]] && ! grep -q 'secret\|outside' "$SCRATCH/body" || fail "https://$name$path gives $status"
done
# The default site still answers for other names: the site took nothing from it.
curl -s --max-time 10 -o "$SCRATCH/body" "http://127.0.0.1:$HTTP/" || true
! grep -q '<title>Pelmoravan</title>' "$SCRATCH/body" || fail "the site answers for a bare address too"

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed" >&2
    exit 1
fi
echo "the doc's site file on Debian's nginx: the page over https, the challenge over http, hidden and outside files refused"
