#!/bin/sh
# Makes the shapefile fixtures of the reader and writer tests from the
# GeoJSON beside this script (GDAL 3.6 ogr2ogr; the .prj files are dropped:
# the tests do not use them). Run here: sh make.sh
set -eu
rm -f ./*.shp ./*.shx ./*.dbf ./*.prj ./*.cpg
for f in point lines shapes multipoint pointz; do
  ogr2ogr -f "ESRI Shapefile" "$f.shp" "$f.geojson"
done
# The record "Gone" marked deleted in the table; its shape stays in the .shp.
ogrinfo -q -update -oo AUTO_REPACK=NO lines.shp -dialect SQLite -sql "DELETE FROM lines WHERE name = 'Gone'"
# ogr2ogr writes no F or L fields: width becomes F(24, 15) and lit, an
# N(1) of 0 and 1, becomes L with F and T.
python3 - <<'PY'
import struct
d = bytearray(open("lines.dbf", "rb").read())
header, length = struct.unpack("<HH", d[8:10] + d[10:12])
count = struct.unpack("<I", d[4:8])[0]
offset = 1
for k in range(32, header - 1, 32):
    name = bytes(d[k:k + 11]).rstrip(b"\0")
    if name == b"width":
        d[k + 11] = ord("F")
    if name == b"lit":
        d[k + 11] = ord("L")
        for r in range(count):
            at = header + r * length + offset
            d[at] = ord("T") if d[at] == ord("1") else ord("F")
    offset += d[k + 16]
open("lines.dbf", "wb").write(d)
PY
rm -f ./*.prj ./*.cpg
