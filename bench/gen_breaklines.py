#!/usr/bin/env python3
"""Writes the breakline benchmark inputs as MIF/MID layers.

  gen_breaklines.py lines <out.mif> <polylines> <vertices>
      polylines of that many vertices each, first attribute a name;
  gen_breaklines.py zln <points.mif> <lines.mif> <points> <vertices>
      height points and 10-vertex lines with about that many vertices in
      all; every second vertex lies on a point (some within 0.0009 of it),
      the other points are scattered.
"""
import random
import sys

HEAD = ('Version 300\nCharset "Neutral"\nDelimiter ","\n'
        'CoordSys Earth Projection 8, 33, "m", 153, 0, 0.9996, 500000, 10000000\n'
        'Columns 1\n  %s\nData\n\n')


def lines(out_mif, count, vertices):
    rnd = random.Random(1)
    with open(out_mif, "w") as mif, open(out_mif[:-4] + ".mid", "w") as mid:
        mif.write(HEAD % "Name Char(20)")
        for s in range(count):
            x0 = 300000.0 + rnd.random() * 20000.0
            y0 = 6000000.0 + rnd.random() * 20000.0
            mif.write("Pline %d\n" % vertices)
            for i in range(vertices):
                mif.write("%.6f %.6f\n" % (x0 + i * 12.345678, y0 + i * 3.210987))
            mif.write("    Pen (1,2,0)\n")
            mid.write('"Road %d"\n' % s)


def zln(points_mif, lines_mif, points, vertices):
    rnd = random.Random(2)
    nlines = max(1, vertices // 10)
    on_line = []
    with open(lines_mif, "w") as mif, open(lines_mif[:-4] + ".mid", "w") as mid:
        mif.write(HEAD % "Elev Float")
        side = int((nlines ** 0.5) + 1)
        for s in range(nlines):
            x0 = 300000.0 + (s % side) * 150.0 + rnd.random()
            y0 = 6000000.0 + (s // side) * 150.0 + rnd.random()
            mif.write("Pline 10\n")
            for i in range(10):
                x, y = x0 + i * 10.0, y0 + i * 3.0
                mif.write("%.4f %.4f\n" % (x, y))
                if i % 2 == 0:
                    d = 0.0009 if i == 4 else 0.0
                    on_line.append((x + d, y - d))
            mif.write("    Pen (1,2,0)\n")
            mid.write("%.2f\n" % (rnd.random() * 50.0))
    with open(points_mif, "w") as mif, open(points_mif[:-4] + ".mid", "w") as mid:
        mif.write(HEAD % "Z Float")
        for k in range(points):
            if k < len(on_line):
                x, y = on_line[k]
            else:
                x = 300000.0 + rnd.random() * 150.0 * side
                y = 6000000.0 + rnd.random() * 150.0 * side
            mif.write("Point %.4f %.4f\n    Symbol (35,0,12)\n" % (x, y))
            mid.write("%.3f\n" % (10.0 + rnd.random() * 40.0))


def main():
    if sys.argv[1] == "lines":
        lines(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
    else:
        zln(sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5]))


if __name__ == "__main__":
    main()
