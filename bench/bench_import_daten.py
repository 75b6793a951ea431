#!/usr/bin/env python3
"""Writes a large path drawing for the import benchmark: an EPS file of about SIZE megabytes
(closed paths of six lines and one curve, several operators per line as in PDF page content) and
a PDF file whose one Flate content stream holds the same paths.

Usage: bench_import_daten.py FOLDER [SIZE_MB]   -> FOLDER/zeichnung.eps, FOLDER/zeichnung.pdf
"""
import math
import random
import sys
import zlib


def pfade(ziel_bytes):
    zufall = random.Random(2026)
    teile, groesse, pfad = [], 0, 0
    while groesse < ziel_bytes:
        cx, cy = zufall.uniform(20, 580), zufall.uniform(20, 820)
        r = zufall.uniform(3, 15)
        p = []
        for k in range(7):
            w = 2 * math.pi * (k + zufall.uniform(-0.2, 0.2)) / 7
            p.append((cx + r * math.cos(w), cy + r * math.sin(w)))
        z = []
        if pfad % 50 == 0:
            z.append("Q q 0.2 0.4 0.6 rg\n")
        z.append("%.3f %.3f m " % p[0])
        z.extend("%.3f %.3f l " % q for q in p[1:6])
        (x5, y5), (x6, y6) = p[5], p[6]
        z.append("%.3f %.3f %.3f %.3f %.3f %.3f c " % (
            x5 + 0.3 * (x6 - x5), y5 + 0.3 * (y6 - y5) + 0.2 * r,
            x6 - 0.3 * (x6 - x5), y6 - 0.3 * (y6 - y5) + 0.2 * r, x6, y6))
        z.append("%.3f %.3f l h f\n" % p[0])
        teil = "".join(z)
        teile.append(teil)
        groesse += len(teil)
        pfad += 1
    return "q\n" + "".join(teile) + "Q\n"


def main():
    ordner = sys.argv[1]
    mb = float(sys.argv[2]) if len(sys.argv) > 2 else 20
    inhalt = pfade(int(mb * 1024 * 1024)).encode("ascii")
    kopf = (b"%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 600 840\n%%EndProlog\n"
            b"/q { gsave } bind def /Q { grestore } bind def /m { moveto } bind def\n"
            b"/l { lineto } bind def /c { curveto } bind def /h { closepath } bind def\n"
            b"/f { fill } bind def /rg { setrgbcolor } bind def\n%%EndSetup\n")
    with open(f"{ordner}/zeichnung.eps", "wb") as eps:
        eps.write(kopf + inhalt + b"showpage\n%%EOF\n")
    gepackt = zlib.compress(inhalt, 6)
    objekte = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 600 840] /Contents 4 0 R >>",
        b"<< /Length %d /Filter /FlateDecode >>\nstream\n" % len(gepackt) + gepackt
        + b"\nendstream",
    ]
    pdf = bytearray(b"%PDF-1.4\n")
    lagen = []
    for nr, obj in enumerate(objekte, 1):
        lagen.append(len(pdf))
        pdf += b"%d 0 obj\n" % nr + obj + b"\nendobj\n"
    xref = len(pdf)
    pdf += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objekte) + 1)
    pdf += b"".join(b"%010d 00000 n \n" % lage for lage in lagen)
    pdf += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
        len(objekte) + 1, xref)
    with open(f"{ordner}/zeichnung.pdf", "wb") as datei:
        datei.write(pdf)


if __name__ == "__main__":
    main()
