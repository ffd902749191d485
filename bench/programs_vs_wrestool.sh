#!/bin/sh
# The icon groups of Windows programs beside icoutils' wrestool, in one run:
#   1. extract of a DLL with 300 icon groups (made with windres and ld from
#      binutils-mingw-w64) against `wrestool -x -t14 -o DIR`, each into a fresh folder, and
#      of a DLL with 300 cursor groups against `wrestool -x -t12 -o DIR`;
#   2. info on a 300 MB program whose resources lie after 300 MB of data, with its time
#      and peak memory (/usr/bin/time -v), wrestool -l beside it.
#   3. info on the hostile trees of the fuzz regressions.
# Usage: bench/programs_vs_wrestool.sh [path/to/velmora-icon]
set -eu
tool=${1:-build/src/cli/velmora-icon}
tool=$(cd "$(dirname "$tool")" && pwd)/$(basename "$tool")
for program in x86_64-w64-mingw32-windres x86_64-w64-mingw32-ld x86_64-w64-mingw32-objcopy wrestool icotool hyperfine /usr/bin/python3; do
  command -v "$program" >/dev/null || { echo "needs $program" >&2; exit 1; }
done
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

/usr/bin/python3 -c "
from PIL import Image
Image.new('RGBA', (48, 48), (200, 30, 30, 255)).save('a.ico', sizes=[(16, 16), (32, 32), (48, 48)])"
i=1
while [ $i -le 300 ]; do echo "$i ICON \"a.ico\""; i=$((i + 1)); done > groups.rc
x86_64-w64-mingw32-windres --preprocessor=cat groups.rc -O coff -o groups.o
x86_64-w64-mingw32-ld --dll -e 0 -o groups.dll groups.o
mkdir w
wrestool -x -t14 -o w groups.dll
"$tool" extract groups.dll m >/dev/null
# Each group file holds wrestool's images byte for byte (wrestool adds spare bytes after them).
for theirs in w/*.ico; do
  ours=m/groups-${theirs##*_}
  cmp -n "$(stat -c%s "$ours")" "$theirs" "$ours"
done
echo "300 groups: every image as wrestool writes it"
hyperfine -N -w 3 -r 30 --prepare "rm -rf w m" \
  "wrestool -x -t14 -o w groups.dll" "$tool extract groups.dll m"

/usr/bin/python3 -c "
from PIL import Image
Image.new('RGBA', (32, 32), (30, 30, 200, 255)).save('c.png')"
icotool -c --cursor --hotspot-x 3 --hotspot-y 5 -o c.cur c.png
i=1
while [ $i -le 300 ]; do echo "$i CURSOR \"c.cur\""; i=$((i + 1)); done > cursors.rc
x86_64-w64-mingw32-windres --preprocessor=cat cursors.rc -O coff -o cursors.o
x86_64-w64-mingw32-ld --dll -e 0 -o cursors.dll cursors.o
"$tool" extract cursors.dll mc >/dev/null
# Each cursor group gives back the cursor file it was made from (wrestool's files count the
# hotspot's four bytes into each image's size).
for ours in mc/*.cur; do cmp c.cur "$ours"; done
echo "300 cursor groups: each the .cur it was made from, hotspot included"
hyperfine -N -w 3 -r 30 --prepare "rm -rf wc mc" \
  "wrestool -x -t12 -o wc cursors.dll" "$tool extract cursors.dll mc"

echo '1 ICON "a.ico"' > one.rc
x86_64-w64-mingw32-windres --preprocessor=cat one.rc -O coff -o one.o
head -c 300000000 /dev/zero > pad.bin
x86_64-w64-mingw32-objcopy -I binary -O pe-x86-64 -B i386:x86-64 pad.bin pad.o
x86_64-w64-mingw32-ld --dll -e 0 -o big.exe pad.o one.o
rm pad.bin pad.o
for command in "$tool info big.exe" "wrestool -l big.exe"; do
  echo "$command:"
  /usr/bin/time -v $command 2>&1 >/dev/null | grep -E "Elapsed|Maximum resident"
done

# Hostile trees (loops, shared directories, claimed entries) end at once.
for file in "$repo"/fuzz/regressions/fuzz_program_icons/*; do
  /usr/bin/time -o "$work/time" -f "%e s, %M KiB: $(basename "$file")" "$tool" info "$file" \
    >/dev/null 2>&1 || true
  cat "$work/time"
done
