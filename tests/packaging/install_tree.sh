#!/bin/sh
# Installs the build into a temporary prefix and compares the files there with the manifest;
# the installed command-line tool must run from there.
# Usage: install_tree.sh BUILD_DIR MANIFEST VERSION
set -eu
build=$1
manifest=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

"${CMAKE:-cmake}" --install "$build" --prefix "$prefix" >/dev/null
(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort) >"$work/list"
if ! LC_ALL=C sort "$manifest" | diff -u - "$work/list"; then
  echo "the installed files (+) differ from the expected ones (-)"
  exit 1
fi
for program in "$prefix"/bin/*; do
  [ -x "$program" ] || { echo "not executable: $program"; exit 1; }
done
[ "$("$prefix/bin/velmora-icon" --version)" = "velmora-icon $version" ]
# Manual pages are readable by man's own decompressor.
for page in "$prefix"/share/man/man1/*; do
  case $page in
    *.gz) gzip -t "$page" ;;
  esac
done
