#!/usr/bin/env bash
# Time and peak memory of `velmora-icon info` on a valid icon of about 1 KB followed by 1 GiB
# of zero bytes (a sparse file), beside `icotool -l` on the same file: a load reads the
# header, the directory and the images, not the rest. Usage: bench/info_large_file.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
cli="$(cd "$build" && pwd)/src/cli/velmora-icon"
for tool in icotool hyperfine; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 1; }
done
[ -x /usr/bin/time ] || { echo "/usr/bin/time is not installed"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The first image of the sample icon (16 x 16 pixels, 32 bits): 22 + 1128 bytes.
python3 - "$build/sample.ico" "$work/small.ico" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
size, offset = struct.unpack_from("<II", data, 6 + 8)
entry = bytearray(data[6:22])
struct.pack_into("<I", entry, 12, 22)
open(sys.argv[2], "wb").write(struct.pack("<HHH", 0, 1, 1) + entry + data[offset:offset + size])
PY
cp "$work/small.ico" "$work/large.ico"
truncate -s +1G "$work/large.ico"
ls -ls "$work/small.ico" "$work/large.ico"

for file in small.ico large.ico; do
  for command in "$cli info" "icotool -l"; do
    /usr/bin/time -f "$command $file: %e s, %M KB peak" $command "$work/$file" >/dev/null
  done
done
hyperfine -N -w 3 -r 30 --style basic \
  -n "velmora-icon info (1 KB + 1 GiB)" "$cli info $work/large.ico" \
  -n "icotool -l (1 KB + 1 GiB)" "icotool -l $work/large.ico"
