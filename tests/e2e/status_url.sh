#!/bin/sh
# --url: the status file at any path over HTTPS, verified against the test's
# own CA; the later refreshes are answered 304 and stay good refreshes;
# compression was asked for. An untrusted certificate is a failed update
# that says so. Over plain HTTP a redirect chain of five steps is followed
# to the file's path, and a redirect from https to http is refused.
. "$(dirname "$0")/lib.sh"
# libcurl would send loopback requests through a proxy named here.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY

sh "$(dirname "$0")/../make-test-ca.sh" "$WORK" || fail "cannot make the test CA"
NET="--seed 7 --clients 300 --time 1796630400"
# shellcheck disable=SC2086
"$BIN/netsim" --once $NET > "$WORK/body.txt"
clients=$(sed -n 's/^CONNECTED CLIENTS = //p' "$WORK/body.txt")
# shellcheck disable=SC2086
start_netsim $NET --path /feeds/status.txt --tls-cert "$WORK/server.pem" --tls-key "$WORK/server.key" \
  --log "$WORK/tls.log"
TLS=$SIM_PORT
# shellcheck disable=SC2086
start_netsim $NET --path /feeds/status.txt --log "$WORK/plain.log"
PLAIN=$SIM_PORT

# run NAME ARGS...: netglobe in a folder of its own, $WORK/NAME; sets P, DIR.
run() {
  DIR=$WORK/$1; shift
  mkdir "$DIR"
  "$BIN/netglobe" --folder "$DIR" "$@" 2>"$DIR/err" &
  P=$!
  PIDS="$PIDS $P"
}
finish() { kill "$P"; wait "$P" 2>/dev/null || true; }
good_title() {
  netglobe_title | grep -Eq "^ CTR=[0-9]+ APP=[0-9]+ TWR=[0-9]+ PIL=[0-9]+ CLI=$clients TOP=$clients\$"
}
# The copy is the status file with CR LF line ends and one more line.
check_copy() {
  [ "$(wc -l < "$DIR/whazzup.txt")" -eq "$(( $(wc -l < "$WORK/body.txt") + 1 ))" ] || fail "$1: line count differs"
  [ "$(tr -d '\r' < "$DIR/whazzup.txt" | grep -c "^CONNECTED CLIENTS = $clients\$")" -eq 1 ] || fail "$1: header lost"
}

run https --url "https://127.0.0.1:$TLS/feeds/status.txt?network=demo" --cacert "$WORK/ca.pem" --refresh 1
wait_for 60 title_has " CTR=" || fail "https: no counts in the title: $(netglobe_title) $(cat "$DIR/err")"
# A refresh every second puts "Loading..." in the title for each download.
wait_for 10 good_title || fail "https: unexpected title: $(netglobe_title)"
check_copy https
before=$(sha256sum < "$DIR/whazzup.txt")
not_modified() { [ "$(grep -c ' notmodified ' "$WORK/tls.log")" -ge "$1" ]; }
wait_for 30 not_modified 2 || fail "no 304 answers: $(cat "$WORK/tls.log")"
# The refresh answered by the first 304 is over: the second request follows it.
# A 304 that failed the update would say so in every title from then on.
wait_for 10 good_title || fail "https: after a 304 the title is $(netglobe_title)"
[ "$(sha256sum < "$DIR/whazzup.txt")" = "$before" ] || fail "https: a 304 changed the copy"
awk '$2 == "ok" && $6 ~ /gzip/ { f = 1 } END { exit !f }' "$WORK/tls.log" || fail "gzip not asked for: $(cat "$WORK/tls.log")"
echo "https: $(netglobe_title); answers: $(awk '{ print $2 }' "$WORK/tls.log" | sort | uniq -c | tr '\n' ' ')"
finish

run untrusted --url "https://127.0.0.1:$TLS/feeds/status.txt"
wait_for 60 title_has "(update failed:" || fail "untrusted: no failure in the title: $(netglobe_title)"
title_has "(update failed: certificate not trusted)" || fail "untrusted: $(netglobe_title)"
[ ! -e "$DIR/whazzup.txt" ] || [ ! -s "$DIR/whazzup.txt" ] || fail "untrusted: a copy was stored"
echo "untrusted: $(netglobe_title)"
finish

run redirected --url "http://127.0.0.1:$PLAIN/redirect/5"
wait_for 60 title_has " CTR=" || fail "redirected: no counts in the title: $(netglobe_title)"
good_title || fail "redirected: unexpected title: $(netglobe_title)"
check_copy redirected
echo "redirected: $(netglobe_title)"
finish

run downgrade --url "https://127.0.0.1:$TLS/redirect/1?to=http://127.0.0.1:$PLAIN/feeds/status.txt" \
  --cacert "$WORK/ca.pem"
wait_for 60 title_has "(update failed:" || fail "downgrade: no failure in the title: $(netglobe_title)"
title_has "(update failed: redirect from https to http refused)" || fail "downgrade: $(netglobe_title)"
echo "downgrade: $(netglobe_title)"
finish
echo "ok"
