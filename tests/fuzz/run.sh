#!/usr/bin/env bash
# Builds the fuzz harnesses (preset "fuzz") and runs each of them for the
# given number of seconds (default 60), all at once. Ends non-zero when any
# harness finds a crash, a hang, a sanitizer report or a leak, and prints the
# path of the input that reproduces it.
#
#   tests/fuzz/run.sh [seconds] [harness ...]
#
# QUENZEL_FUZZ_OUT: folder for the grown corpora, logs and reproducers
# (default: a fresh temporary folder). The committed seed corpora are never
# changed.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
seconds="${1:-60}"
shift || true

cd "$root"
cmake --workflow --preset fuzz >/dev/null || { echo "fuzz build failed" >&2; exit 2; }
bin="$root/build/fuzz/fuzz"

if [ $# -gt 0 ]; then names=("$@"); else
  names=()
  for f in "$bin"/fuzz_*; do names+=("${f##*/fuzz_}"); done
fi

out="${QUENZEL_FUZZ_OUT:-$(mktemp -d /tmp/quenzel-fuzz-run.XXXXXX)}"
mkdir -p "$out"
pids=()
for name in "${names[@]}"; do
  mkdir -p "$out/$name/corpus" "$out/$name/artifacts"
  [ -d "$here/corpus/$name" ] && cp -n "$here/corpus/$name"/* "$out/$name/corpus/" 2>/dev/null
  dict=()
  [ -f "$here/dict/$name.dict" ] && dict=("-dict=$here/dict/$name.dict")
  (
    cd "$out/$name" &&
    "$bin/fuzz_$name" corpus "${dict[@]}" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$out/$name/artifacts/" -print_final_stats=1 \
      >"$out/$name/log" 2>&1
  ) &
  pids+=($!)
done

status=0
for i in "${!names[@]}"; do
  name="${names[$i]}"
  if wait "${pids[$i]}"; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/$name/log" | grep -o '[0-9]*$')
    corpus=$(ls "$out/$name/corpus" | wc -l)
    echo "fuzz_$name: ok, ${runs:-?} executions, corpus $corpus inputs"
  else
    status=1
    echo "fuzz_$name: FINDING (log: $out/$name/log)"
    for a in "$out/$name/artifacts"/*; do [ -e "$a" ] && echo "  reproducer: $a"; done
    grep -m3 -E 'ERROR: |runtime error|SUMMARY' "$out/$name/log" | sed 's/^/  /'
  fi
done
echo "output: $out"
exit $status
