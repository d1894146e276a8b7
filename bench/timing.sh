# Timing helpers of the benchmark scripts, sourced by them; they keep their
# scratch files in the caller's $work folder.

# Best of three runs of a command (this machine's timings vary from run to
# run): wall seconds and the peak resident kilobytes of the last run.
seconds() {
  local best="" mem="" t m
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" > /dev/null 2>&1
    read -r t m < <(tail -1 "$work/time.txt")
    if [ -z "$best" ] || python3 -c "import sys; sys.exit(0 if $t < $best else 1)"; then best=$t; fi
    mem=$m
  done
  echo "$best $mem"
}

# Items per second: rate <items> <seconds>.
rate() { python3 -c "print(f'{$1/max($2,0.001):.0f}')"; }
