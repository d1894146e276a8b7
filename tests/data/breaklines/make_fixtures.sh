#!/bin/sh
# Makes the layers of the breakline tests from their GeoJSON sources (GDAL's
# ogr2ogr); run in this folder. The files made are committed beside it.
set -e
rm -f lines2d.mif lines2d.mid roads.* zln.mif zln.mid zln_points.* zln_lines.* \
  control_names.shp control_names.shx control_names.dbf
ogr2ogr -f "MapInfo File" lines2d.mif lines2d.geojson
ogr2ogr -f "ESRI Shapefile" roads.shp lines2d.geojson -nln roads \
  -where "OGR_GEOMETRY='LINESTRING' OR OGR_GEOMETRY='MULTILINESTRING'"
ogr2ogr -f "MapInfo File" zln.mif zln.geojson
for f in "MapInfo File:mif" "ESRI Shapefile:shp"; do
  ogr2ogr -f "${f%:*}" zln_points.${f#*:} zln.geojson -nln zln_points -where "OGR_GEOMETRY='POINT'"
  ogr2ogr -f "${f%:*}" zln_lines.${f#*:} zln.geojson -nln zln_lines \
    -where "OGR_GEOMETRY='LINESTRING' OR OGR_GEOMETRY='MULTILINESTRING'"
done
# Names holding LF, CR and lines of a 12da string block; ogr2ogr writes them
# into the .dbf as they stand. No .prj: the names are what matters.
ogr2ogr -f "ESRI Shapefile" control_names.shp control_names.geojson
rm -f control_names.prj
# expected/ holds the outputs of the tests' runs, checked by hand: the
# heights follow from the points and the chainages of the lines.
