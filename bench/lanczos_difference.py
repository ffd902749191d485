#!/usr/bin/python3
"""For each image of 16 to 256 pixels that both an icon and the picture's resize have: the mean
absolute difference (premultiplied RGBA, pixels visible in either) between the icon's image
and Pillow's Lanczos resize of the premultiplied picture, fitted and centred in the square as
`velmora-icon build --sizes` fits it. Prints one line per icon: its name, each size's figure,
and the worst one last.
Usage: lanczos_difference.py PICTURE ICON..."""
import sys
from PIL import Image

src = Image.open(sys.argv[1]).convert('RGBa')
for path in sys.argv[2:]:
    ico = Image.open(path)
    figures = []
    for s in sorted(size[0] for size in ico.info['sizes']):
        got = ico.ico.getimage((s, s)).convert('RGBA').convert('RGBa')
        w, h = src.size
        tw, th = max(1, round(w * s / max(w, h))), max(1, round(h * s / max(w, h)))
        ref = Image.new('RGBa', (s, s))
        ref.paste(src.resize((tw, th), Image.LANCZOS), ((s - tw) // 2, (s - th) // 2))
        pairs = [(p, q) for p, q in zip(ref.getdata(), got.getdata()) if p[3] or q[3]]
        figures.append((s, sum(abs(a - b) for p, q in pairs for a, b in zip(p, q)) / (4 * len(pairs))))
    print('%s: %s; worst %.2f' % (path, ', '.join('%d: %.2f' % f for f in figures),
                                  max(f[1] for f in figures)))
