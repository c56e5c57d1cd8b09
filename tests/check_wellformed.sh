#!/bin/sh
# Every generated .box must be well-formed XML; every .dtd a sequence of well-formed
# declarations, parsed as the internal subset of a one-line document.
set -eu
dump=$1 out=$2
rm -rf "$out"
"$dump" "$out"
count=0
for f in "$out"/*; do
  case $f in
    *.box) xmllint --noout "$f" 2>/dev/null || { echo "not well-formed: $f"; xmllint --noout "$f"; exit 1; } ;;
    *.dtd) { printf '<!DOCTYPE kelvane [\n'; cat "$f"; printf '\n]><kelvane/>'; } > "$f.xml"
           xmllint --noout "$f.xml" 2>/dev/null || { echo "not well-formed: $f"; xmllint --noout "$f.xml"; exit 1; } ;;
    *) continue ;;
  esac
  count=$((count + 1))
done
[ "$count" -ge 24 ] || { echo "only $count generated files"; exit 1; }
echo "$count generated files well-formed"
