#!/usr/bin/env bash
# Re-creates the drawing fixtures from zeichnung.svg, weichmaske.svg and cairo_zeichnung.py (Debian
# packages inkscape, python3-cairo, ghostscript, poppler-utils). The checked-in files were made
# with this.
set -euo pipefail
cd "$(dirname "$0")"
inkscape zeichnung.svg --export-type=eps --export-filename=inkscape.eps
inkscape zeichnung.svg --export-type=ps --export-filename=inkscape.ps
inkscape zeichnung.svg --export-type=pdf --export-filename=inkscape.pdf
/usr/bin/python3 cairo_zeichnung.py .
ps2pdf -dEPSCrop cairo.eps ghostscript.pdf
pdftops -eps inkscape.pdf pdftops.eps
inkscape weichmaske.svg --export-type=pdf --export-filename=weichmaske.pdf
