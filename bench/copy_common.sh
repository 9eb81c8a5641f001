# Sourced by the copy benchmarks (bench/copy.sh, bench/segy_dir.sh, bench/copy_segd.sh): builds
# the Release obrio and sets `top`, `runs` (the script's first argument, 3 by default) and
# `obrio`. The script sets `output` before it times anything, and `size` and `cp_s` before it
# reports.
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}

cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build/release" --target obrio --parallel 2 >/dev/null
obrio="$top/build/release/bin/obrio"

# Seconds one run takes; the output is removed (or left an empty directory with --empty) and the
# disk settled before, not timed.
timed() {
    rm -rf "$output"
    if [ "$1" = --empty ]; then
        shift
        mkdir -p "$output"
    fi
    sync
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

# Makes the SEG-Y file `file` unless it is there at its size (which `size` is set to): the headers
# of `samples` IBM samples a trace, then `traces` traces of random bytes.
make_segy() { # file traces samples
    trace=$((240 + 4 * $3))
    size=$((3600 + $2 * trace))
    mkdir -p "$(dirname "$1")"
    if [ -f "$1" ] && [ "$(stat -c %s "$1")" -eq "$size" ]; then
        return
    fi
    echo "making $1 ($size bytes)"
    {
        head -c 3220 /dev/zero
        printf "\\$(printf %03o $(($3 >> 8)))\\$(printf %03o $(($3 & 255)))\\000\\000\\000\\001"
        head -c 374 /dev/zero
        head -c $(($2 * trace)) /dev/urandom
    } >"$1"
}

# The least of the numbers on standard input, separated by spaces: on a shared machine a run can
# only be slowed by others, so the best run is the fairest measure of each command.
best() {
    tr ' ' '\n' | sort -n | awk 'NF { print; exit }'
}

# One result line: the name, the seconds, the throughput over `size` bytes and the share of cp's.
report() { # name seconds
    printf '%-28s %7.3f s  %8.1f MiB/s  %5.1f %% of cp\n' "$1" "$2" \
        "$(echo "$size / 1048576 / $2" | bc -l)" "$(echo "100 * $cp_s / $2" | bc -l)"
}
