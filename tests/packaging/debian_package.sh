#!/bin/sh
# Makes the Debian package with CPack, checks its control fields, unpacks it into a temporary
# root with dpkg -x and runs the packaged command-line tool from there.
# Usage: debian_package.sh BUILD_DIR VERSION WITH_GUI
set -eu
build=$1
version=$2
with_gui=$3
cpack=${CPACK:-cpack}
for tool in "$cpack" dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; exit 1; }
deb=$(find "$work/out" -maxdepth 1 -name '*.deb')
[ "$(printf '%s\n' "$deb" | wc -l)" = 1 ] && [ -n "$deb" ] || { echo "no single .deb: $deb"; exit 1; }
echo "package: $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velmora-icon-manager ]
[ "$(field Version)" = "$version" ]
[ "$(field Maintainer)" = "velmora developers <velmora@example.com>" ]
# dpkg-shlibdeps found the libraries the programs link.
depends=$(field Depends)
echo "depends: $depends"
libraries="libc6 libpng16-16"
[ "$with_gui" = ON ] && libraries="$libraries libqt6core6 libqt6gui6 libqt6widgets6"
for library in $libraries; do
  printf '%s\n' "$depends" | grep -Eq "(^|, )$library( |,|$)" || { echo "no $library"; exit 1; }
done

dpkg -x "$deb" "$work/root"
[ "$("$work/root/usr/bin/velmora-icon" --version)" = "velmora-icon $version" ]
"$work/root/usr/bin/velmora-icon" --help | grep -q '^Usage: velmora-icon'
[ -f "$work/root/usr/share/doc/velmora-icon-manager/copyright" ]
if [ "$with_gui" = ON ]; then
  [ -x "$work/root/usr/bin/velmora-icon-manager" ]
  [ -f "$work/root/usr/share/applications/com.example.VelmoraIconManager.desktop" ]
  [ -f "$work/root/usr/share/icons/hicolor/48x48/apps/com.example.VelmoraIconManager.png" ]
fi

# Where apt can simulate it, the package installs with what the machine's sources offer.
if command -v apt-get >/dev/null 2>&1; then
  apt-get install -s -qq "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
fi
