#!/usr/bin/python3
"""Writes vorlage.vlg, a hand-made ToPs template in the layout of the GEO writer, with the
record variants the template reader accepts: CHA and FIL, a lower-case record name, colour
code 3, and point numbers in the point records that differ from the file order.

Run from this folder:  /usr/bin/python3 vlg_vorlage_erzeugen.py
Elements (points by file order): line 1-2, red line 2-3, line 3-4, line 4-1, red quarter arc
about (100, 50) from (120, 50) to (100, 70), circle about (100, 50) of radius 8.5.
"""
kopf = ["#~1", "1.03", "1", "07.12.2026", "0 0 0", "200 100 0", "0.0", "0", "0.001", "0", "1",
        "##~~", "#~11", "", "", "", "", "*BELEGT*", "", "0.0", "", "", "", "1"] + ["0"] * 8 + \
       ["", "##~~", "#~END", "#~3", "", "LASER", "", "0 0 1", "1 0 0 0", "0 1 0 0", "0 0 1 0",
        "0 0 0 1", "0 0 0", "200 100 0", "0 0 0", "0.0", "0", "0", "0", "##~~"]
punkte = [(0, 0), (200, 0), (200, 100), (0, 100), (100, 50), (120, 50), (100, 70)]
z = kopf + ["#~31"]
for i, (x, y) in enumerate(punkte):
    z += ["P", str(101 + i), f"{x} {y} 0", "|~"]
z += ["##~~", "#~32",
      "LIN", "1 0", "1 2", "|~",
      "lin", "3 0", "2 3", "|~",
      "CHA", "1 0", "3 4", "|~",
      "LIN", "1 0", "4 1", "|~",
      "FIL", "3 0", "5 6 7", "1", "|~",
      "CIR", "1 0", "5", " 8.5 ", "|~",
      "##~~", "#~END", "#~EOF"]
with open("vorlage.vlg", "wb") as aus:
    aus.write(("\r\n".join(z) + "\r\n").encode("ascii"))
