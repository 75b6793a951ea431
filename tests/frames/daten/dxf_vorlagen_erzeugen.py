#!/usr/bin/python3
"""Writes the DXF frame template fixtures of the frame tests with ezdxf (python3-ezdxf 0.18.1).

Run from this folder:  /usr/bin/python3 dxf_vorlagen_erzeugen.py
Each drawing's content is listed beside the calls that make it; the tests check that the reader
turns it into exactly these elements.
"""
import math

import ezdxf


def schichten(doc):
    # Layer colours: red frame, blue circles, green text, and one layer switched off (negative
    # colour number in the file).
    doc.layers.add("Rahmen", color=1)
    doc.layers.add("Kreise", color=5)
    doc.layers.add("Schrift", color=3)
    aus = doc.layers.add("Aus", color=6)
    aus.off()


def r12():
    doc = ezdxf.new("R12")
    schichten(doc)
    msp = doc.modelspace()
    # 1 line on layer Rahmen (red)
    msp.add_line((-50, -30), (50, -30), dxfattribs={"layer": "Rahmen"})
    # 2 arc, centre (0, 0), radius 40, 30..150 degrees, explicit colour 2 (yellow)
    msp.add_arc((0, 0), 40, 30, 150, dxfattribs={"layer": "Rahmen", "color": 2})
    # 3 circle on layer Kreise (blue)
    msp.add_circle((10, 5), 7.5, dxfattribs={"layer": "Kreise"})
    # 4 polyline (open): (0,0) bulge 1 -> (20,0) -> (20,10) bulge -0.5 -> (0,10);
    #   half circle, line, clockwise arc, and the closing line (0,0)-(0,10) at SEQEND
    msp.add_polyline2d([(0, 0, 0, 0, 1), (20, 0), (20, 10, 0, 0, -0.5), (0, 10)],
                       format="xyseb", dxfattribs={"layer": "Rahmen"})
    # 5 text of height 2.5 on layer Schrift (green)
    msp.add_text("Schild", dxfattribs={"layer": "Schrift", "height": 2.5, "insert": (-40, 20)})
    # 6 line on the switched-off layer (grey: negative colour number)
    msp.add_line((0, 50), (10, 50), dxfattribs={"layer": "Aus"})
    doc.saveas("ezdxf_r12.dxf")


def r2000():
    doc = ezdxf.new("R2000")
    schichten(doc)
    msp = doc.modelspace()
    # 1 line on layer Rahmen (red)
    msp.add_line((-50, -30), (50, -30), dxfattribs={"layer": "Rahmen"})
    # 2 arc, centre (5, 5), radius 10, 270..90 degrees (through 0), layer Rahmen
    msp.add_arc((5, 5), 10, 270, 90, dxfattribs={"layer": "Rahmen"})
    # 3 circle on layer Kreise (blue)
    msp.add_circle((10, 5), 7.5, dxfattribs={"layer": "Kreise"})
    # 4 full ellipse, centre (0, 0), major axis (0, 20) (90 degrees), ratio 0.5, layer Kreise
    msp.add_ellipse((0, 0), major_axis=(0, 20), ratio=0.5, start_param=0,
                    end_param=2 * math.pi, dxfattribs={"layer": "Kreise"})
    # 5 lightweight polyline: not read by the template reader, must be skipped cleanly
    msp.add_lwpolyline([(0, 0), (5, 0), (5, 5)], dxfattribs={"layer": "Rahmen"})
    # 6 text of height 3 on layer Schrift (green)
    msp.add_text("Tafel", dxfattribs={"layer": "Schrift", "height": 3, "insert": (1, 2)})
    # 7 old-style 2D polyline, closed: (0,0) -> (10,0) bulge 1 -> (10,10) -> (0,10);
    #   line, half circle, line, and the closing line (0,0)-(0,10), layer Rahmen
    pl = msp.add_polyline2d([(0, 0, 0, 0, 0), (10, 0, 0, 0, 1), (10, 10), (0, 10)],
                            format="xyseb", dxfattribs={"layer": "Rahmen"})
    pl.close(True)
    # 8 line with extrusion (0, 0, -1): the reader negates its x coordinates
    msp.add_line((1, 1), (4, 2), dxfattribs={"extrusion": (0, 0, -1), "color": 4})
    doc.saveas("ezdxf_r2000.dxf")


if __name__ == "__main__":
    r12()
    r2000()
