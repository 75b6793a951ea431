#!/usr/bin/env python3
"""Checks DXF files written by konturo-cli with an independent reader (ezdxf), each of the files
named on the command line:

- the file opens and ezdxf's audit finds no errors;
- the model space holds only LINE, ARC and CIRCLE entities, at least one;
- in file order the entities form closed contours: each element's end meets the next element's
  start within 0.01 (an element may be run in either direction, since arcs are stored
  counter-clockwise whatever the contour's direction), and every contour returns to its start.

Exit status 0 when all holds, 1 with a message otherwise, 77 when ezdxf is not installed.
"""
import math
import sys

TOLERANZ = 0.01

try:
    import ezdxf
except ImportError:
    print("ezdxf is not installed (Debian package python3-ezdxf)")
    sys.exit(77)


def enden(e):
    art = e.dxftype()
    if art == "LINE":
        return (e.dxf.start.x, e.dxf.start.y), (e.dxf.end.x, e.dxf.end.y)
    if art == "ARC":
        m, r = e.dxf.center, e.dxf.radius
        a, b = math.radians(e.dxf.start_angle), math.radians(e.dxf.end_angle)
        return (m.x + r * math.cos(a), m.y + r * math.sin(a)), (m.x + r * math.cos(b),
                                                                 m.y + r * math.sin(b))
    return None


def nahe(p, q):
    return math.hypot(p[0] - q[0], p[1] - q[1]) < TOLERANZ


def main(pfad):
    doc = ezdxf.readfile(pfad)
    audit = doc.audit()
    if audit.has_errors:
        return "ezdxf audit found errors: %s" % [str(f) for f in audit.errors]
    entities = list(doc.modelspace())
    if not entities:
        return "no entities"
    arten = {e.dxftype() for e in entities}
    if not arten <= {"LINE", "ARC", "CIRCLE"}:
        return "unexpected entity kinds: %s" % sorted(arten - {"LINE", "ARC", "CIRCLE"})

    # Possible (contour start, current end) pairs of the open contour; empty between contours.
    zustaende = []
    konturen = 0
    for nr, e in enumerate(entities, 1):
        ab = enden(e)
        if ab is None:
            if zustaende:
                return "entity %d (CIRCLE) inside an open contour" % nr
            konturen += 1
            continue
        a, b = ab
        if not zustaende:
            zustaende = [(a, b), (b, a)]
        else:
            neu = []
            for start, jetzt in zustaende:
                if nahe(jetzt, a):
                    neu.append((start, b))
                if nahe(jetzt, b):
                    neu.append((start, a))
            if not neu:
                return "gap before entity %d (%s) at %s" % (nr, e.dxftype(),
                                                             [z[1] for z in zustaende])
            zustaende = neu
        if any(nahe(start, jetzt) for start, jetzt in zustaende):
            zustaende = []
            konturen += 1
    if zustaende:
        return "the last contour does not close"
    print("%s: %d entities (%s), %d closed contours" % (
        pfad, len(entities), ", ".join(sorted(arten)), konturen))
    return None


if __name__ == "__main__":
    schlecht = 0
    for pfad in sys.argv[1:]:
        fehler = main(pfad)
        if fehler:
            print("%s: %s" % (pfad, fehler))
            schlecht += 1
    sys.exit(1 if schlecht or len(sys.argv) < 2 else 0)
