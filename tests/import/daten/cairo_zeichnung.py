#!/usr/bin/env python3
# Draws the shapes of zeichnung.svg with cairo (millimetres, y down) into an EPS and a PDF file.
import sys

import cairo

MM = 72 / 25.4


def zeichnen(flaeche):
    c = cairo.Context(flaeche)
    c.scale(MM, MM)
    c.rectangle(10, 10, 40, 20)
    c.fill()
    c.arc(75, 20, 10, 0, 6.283185307179586)
    c.close_path()
    c.fill()
    c.move_to(10, 40)
    c.curve_to(20, 55, 40, 55, 50, 40)
    c.curve_to(40, 48, 20, 48, 10, 40)
    c.close_path()
    c.fill()
    flaeche.finish()


ziel = sys.argv[1] if len(sys.argv) > 1 else "."
eps = cairo.PSSurface(f"{ziel}/cairo.eps", 100 * MM, 60 * MM)
eps.set_eps(True)
zeichnen(eps)
zeichnen(cairo.PDFSurface(f"{ziel}/cairo.pdf", 100 * MM, 60 * MM))
