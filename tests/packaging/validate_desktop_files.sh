#!/bin/sh
# Validates the desktop entry and the AppStream metainfo with the desktop's own tools, and
# checks that the two agree with each other and with the installed icon's name.
# Usage: validate_desktop_files.sh DATA_DIR
set -eu
data=$1
id=com.example.VelmoraIconManager
desktop=$data/$id.desktop
metainfo=$data/$id.metainfo.xml

ran=0
if command -v desktop-file-validate >/dev/null 2>&1; then
  # It reports problems on standard output; any report fails the test.
  report=$(desktop-file-validate "$desktop" 2>&1) || { echo "$report"; exit 1; }
  [ -z "$report" ] || { echo "$report"; exit 1; }
  ran=1
fi
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "$metainfo"
  ran=1
fi

# The entry starts the program with the files it is given, for the types it opens.
grep -qx 'Exec=velmora-icon-manager %F' "$desktop"
grep -qx "Icon=$id" "$desktop"
grep -qx 'Categories=Graphics;2DGraphics;RasterGraphics;Qt;' "$desktop"
for type in image/vnd.microsoft.icon image/x-icon image/bmp; do
  grep -q "^MimeType=.*$type;" "$desktop"
  grep -q "<mediatype>$type</mediatype>" "$metainfo"
done
grep -q "<id>$id</id>" "$metainfo"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
grep -q '<developer_name>velmora developers</developer_name>' "$metainfo"
grep -q '<project_license>MIT</project_license>' "$metainfo"
[ -f "$data/icons/hicolor/256x256/apps/$id.png" ]

if [ "$ran" = 0 ]; then
  echo "neither desktop-file-validate nor appstreamcli is installed"
  exit 77
fi
