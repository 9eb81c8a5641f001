#!/bin/sh
# Copies a 1 GiB SEG-Y file disk to disk with `obrio copy segy`, `obrio copy raw` and cp,
# each a few times in turn, and prints the best throughput of each and the ratios to cp.
# The data file is made once and kept in build/bench-data/; the page cache is left as it is,
# so every run reads a cached input. Usage: bench/copy.sh [RUNS]
set -eu
. "$(dirname "$0")/copy_common.sh"
data="$top/build/bench-data"
input="$data/bench.sgy"
output="$data/out.sgy"

# 253,241 traces of 1000 IBM samples (4240 bytes) behind the 3600 header bytes: 1 GiB.
make_segy "$input" 253241 1000

# The copies are checked once before the timed runs: a comparison between runs would leave the
# page cache busier for the command after it than for the others.
for action in segy raw; do
    timed "$obrio" copy "$action" "$input" "$output" >/dev/null
    cmp -s "$input" "$output" || { echo "obrio copy $action: output differs" >&2; exit 1; }
done

cp_times=""
segy_times=""
raw_times=""
i=0
while [ "$i" -lt "$runs" ]; do
    cp_times="$cp_times $(timed cp "$input" "$output")"
    segy_times="$segy_times $(timed "$obrio" copy segy "$input" "$output")"
    raw_times="$raw_times $(timed "$obrio" copy raw "$input" "$output")"
    i=$((i + 1))
done
rm -f "$output"

cp_s=$(echo "$cp_times" | best)
segy_s=$(echo "$segy_times" | best)
raw_s=$(echo "$raw_times" | best)
echo "best of $runs runs, $size bytes, input in the page cache"
report "cp" "$cp_s"
report "obrio copy raw" "$raw_s"
report "obrio copy segy" "$segy_s"

# The multi-file copy and the SEG-D conversion, beside cp -r.
"$top/bench/segy_dir.sh" "$runs"
