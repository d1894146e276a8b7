#!/usr/bin/env python3
"""Writes the benchmark inputs: a 12da file of N strings of V vertices and a
CSV of the same lines as WKT (for ogr2ogr to turn into a shapefile)."""
import random
import sys


def main():
    out12da, outcsv, strings, vertices = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    rnd = random.Random(12345)
    with open(out12da, "w") as d12, open(outcsv, "w") as csv:
        d12.write('// bench input\nnull -999\nmodel "bench"\n\n')
        csv.write("id,WKT\n")
        for s in range(strings):
            x0 = 500000.0 + rnd.random() * 20000.0
            y0 = 6100000.0 + rnd.random() * 20000.0
            z0 = 10.0 + rnd.random() * 50.0
            pts = [(x0 + i * 12.345678, y0 + i * 3.210987, z0 + i * 0.125) for i in range(vertices)]
            d12.write('string 3d {\n  name "S%d"\n  colour red\n  breakline 1\n\n  data {\n' % s)
            for x, y, z in pts:
                d12.write("    %.6f %.6f %.6f\n" % (x, y, z))
            d12.write("  }\n}\n\n")
            csv.write('%d,"LINESTRING (%s)"\n' % (s, ",".join("%.6f %.6f" % (x, y) for x, y, _ in pts)))


if __name__ == "__main__":
    main()
