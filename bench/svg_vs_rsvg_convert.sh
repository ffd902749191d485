#!/usr/bin/env bash
# Times `velmora-icon build --sizes 16,24,32,48,64,128,256 logo.svg` against the usual way of
# making an icon from an SVG, `rsvg-convert -w 1024 -h 1024 logo.svg | convert png:-
# -define icon:auto-resize=256,128,64,48,32,24,16 out.ico`, side by side in one hyperfine run,
# on an icon-like SVG (gradients, a blurred shadow, curves) unless SVG is given. Then prints,
# for each made size, the largest difference per channel on visible pixels between the icon's
# image and `rsvg-convert -w N -h N`, and the time taken by hostile SVGs (a billion-laughs
# chain of <use>, a long blurred drawing), which must end within the drawing's time limit.
# Usage: bench/svg_vs_rsvg_convert.sh BUILD_DIR [SVG]
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR [SVG]}
cli="$(cd "$build" && pwd)/src/cli/velmora-icon"
for tool in rsvg-convert convert hyperfine /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
svg=${2:-}
if [ -z "$svg" ]; then
  svg="$work/logo.svg"
  cat >"$svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
<defs>
<linearGradient id="body" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#5af"/><stop offset="1" stop-color="#137"/></linearGradient>
<radialGradient id="shine" cx="0.3" cy="0.3" r="0.7"><stop offset="0" stop-color="#fff" stop-opacity="0.8"/><stop offset="1" stop-color="#fff" stop-opacity="0"/></radialGradient>
<filter id="shadow" x="-20%" y="-20%" width="140%" height="140%"><feGaussianBlur stdDeviation="6"/></filter>
</defs>
<rect x="36" y="44" width="192" height="192" rx="40" fill="#000" opacity="0.45" filter="url(#shadow)"/>
<rect x="28" y="28" width="192" height="192" rx="40" fill="url(#body)"/>
<path d="M64 160 C 96 80, 160 80, 192 160 S 128 220, 64 160 Z" fill="#fc3" stroke="#a60" stroke-width="6"/>
<circle cx="100" cy="96" r="60" fill="url(#shine)"/>
</svg>
SVG
fi
cd "$work"
hyperfine --warmup 3 --runs 20 --export-markdown times.md \
  -n velmora-icon "'$cli' build -o ours.ico --sizes 16,24,32,48,64,128,256 '$svg'" \
  -n rsvg-convert+convert "rsvg-convert -w 1024 -h 1024 '$svg' | convert png:- -define icon:auto-resize=256,128,64,48,32,24,16 theirs.ico"
cat times.md
"$cli" extract --png ours.ico x >/dev/null
/usr/bin/python3 - "$svg" <<'PY'
import io, subprocess, sys
from PIL import Image
for i, n in enumerate([16, 24, 32, 48, 64, 128, 256]):
    ours = Image.open(f'x/ours-{i}.png').convert('RGBA')
    ref = Image.open(io.BytesIO(subprocess.run(['rsvg-convert', '-w', str(n), '-h', str(n), sys.argv[1]],
                                               capture_output=True, check=True).stdout)).convert('RGBA')
    worst = max((max(abs(a - b) for a, b in zip(p, q)) for p, q in zip(ours.getdata(), ref.getdata())
                 if p[3] or q[3]), default=0)
    print(f'{n:4d}: largest difference from rsvg-convert -w {n} -h {n}: {worst}')
PY
/usr/bin/python3 - <<'PY'
s = "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='64' height='64'><defs><g id='a0'><rect width='64' height='64' fill-opacity='0.01'/></g>"
s += ''.join(f"<g id='a{i}'><use xlink:href='#a{i-1}'/><use xlink:href='#a{i-1}'/></g>" for i in range(1, 40))
open('laughs.svg', 'w').write(s + "</defs><use xlink:href='#a39'/></svg>")
s = "<svg xmlns='http://www.w3.org/2000/svg' width='64' height='64'><filter id='f'><feGaussianBlur stdDeviation='30'/></filter>"
open('slow.svg', 'w').write(s + ''.join(f"<circle cx='{i % 64}' cy='32' r='30' filter='url(#f)'/>" for i in range(20000)) + '</svg>')
PY
for hostile in laughs.svg slow.svg; do
  start=$(date +%s.%N)
  "$cli" build -o hostile.ico "$hostile" 2>&1 | grep '@ 16' || true
  echo "$hostile: $(echo "$(date +%s.%N) - $start" | bc) s"
done
