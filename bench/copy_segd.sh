#!/bin/sh
# Copies a directory of SEG-D field files (1 GiB in all) disk to disk with `obrio copy segd` and
# with `cp -r`, each a few times in turn, and prints the best throughput of each and the ratio
# to cp. The field files are made once and kept in build/bench-data/segd-copy/ (segd/ is
# segd_read.sh's); the page cache is left as it is, so every run reads a cached input.
# Usage: bench/copy_segd.sh [RUNS]
set -eu
. "$(dirname "$0")/copy_common.sh"
data="$top/build/bench-data"
input="$data/segd-copy"
output="$data/segd-out"

# 107 field files of SEG-D revision 2.1: 128 header bytes (three general header blocks and one
# channel set of 2500 seismic channels of 1001 IEEE samples at 1 ms), then 2500 traces of a
# 20-byte trace header and 4004 bytes of samples.
files=107
traces=2500
file_size=$((128 + traces * 4024))
size=$((files * file_size))
if [ "$(cat "$input"/*.sgd 2>/dev/null | wc -c)" -ne "$size" ]; then
    echo "making $files field files in $input ($size bytes)"
    rm -rf "$input"
    mkdir -p "$input"
    first="$input/00001.sgd"
    {
        # General header block 1: field file 1, format 8058, year 26, two more blocks, day 001,
        # 12:00:00, base scan interval 1 ms, record length in block 2, one scan type and channel set.
        printf '\000\001\200\130\000\000\000\000\000\000\046\040\001\022\000\000'
        printf '\000\000\000\000\000\000\020\000\000\217\377\001\001\000\000\000'
        # Block 2: field file 1, revision 2.1, record length 1000 ms.
        printf '\000\000\001\000\000\000\000\000\000\000\002\001\000\000\000\003\350\000\002'
        head -c 13 /dev/zero
        # Block 3.
        head -c 18 /dev/zero
        printf '\003'
        head -c 13 /dev/zero
        # The channel set: 0 to 1000 ms, 2500 seismic channels, no trace header extensions.
        printf '\001\001\000\000\001\364\000\000\045\000\020'
        head -c 21 /dev/zero
        i=0
        while [ "$i" -lt "$traces" ]; do
            printf '\000\001\001\001\000\001'
            head -c 14 /dev/zero
            head -c 4004 /dev/urandom
            i=$((i + 1))
        done
    } >"$first"
    n=2
    while [ "$n" -le "$files" ]; do
        cp "$first" "$input/$(printf '%05d' "$n").sgd"
        n=$((n + 1))
    done
fi

cp_times=""
segd_times=""
i=0
while [ "$i" -lt "$runs" ]; do
    cp_times="$cp_times $(timed cp -r "$input" "$output")"
    segd_times="$segd_times $(timed --empty "$obrio" copy segd "$input" "$output")"
    diff -r "$input" "$output" >/dev/null || { echo "obrio copy segd: output differs" >&2; exit 1; }
    i=$((i + 1))
done
rm -rf "$output"

cp_s=$(echo "$cp_times" | best)
segd_s=$(echo "$segd_times" | best)
echo "best of $runs runs, $files field files, $size bytes, input in the page cache"
report "cp -r" "$cp_s"
report "obrio copy segd" "$segd_s"
