#!/usr/bin/env bash
# Throughput of the GIS-to-12da breakline conversions. Not a test: figures only.
#   bench/breaklines_bench.sh [polylines] [zln-size]
# 2D: quenzel -b on a MIF of polylines of 10 vertices against ogr2ogr turning
# the same MIF into a shapefile (both read the whole MIF and write every
# vertex). -zln: points and lines of zln-size points and vertices, then 10x
# both; with the snapping index the time grows about linearly.
# Needs a release build (cmake --workflow --preset sample builds one) and
# gdal-bin for the comparison.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=${QUENZEL:-$here/../build/release/quenzel}
polylines=${1:-200000}
zlnsize=${2:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=timing.sh
. "$here/timing.sh"

python3 "$here/gen_breaklines.py" lines "$work/lines.mif" "$polylines" 10
total=$((polylines * 10))
echo "2D: $polylines polylines x 10 vertices = $total vertices, $(du -m "$work/lines.mif" | cut -f1) MB of MIF"
read -r qs _ < <(cd "$work" && seconds "$exe" -b lines.mif)
echo "quenzel -b lines.mif: ${qs} s, $(rate $total "$qs") vertices/s"
if command -v ogr2ogr > /dev/null; then
  read -r os _ < <(seconds sh -c "rm -f '$work'/ogr.*; exec ogr2ogr -f 'ESRI Shapefile' '$work/ogr.shp' '$work/lines.mif'")
  echo "ogr2ogr -f \"ESRI Shapefile\": ${os} s, $(rate $total "$os") vertices/s"
  python3 -c "print(f'ratio quenzel/ogr2ogr: {$os/max($qs,0.001):.2f}')"
fi

prev=""
for n in "$zlnsize" $((zlnsize * 10)); do
  python3 "$here/gen_breaklines.py" zln "$work/pts.mif" "$work/brk.mif" "$n" "$n"
  read -r zs _ < <(cd "$work" && seconds "$exe" -b -zln pts.mif brk.mif)
  echo "-zln: $n points, $n vertices: ${zs} s"
  if [ -n "$prev" ]; then python3 -c "print(f'-zln time for 10x input: {$zs/max($prev,0.001):.1f}x')"; fi
  prev=$zs
done
