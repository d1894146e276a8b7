#!/usr/bin/env bash
# Throughput of the 12da-to-MIF and 12da-to-shapefile conversions against
# ogr2ogr writing the same layers. Not a test: figures only.
#   bench/run_bench.sh [strings] [vertices-per-string]
# Needs a release build (cmake --workflow --preset sample builds one) and
# gdal-bin for the comparison.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=${QUENZEL:-$here/../build/release/quenzel}
strings=${1:-200000}
vertices=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$here/gen_inputs.py" "$work/bench.12da" "$work/bench.csv" "$strings" "$vertices" \
  "$work/lines.csv" "$work/points.csv"
printf 'CoordSys Earth Projection 8, 33, "m", 153, 0, 0.9996, 500000, 10000000\n' > "$work/Header.mif"
printf '%s\n' 'PROJCS["GDA94 / MGA zone 56",GEOGCS["GDA94",DATUM["Geocentric_Datum_of_Australia_1994",SPHEROID["GRS 1980",6378137,298.257222101]],PRIMEM["Greenwich",0],UNIT["degree",0.0174532925199433]],PROJECTION["Transverse_Mercator"],PARAMETER["latitude_of_origin",0],PARAMETER["central_meridian",153],PARAMETER["scale_factor",0.9996],PARAMETER["false_easting",500000],PARAMETER["false_northing",10000000],UNIT["metre",1]]' > "$work/Header.prj"
total=$((strings * vertices))
size=$(du -m "$work/bench.12da" | cut -f1)
echo "input: $strings strings x $vertices vertices = $total vertices, ${size} MB of 12da"

# shellcheck source=timing.sh
. "$here/timing.sh"

read -r qs qmem < <(cd "$work" && seconds "$exe" -b -mif bench.12da)
echo "quenzel -b -mif: ${qs} s, peak ${qmem} KB"
qrate=$(rate $total "$qs")
echo "quenzel: $qrate vertices/s"

if command -v ogr2ogr > /dev/null; then
  ogr2ogr -f "ESRI Shapefile" "$work/bench.shp" "$work/bench.csv" -oo GEOM_POSSIBLE_NAMES=WKT -oo KEEP_GEOM_COLUMNS=NO
    # ogr2ogr will not write over its earlier output: each run starts clean.
  read -r os omem < <(seconds sh -c "rm -f '$work'/ogr.*; exec ogr2ogr -f 'MapInfo File' '$work/ogr.mif' '$work/bench.shp'")
  echo "ogr2ogr -f \"MapInfo File\": ${os} s, peak ${omem} KB"
  orate=$(rate $total "$os")
  echo "ogr2ogr: $orate vertices/s"
  python3 -c "print(f'ratio quenzel/ogr2ogr: {$qrate/$orate:.2f}')"
fi

# 12da to shapefile sets: the polyline set and the point set (every vertex
# has a height), against ogr2ogr writing the same polylines and points with
# the same five fields from CSV of the same coordinates.
read -r ss smem < <(cd "$work" && seconds "$exe" -b -shp bench.12da)
echo "quenzel -b -shp: ${ss} s, peak ${smem} KB"
srate=$(rate $total "$ss")
echo "quenzel -shp: $srate vertices/s"
# Peak memory at a quarter of the input: flat when it is about the same.
python3 "$here/gen_inputs.py" "$work/quarter.12da" "$work/quarter.csv" "$((strings / 4))" "$vertices"
read -r _ qsmem < <(cd "$work" && seconds "$exe" -b -shp quarter.12da)
echo "quenzel -b -shp peak memory: ${qsmem} KB at a quarter of the input, ${smem} KB at the whole"

if command -v ogr2ogr > /dev/null; then
  read -r gs gmem < <(seconds sh -c "cd '$work' && rm -f ogr_L.* ogr_P.* &&
    ogr2ogr -f 'ESRI Shapefile' ogr_L.shp lines.csv -oo GEOM_POSSIBLE_NAMES=WKT -oo KEEP_GEOM_COLUMNS=NO -nlt LINESTRING &&
    exec ogr2ogr -f 'ESRI Shapefile' ogr_P.shp points.csv -oo X_POSSIBLE_NAMES=X -oo Y_POSSIBLE_NAMES=Y -oo KEEP_GEOM_COLUMNS=NO -nlt POINT")
  echo "ogr2ogr -f \"ESRI Shapefile\" (lines, then points): ${gs} s, peak ${gmem} KB"
  grate=$(rate $total "$gs")
  echo "ogr2ogr: $grate vertices/s"
  python3 -c "print(f'ratio quenzel -shp/ogr2ogr: {$srate/$grate:.2f}')"
fi
