#!/usr/bin/python3
"""Writes <name>.erwartet.csv for the LibreCAD fixtures: the elements a second, independent DXF
reader (ezdxf 0.18.1) finds in the file, in file order, as the template reader must store them.

Run from this folder:  /usr/bin/python3 dxf_erwartung.py
Columns: Typ;X1;Y1;X2;Y2;Radius;Farbe (2 line, 3 arc with angles in radians, 4 circle;
Farbe as red + 256 green + 65536 blue by the template reader's colour rule: the entity's colour
number when it has one, else its layer's; 0..7 standard colours, every other number grey).
"""
import math

import ezdxf

STANDARD = {0: (64, 64, 64), 1: (255, 0, 0), 2: (255, 255, 0), 3: (0, 255, 0),
            4: (0, 255, 255), 5: (0, 0, 255), 6: (255, 0, 255), 7: (255, 255, 255)}


def rgb(nummer):
    r, g, b = STANDARD.get(nummer, (124, 124, 124))
    return r + 256 * g + 65536 * b


def farbe(doc, e):
    if e.dxf.hasattr("color"):
        return rgb(e.dxf.color)
    return rgb(doc.layers.get(e.dxf.layer).dxf.color)


def zeilen(doc):
    for e in doc.modelspace():
        art = e.dxftype()
        if art == "LINE":
            yield (2, e.dxf.start.x, e.dxf.start.y, e.dxf.end.x, e.dxf.end.y, 0.0, farbe(doc, e))
        elif art == "ARC":
            yield (3, e.dxf.center.x, e.dxf.center.y, math.radians(e.dxf.start_angle),
                   math.radians(e.dxf.end_angle), e.dxf.radius, farbe(doc, e))
        elif art == "CIRCLE":
            yield (4, e.dxf.center.x, e.dxf.center.y, 0.0, 0.0, e.dxf.radius, farbe(doc, e))
        elif art in ("ELLIPSE", "POLYLINE", "TEXT"):
            raise SystemExit(f"{art} is not covered by this list; describe it by hand")


for name in ("librecad_trig", "librecad_A4"):
    doc = ezdxf.readfile(name + ".dxf")
    with open(name + ".erwartet.csv", "w", newline="\n") as aus:
        for z in zeilen(doc):
            typ, *zahlen, rgbwert = z
            aus.write(";".join([str(typ)] + [repr(float(v)) for v in zahlen] + [str(rgbwert)]) + "\n")
