#!/bin/sh
# Regenerates every file in data/ from the pinned packages.
#
#   tools/make-data.sh               install the pinned packages (npm ci) and
#                                    rewrite the files in data/
#   tools/make-data.sh --check       the same into a temporary folder, then
#                                    compare byte for byte with data/; exits 1
#                                    on any difference
#   --no-install                     use tools/node_modules as it is (no
#                                    registry access); with --check, exits 77
#                                    when it or the globe image is missing
#
# Needs node (20 or later), npm, Debian's xplanet-images package and the
# built netglobe-import-firs, which writes fir1.dat and firs.dat from the FIR
# areas that make-firs.mjs makes: $NETGLOBE_IMPORT_FIRS, else
# build/bin/netglobe-import-firs.
set -eu

tools=$(cd "$(dirname "$0")" && pwd)
data="$tools/../data"
globe=/usr/share/xplanet/images/earth.jpg
files="velmar.jpg coastline.dat airports.dat fir1.dat firs.dat"
importer=${NETGLOBE_IMPORT_FIRS:-$tools/../build/bin/netglobe-import-firs}

check=0
install=1
for arg in "$@"; do
  case "$arg" in
    --check) check=1 ;;
    --no-install) install=0 ;;
    *) echo "usage: $0 [--check] [--no-install]" >&2; exit 2 ;;
  esac
done

missing() {
  echo "make-data: $1" >&2
  if [ "$check" = 1 ] && [ "$install" = 0 ]; then exit 77; fi
  exit 1
}

[ -f "$globe" ] || missing "$globe not found: install the xplanet-images package"
[ -x "$importer" ] || missing "$importer not found: build it (cmake --build build --target netglobe-import-firs) or set NETGLOBE_IMPORT_FIRS"
if [ "$install" = 1 ]; then
  (cd "$tools" && npm ci --ignore-scripts --no-audit --no-fund --prefer-offline >/dev/null)
elif [ ! -d "$tools/node_modules" ]; then
  missing "tools/node_modules not found: run tools/make-data.sh once without --no-install"
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cp "$globe" "$out/velmar.jpg"
node "$tools/make-coastline.mjs" "$out/coastline.dat"
node "$tools/make-airports.mjs" "$out/airports.dat"
node "$tools/make-firs.mjs" "$out/firs.geojson"
"$importer" "$out/firs.geojson" "$out" --strict >/dev/null

if [ "$check" = 1 ]; then
  status=0
  for f in $files; do
    if ! cmp -s "$out/$f" "$data/$f"; then
      echo "make-data: data/$f differs from what the tools make" >&2
      status=1
    fi
  done
  [ "$status" = 0 ] && echo "make-data: all data files are reproduced exactly"
  exit "$status"
fi

for f in $files; do
  cp "$out/$f" "$data/$f"
done
echo "make-data: wrote $files to $data"
