#!/usr/bin/env python3
"""Writes the hostile inputs of the import's memory and robustness checks (bench/grenzfaelle.sh):

  pfade_klein.pdf   about 122 KB: one Flate stream of tiny closed subpaths, repeated, so it
                    inflates about a thousandfold
  pfade_gross.pdf   about 3 MB: Flate streams of tiny subpaths with lines and curves at varying
                    places, inflating to the reader's 256 MiB bound
  nullen_1g.eps     1 GiB of zero bytes (sparse)
  nullen_1_1g.eps   1.1 GiB of zero bytes (sparse), beyond the import's 1 GiB bound
  gsave.eps         10 million nested gsave, a path, 10 million grestore
  q.pdf             the same nesting with q and Q in a PDF content stream
  zahlen_stapel.eps every path operator with 1e308, -1e308, 1e309, nan and inf in every operand
  zahlen_zeilen.eps position, several operators per line and one operator per line

Usage: grenzfaelle_daten.py FOLDER
"""
import os
import random
import sys
import zlib


def pdf(streams):
    objekte = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
               b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 600 840] >>"]
    for daten in streams:
        objekte.append(b"<< /Length %d /Filter /FlateDecode >>\nstream\n" % len(daten) + daten
                       + b"\nendstream")
    aus = bytearray(b"%PDF-1.4\n")
    for nr, obj in enumerate(objekte, 1):
        aus += b"%d 0 obj\n" % nr + obj + b"\nendobj\n"
    return bytes(aus + b"trailer\n<< /Root 1 0 R >>\n%%EOF\n")


def gepackt_bis(teil, ziel_bytes):
    """A Flate stream of teil repeated until the compressed stream reaches ziel_bytes."""
    z = zlib.compressobj(9)
    aus = []
    groesse = 0
    block = teil * 4096
    while groesse < ziel_bytes:
        stueck = z.compress(block)
        aus.append(stueck)
        groesse += len(stueck)
    aus.append(z.flush())
    return b"".join(aus)


def pfade_gross(ziel_bytes):
    """Streams of 200 tiny subpaths at random places, each block repeated within zlib's window."""
    zufall = random.Random(15)
    streams, groesse = [], 0
    while groesse < ziel_bytes:
        zeilen = []
        for _ in range(200):
            x, y = zufall.randrange(600), zufall.randrange(840)
            if zufall.random() < 0.5:
                zeilen.append(b"%d %d m %d %d l %d %d l h\n" % (x, y, x + 1, y, x + 1, y + 1))
            else:
                zeilen.append(b"%d %d m %d %d %d %d %d %d c h\n"
                              % (x, y, x + 2, y, x + 2, y + 2, x, y + 2))
        daten = zlib.compress(b"".join(zeilen) * 400, 9)
        streams.append(daten)
        groesse += len(daten)
    return pdf(streams)


def zahlen(einOperatorJeZeile):
    werte = [b"1e308", b"-1e308", b"1e309", b"nan", b"inf", b"-inf", b"1e-320"]
    operatoren = [(b"m", 2), (b"l", 2), (b"c", 6), (b"v", 4), (b"y", 4), (b"re", 4), (b"cm", 6),
                  (b"scale", 2)]
    zeilen = [b"%!PS-Adobe-3.0 EPSF-3.0", b"%%EndSetup"]
    for op, n in operatoren:
        for stelle in range(n):
            for wert in werte:
                operanden = [b"%d" % (10 * (k + 1)) for k in range(n)]
                operanden[stelle] = wert
                ops = [b"0 0 m", b" ".join(operanden) + b" " + op, b"5 5 l", b"h"]
                if einOperatorJeZeile:
                    zeilen.extend(ops)
                else:
                    zeilen.append(b" ".join(ops) + b" f")
    return b"\n".join(zeilen) + b"\n"


def main():
    ordner = sys.argv[1]

    def schreiben(name, daten):
        with open(os.path.join(ordner, name), "wb") as f:
            f.write(daten)

    schreiben("pfade_klein.pdf", pdf([gepackt_bis(b"0 0 m 10 0 l 10 10 l h\n", 118 * 1024)]))
    schreiben("pfade_gross.pdf", pfade_gross(3 * 1024 * 1024))
    for name, groesse in (("nullen_1g.eps", 1 << 30), ("nullen_1_1g.eps", 1100 * 1024 * 1024)):
        with open(os.path.join(ordner, name), "wb") as f:
            f.truncate(groesse)
    n = 10_000_000
    schreiben("gsave.eps", b"%!PS\n%%EndSetup\n" + b"gsave\n" * n + b"0 0 m 10 0 l 10 10 l h f\n"
              + b"grestore\n" * n)
    schreiben("q.pdf", pdf([zlib.compress(b"q\n" * n + b"0 0 m 10 0 l 10 10 l h f\n" + b"Q\n" * n,
                                          9)]))
    schreiben("zahlen_stapel.eps", zahlen(False))
    schreiben("zahlen_zeilen.eps", zahlen(True))


if __name__ == "__main__":
    main()
