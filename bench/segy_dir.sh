#!/bin/sh
# Copies a directory of 32 SEG-Y files (1 GiB together) with `obrio copy segy-dir`, converts it
# with `obrio convert segy-to-segd --rev 2.1` and copies it with `cp -r`, each a few times in
# turn, and prints the best throughput of each and the ratios to cp. The data are made once
# and kept in build/bench-data/segydir/; the page cache is left as it is, so every run reads
# cached input. Usage: bench/segy_dir.sh [RUNS]
set -eu
. "$(dirname "$0")/copy_common.sh"
data="$top/build/bench-data/segydir"
input="$data/in"
output="$data/out"

# 32 files of 7,915 traces of 1000 IBM samples at 2 ms (4240 bytes a trace): 1 GiB together,
# each within the 9,999 traces a SEG-D field file numbers.
files=32
traces=7915
file_size=$((3600 + traces * 4240))
size=$((files * file_size))
mkdir -p "$input"
if [ "$(ls "$input" | wc -l)" -ne "$files" ] || [ "$(stat -c %s "$input/f01.sgy")" -ne "$file_size" ]; then
    echo "making $files files of $file_size bytes in $input"
    rm -f "$input"/*.sgy
    {
        head -c 3216 /dev/zero
        printf '\007\320\000\000\003\350\000\000\000\001'
        head -c 374 /dev/zero
        # The first trace header, whose values the SEG-D headers take, zero: random ones may state
        # a recording delay before time zero, which SEG-D 2.1 refuses.
        head -c 240 /dev/zero
        head -c $((traces * 4240 - 240)) /dev/urandom
    } >"$input/f01.sgy"
    i=2
    while [ "$i" -le "$files" ]; do
        cp "$input/f01.sgy" "$input/f$(printf %02d "$i").sgy"
        i=$((i + 1))
    done
fi

cp_times=""
copy_times=""
convert_times=""
i=0
while [ "$i" -lt "$runs" ]; do
    cp_times="$cp_times $(timed --empty cp -r "$input/." "$output")"
    copy_times="$copy_times $(timed --empty "$obrio" copy segy-dir "$input" "$output")"
    diff -r "$input" "$output" >/dev/null || { echo "obrio copy segy-dir: output differs" >&2; exit 1; }
    convert_times="$convert_times $(timed --empty "$obrio" convert segy-to-segd "$input" "$output" --rev 2.1)"
    [ "$(ls "$output" | wc -l)" -eq "$files" ] || { echo "obrio convert segy-to-segd: files missing" >&2; exit 1; }
    i=$((i + 1))
done
rm -rf "$output"

cp_s=$(echo "$cp_times" | best)
copy_s=$(echo "$copy_times" | best)
convert_s=$(echo "$convert_times" | best)
echo "best of $runs runs, $files files, $size bytes, input in the page cache"
report "cp -r" "$cp_s"
report "obrio copy segy-dir" "$copy_s"
report "obrio convert segy-to-segd" "$convert_s"
