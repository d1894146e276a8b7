#!/usr/bin/env bash
# Throughput of the 12da-to-MIF conversion against ogr2ogr writing MapInfo
# from a shapefile of the same lines. Not a test: figures only.
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

python3 "$here/gen_inputs.py" "$work/bench.12da" "$work/bench.csv" "$strings" "$vertices"
printf 'CoordSys Earth Projection 8, 33, "m", 153, 0, 0.9996, 500000, 10000000\n' > "$work/Header.mif"
total=$((strings * vertices))
size=$(du -m "$work/bench.12da" | cut -f1)
echo "input: $strings strings x $vertices vertices = $total vertices, ${size} MB of 12da"

# Best of three runs (this machine's timings vary from run to run): wall
# seconds and peak resident kilobytes.
seconds() {
  local best="" mem=""
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" > /dev/null 2>&1
    read -r t m < "$work/time.txt"
    if [ -z "$best" ] || python3 -c "import sys; sys.exit(0 if $t < $best else 1)"; then best=$t; fi
    mem=$m
  done
  echo "$best $mem"
}

read -r qs qmem < <(cd "$work" && seconds "$exe" -b -mif bench.12da)
echo "quenzel -b -mif: ${qs} s, peak ${qmem} KB"
qrate=$(python3 -c "print(f'{$total/max($qs,0.001):.0f}')")
echo "quenzel: $qrate vertices/s"

if command -v ogr2ogr > /dev/null; then
  ogr2ogr -f "ESRI Shapefile" "$work/bench.shp" "$work/bench.csv" -oo GEOM_POSSIBLE_NAMES=WKT -oo KEEP_GEOM_COLUMNS=NO
    # ogr2ogr will not write over its earlier output: each run starts clean.
  read -r os omem < <(seconds sh -c "rm -f '$work'/ogr.*; exec ogr2ogr -f 'MapInfo File' '$work/ogr.mif' '$work/bench.shp'")
  echo "ogr2ogr -f \"MapInfo File\": ${os} s, peak ${omem} KB"
  orate=$(python3 -c "print(f'{$total/max($os,0.001):.0f}')")
  echo "ogr2ogr: $orate vertices/s"
  python3 -c "print(f'ratio quenzel/ogr2ogr: {$qrate/$orate:.2f}')"
fi
