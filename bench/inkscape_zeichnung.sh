#!/usr/bin/env bash
# A real path drawing for the import benchmarks: Inkscape's own artwork (its about screen,
# /usr/share/inkscape/screens/about.svg of the Debian package inkscape) without blur filters,
# masks and transparency, so PostScript needs no fallback image, COPIES x COPIES times on one
# page, written by Inkscape as EPS (about 24 MB for 6 x 6) and as PDF.
# Usage: bench/inkscape_zeichnung.sh FOLDER [COPIES]   -> FOLDER/inkscape.eps, FOLDER/inkscape.pdf
set -euo pipefail
ORDNER="$1"
N="${2:-6}"
QUELLE=/usr/share/inkscape/screens/about.svg
mkdir -p "$ORDNER"
python3 - "$QUELLE" "$ORDNER/inkscape.svg" "$N" <<'PY'
import re
import sys

quelle, ziel, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
s = open(quelle, encoding="utf-8").read()
# PostScript has no transparency: without these the drawing stays paths and fills.
s = re.sub(r'filter:url\(#[^)]*\);?', '', s)
s = re.sub(r'\sfilter="url\(#[^)]*\)"', '', s)
s = re.sub(r'<filter.*?</filter>', '', s, flags=re.S)
s = re.sub(r'((?:stop-|fill-|stroke-)?opacity)\s*:\s*[0-9.e-]+', r'\1:1', s)
s = re.sub(r'((?:stop-|fill-|stroke-)?opacity)="[0-9.e-]+"', r'\1="1"', s)
s = re.sub(r'\smask="url\(#[^)]*\)"', '', s)
s = re.sub(r'mask:url\(#[^)]*\);?', '', s)
s = re.sub(r'mix-blend-mode:[a-z-]+;?', '', s)
breite = float(re.search(r'<svg[^>]*?\swidth="([0-9.]+)', s, re.S).group(1))
hoehe = float(re.search(r'<svg[^>]*?\sheight="([0-9.]+)', s, re.S).group(1))
kopf_ende = s.index('>', s.index('<svg')) + 1
oeffnen = s[s.index('<svg'):kopf_ende]
innen = s[kopf_ende:s.rindex('</svg>')]
teile = []
for i in range(n * n):
    # Every copy keeps ids of its own.
    kopie = re.sub(r'(id="|url\(#|href="#)([^")]+)', lambda m: m.group(1) + m.group(2) + '_%d' % i,
                   innen)
    teile.append('<g transform="translate(%g,%g)">%s%s</svg></g>'
                 % ((i % n) * breite, (i // n) * hoehe, oeffnen, kopie))
with open(ziel, 'w', encoding="utf-8") as f:
    f.write(s[:s.index('<svg')] + '<svg xmlns="http://www.w3.org/2000/svg" '
            'xmlns:xlink="http://www.w3.org/1999/xlink" width="%g" height="%g">'
            % (n * breite, n * hoehe) + ''.join(teile) + '</svg>')
PY
inkscape "$ORDNER/inkscape.svg" --export-type=eps --export-filename="$ORDNER/inkscape.eps" 2>/dev/null
inkscape "$ORDNER/inkscape.svg" --export-type=pdf --export-filename="$ORDNER/inkscape.pdf" 2>/dev/null
rm "$ORDNER/inkscape.svg"
ls -l "$ORDNER/inkscape.eps" "$ORDNER/inkscape.pdf"
