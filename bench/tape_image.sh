#!/bin/sh
# Copies a 530 MB SEG-Y file to a SIMH and a Tape-In-File tape image with `obrio copy segy` and back
# from each image to disk, beside cp of the same file, each a few times in turn, and prints the best
# time of each and the ratios to cp. The data file is made once and kept in build/bench-data/; the
# images are made empty before each write, untimed. Usage: bench/tape_image.sh [RUNS]
set -eu
. "$(dirname "$0")/copy_common.sh"
data="$top/build/bench-data"
input="$data/tape.sgy"
output="$data/from-tape.sgy"

# 85,000 traces of 1500 IBM samples (6240 bytes, one block each on tape) behind the 3600 header bytes.
make_segy "$input" 85000 1500

# Seconds of one copy of the input to a new, empty image (`--tif` for Tape-In-File).
timed_write() { # image [--tif]
    rm -f "$1" "$1.ini"
    "$obrio" tape create "$@" >/dev/null
    sync
    start=$(date +%s.%N)
    "$obrio" copy segy "$input" "tape:$1" >/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

simh="$data/bench.tap"
tif="$data/bench.tif"
# Checked once before the timed runs: the copy back from each image is the input.
for image in "$simh" "$tif"; do
    timed_write "$image" $([ "$image" = "$tif" ] && echo --tif) >/dev/null
    timed "$obrio" copy segy "tape:$image" "$output" >/dev/null
    cmp -s "$input" "$output" || { echo "obrio copy segy through $image: output differs" >&2; exit 1; }
done

cp_times=""
simh_write=""
simh_read=""
tif_write=""
tif_read=""
i=0
while [ "$i" -lt "$runs" ]; do
    cp_times="$cp_times $(timed cp "$input" "$output")"
    simh_write="$simh_write $(timed_write "$simh")"
    simh_read="$simh_read $(timed "$obrio" copy segy "tape:$simh" "$output")"
    tif_write="$tif_write $(timed_write "$tif" --tif)"
    tif_read="$tif_read $(timed "$obrio" copy segy "tape:$tif" "$output")"
    i=$((i + 1))
done
rm -f "$output" "$simh" "$simh.ini" "$tif" "$tif.ini"

cp_s=$(echo "$cp_times" | best)
echo "best of $runs runs, $size bytes, input in the page cache"
report "cp" "$cp_s"
report "obrio copy segy to SIMH" "$(echo "$simh_write" | best)"
report "obrio copy segy from SIMH" "$(echo "$simh_read" | best)"
report "obrio copy segy to TIF" "$(echo "$tif_write" | best)"
report "obrio copy segy from TIF" "$(echo "$tif_read" | best)"
