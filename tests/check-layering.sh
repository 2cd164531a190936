#!/bin/sh
# Fails when a source file includes a header of a folder above its own.
# Order, lowest first: each folder may include only its own and lower ones.
# Usage: check-layering.sh SRC_DIR
set -eu
src=$1
order="base geo refdata feed history scene layers lists session render shell"
rank() {
  i=0
  for f in $order; do
    [ "$f" = "$1" ] && { echo "$i"; return; }
    i=$((i + 1))
  done
  echo -1
}

bad=0
for folder in $order; do
  own=$(rank "$folder")
  [ -d "$src/$folder" ] || continue
  for file in "$src/$folder"/*.h "$src/$folder"/*.cpp; do
    [ -e "$file" ] || continue
    for used in $(sed -n 's/^#include "\([a-z_]*\)\/.*/\1/p' "$file" | sort -u); do
      r=$(rank "$used")
      if [ "$r" -lt 0 ] || [ "$r" -gt "$own" ]; then
        echo "layering: ${file#"$src"/} includes $used/" >&2
        bad=1
      fi
    done
  done
done
# The core (everything below render) is plain C++: no Qt, no GL.
for folder in base geo refdata feed history scene layers lists session; do
  [ -d "$src/$folder" ] || continue
  if grep -ln '^#include <\(Q\|GL/\)' "$src/$folder"/*.h "$src/$folder"/*.cpp 2>/dev/null; then
    echo "layering: the core files above include Qt or GL" >&2
    bad=1
  fi
done
# The folders in order are the whole source tree: a new folder needs a place.
for dir in "$src"/*/; do
  name=$(basename "$dir")
  [ "$(rank "$name")" -ge 0 ] || { echo "layering: folder $name has no place in the order" >&2; bad=1; }
done
[ "$bad" -eq 0 ] && echo "layering: ok"
exit "$bad"
