#!/bin/sh
# The Debian package, unpacked into a read-only root, runs like an installed
# copy: the demo network from beside it, its data from the installed share
# folder, everything it writes in the per-user folder and nothing under the
# root; its menu entry is valid, it carries its copyright and changelog, and
# lintian (when installed) finds no error in it.
. "$(dirname "$0")/lib.sh"
BUILD=${NETGLOBE_BUILD:?NETGLOBE_BUILD must name the build folder}
trap 'chmod -R u+w "$WORK" 2>/dev/null; cleanup' EXIT

# cpack stages and writes the package in a folder of this test's own.
cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/pkg" >"$WORK/cpack.log" 2>&1 ||
  fail "cpack: $(tail -5 "$WORK/cpack.log")"
deb=$(ls "$WORK"/pkg/netglobe_*_amd64.deb) || fail "no package: $(ls "$WORK/pkg")"
echo "package: $(basename "$deb"), $(wc -c < "$deb") bytes"
echo "$(dpkg-deb -f "$deb" Depends)"
ROOT=$WORK/root
dpkg -x "$deb" "$ROOT"
desktop-file-validate "$ROOT/usr/share/applications/netglobe.desktop" || fail "desktop entry not valid"
[ -s "$ROOT/usr/share/icons/hicolor/256x256/apps/netglobe.png" ] || fail "no icon"
zcat "$ROOT/usr/share/man/man1/netglobe.1.gz" | grep -q '^\.SH KEYS' || fail "no manual page"
[ -s "$ROOT/usr/share/doc/netglobe/SOURCES.md" ] || fail "no data licences"
grep -q '^License: GPL-3.0-or-later$' "$ROOT/usr/share/doc/netglobe/copyright" || fail "no copyright file"
zcat "$ROOT/usr/share/doc/netglobe/changelog.gz" | head -1 |
  grep -qF "netglobe ($(dpkg-deb -f "$deb" Version))" || fail "no changelog of this version"
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error --tag-display-limit 0 "$deb" >"$WORK/lintian.log" 2>&1 ||
    fail "lintian: $(grep -v '^[WIPN]:' "$WORK/lintian.log")"
  echo "lintian: no error, $(grep -c '^W:' "$WORK/lintian.log") warnings"
fi

chmod -R a-w "$ROOT"
# Root may write to read-only files, so the root's state is compared.
state() { find "$ROOT" -printf '%p %s %T@ %m\n' | sort; }
state > "$WORK/before"

mkdir "$WORK/home"
export HOME="$WORK/home"
unset NETGLOBE_SERVER

# --help names the per-user folder and creates nothing.
XDG_DATA_HOME="" "$ROOT/usr/bin/netglobe" --help > "$WORK/help"
grep -qF "program folder $HOME/.local/share/netglobe (the per-user data folder)" "$WORK/help" ||
  fail "--help does not name the folder: $(tail -1 "$WORK/help")"
[ ! -e "$HOME/.local" ] || fail "--help created a folder"

export XDG_DATA_HOME="$WORK/data"
USERDIR=$XDG_DATA_HOME/netglobe
"$ROOT/usr/bin/netglobe" 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 90 title_has " CTR=" || fail "no counts in the title: $(netglobe_title) $(cat "$WORK/err")"
title_has "(update failed" && fail "demo network not used: $(netglobe_title)"
SIM=$(pgrep -P "$P" -x netsim) || fail "no netsim child"
[ "$(readlink "/proc/$SIM/exe")" = "$ROOT/usr/bin/netsim" ] || fail "netsim not the one beside netglobe"
grep -qF "netglobe: program folder $USERDIR (the per-user data folder); reference data from $ROOT/usr/share/netglobe" \
  "$WORK/err" || fail "folder line missing: $(cat "$WORK/err")"
# Any other message naming the root is a reference file that was not read.
if grep -v "program folder" "$WORK/err" | grep -qF "$ROOT"; then fail "$(cat "$WORK/err")"; fi
[ -s "$USERDIR/whazzup.txt" ] || fail "no whazzup.txt in $USERDIR"
echo "title: $(netglobe_title)"

kill -TERM "$P"
wait "$P" 2>/dev/null || fail "netglobe did not end normally: $(tail -5 "$WORK/err")"
[ -s "$USERDIR/topconn.txt" ] || fail "no topconn.txt in $USERDIR"
state > "$WORK/after"
cmp -s "$WORK/before" "$WORK/after" || fail "written under the root: $(diff "$WORK/before" "$WORK/after")"
echo "ok"
