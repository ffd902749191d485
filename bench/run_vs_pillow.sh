#!/usr/bin/env bash
# Times one `velmora-icon run` of a script that builds 100 icons of five bitmaps each
# ("ImportBitmaps" of a folder, "SaveIcon", "CloseIcon", a hundred times) against Pillow doing
# the same in one Python process: walk each folder for *.bmp, open the five bitmaps, save them
# as one icon file. Pillow 9 stores every image of an icon as PNG; velmora-icon stores them
# uncompressed with their transparency mask, as the import makes them.
# Usage: bench/run_vs_pillow.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
cli="$(cd "$build" && pwd)/src/cli/velmora-icon"
python=/usr/bin/python3
command -v hyperfine >/dev/null || { echo "hyperfine is not installed"; exit 1; }
"$python" -c 'import PIL' 2>/dev/null || { echo "Pillow is not installed"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 100 folders of five 24-bit bitmaps (16, 24, 32, 48 and 64 pixels), different in each folder.
"$python" - "$work" <<'EOF'
import os, sys
from PIL import Image
work = sys.argv[1]
for i in range(100):
    folder = os.path.join(work, "pics", "f%03d" % i)
    os.makedirs(folder)
    for size in (16, 24, 32, 48, 64):
        im = Image.new("RGB", (size, size))
        im.putdata([((x * 7 + i) % 256, (y * 5 + size) % 256, (x * y + i * 3) % 256)
                    for y in range(size) for x in range(size)])
        im.save(os.path.join(folder, "i%02d.bmp" % size))
EOF

script="$work/qebscript.txt"
{
  echo "velmora icon manager script file"
  for i in $(seq -f "%03g" 0 99); do
    echo "ImportBitmaps $work/pics/f$i/*.bmp"
    echo "SaveIcon $work/ours/f$i.ico"
    echo "CloseIcon"
  done
} > "$script"

cat > "$work/pillow_icons.py" <<'EOF'
import fnmatch, os, sys
from PIL import Image
pics, out = sys.argv[1], sys.argv[2]
for i in range(100):
    names = []
    for folder, subfolders, files in os.walk(os.path.join(pics, "f%03d" % i)):
        subfolders[:] = sorted(s for s in subfolders if not s.startswith("."))
        names += [os.path.join(folder, f) for f in sorted(files) if fnmatch.fnmatchcase(f, "*.bmp")]
    images = [Image.open(name) for name in sorted(names, key=str.lower)]
    # Pillow leaves out every size larger than the first image's: the largest goes first.
    images.sort(key=lambda im: im.size, reverse=True)
    images[0].save(os.path.join(out, "f%03d.ico" % i), format="ICO",
                   sizes=[im.size for im in images], append_images=images[1:])
EOF

# Both sides must really build the hundred icons of five images.
mkdir -p "$work/ours" "$work/theirs"
"$cli" run "$script" | tail -n 1
"$python" "$work/pillow_icons.py" "$work/pics" "$work/theirs"
"$cli" info "$work/ours/f042.ico" | head -n 1
"$cli" info "$work/theirs/f042.ico" | head -n 1

# Each timed run writes new icon files into an emptied folder. Then both replace the icons of
# the run before: velmora-icon flushes each replaced file to disk before the old one goes (so
# that a crash never leaves neither), which Pillow, writing in place, does not; that run shows
# the cost of the disk's flushes.
hyperfine -w 3 -r 20 --style basic --export-json "$work/new.json" \
  -n "velmora-icon run, new icons" --prepare "rm -rf $work/ours && mkdir $work/ours" \
  "$cli run $script" \
  -n "Pillow, new icons" --prepare "rm -rf $work/theirs && mkdir $work/theirs" \
  "$python $work/pillow_icons.py $work/pics $work/theirs"
hyperfine -N -w 1 -r 10 --style basic --export-json "$work/replace.json" \
  -n "velmora-icon run, replacing icons" "$cli run $script" \
  -n "Pillow, replacing icons" "$python $work/pillow_icons.py $work/pics $work/theirs"
"$python" - "$work/new.json" "$work/replace.json" <<'EOF'
import json, sys
for name, path in (("new icons", sys.argv[1]), ("replacing icons", sys.argv[2])):
    ours, theirs = (r["mean"] for r in json.load(open(path))["results"])
    print("%s: velmora-icon run %.1f ms, Pillow %.1f ms, Pillow / velmora-icon = %.2f"
          % (name, ours * 1000, theirs * 1000, theirs / ours))
EOF
