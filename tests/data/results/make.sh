#!/bin/sh
# Makes the result-point layers of the -results tests from the GeoJSON
# sources beside this script (GDAL's ogr2ogr). The shapefile sets hold the
# points only: a shapefile cannot mix points and lines.
set -e
cd "$(dirname "$0")"
rm -f scalar.mif scalar.mid scalar.shp scalar.shx scalar.dbf scalar.prj scalar.cpg
rm -f vector.mif vector.mid vector.shp vector.shx vector.dbf vector.prj vector.cpg
for name in scalar vector; do
  ogr2ogr -f "MapInfo File" "$name.mif" "$name.geojson"
  ogr2ogr -f "ESRI Shapefile" "$name.shp" "$name.geojson" -where "OGR_GEOMETRY='POINT'"
done
rm -f *.prj *.cpg
