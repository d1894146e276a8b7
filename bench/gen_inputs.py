#!/usr/bin/env python3
"""Writes the benchmark inputs: a 12da file of N strings of V vertices and a
CSV of the same lines as WKT (for ogr2ogr to turn into a shapefile).

With two more names it also writes what quenzel -shp writes, as CSV for
ogr2ogr: the lines (WKT) and the points (X, Y) with the five attribute
columns of the conversion, and .csvt files giving their types."""
import random
import sys

FIELDS = "Z,dZ,Width,Options,String_Type"
TYPES = '"Real","Real","Real","String(20)","String(20)"'


def main():
    out12da, outcsv, strings, vertices = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    shp_csvs = sys.argv[5:7] if len(sys.argv) >= 7 else None
    rnd = random.Random(12345)
    lines = points = None
    if shp_csvs:
        lines, points = open(shp_csvs[0], "w"), open(shp_csvs[1], "w")
        lines.write("WKT," + FIELDS + "\n")
        points.write("X,Y," + FIELDS + "\n")
        for name, head in ((shp_csvs[0], '"WKT",'), (shp_csvs[1], '"Real","Real",')):
            with open(name[:-4] + ".csvt", "w") as t:
                t.write(head + TYPES + "\n")
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
            wkt = "LINESTRING (%s)" % ",".join("%.6f %.6f" % (x, y) for x, y, _ in pts)
            csv.write('%d,"%s"\n' % (s, wkt))
            if shp_csvs:
                # A 3D string's polyline carries the file's null value.
                lines.write('"%s",-999.000,0.000,0.000,"","3d"\n' % wkt)
                for x, y, z in pts:
                    points.write('%.6f,%.6f,%.3f,0.000,0.000,"","3d"\n' % (x, y, z))
    if shp_csvs:
        lines.close()
        points.close()


if __name__ == "__main__":
    main()
