#!/bin/sh
# Times `obrio sps check` and `obrio sps map` on a survey generated once in build/bench-data/sps:
# 100,000 sources (100 lines of 1,000), 500,000 receivers (500 lines of 1,000) and 100,000
# relation records of 240 channels each, in SPS 2.1 columns. Goals: the check within 2 s, the
# map within 1 s. Usage: bench/sps_check.sh [RUNS]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
data="$top/build/bench-data/sps"
obrio="$top/build/release/bin/obrio"

cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build/release" --target obrio --parallel 2 >/dev/null

if [ ! -f "$data/done" ]; then
    echo "generating the survey in $data"
    mkdir -p "$data"
    python3 - "$data" <<'PY'
import sys
folder = sys.argv[1]

def point(letter, line, station, x, y):
    # SPS 2.1: line 2-11, point 12-21, index 24, code 25-26, easting 47-55, northing 56-65, elevation 66-71.
    return "%s%10.2f%10.2f  1G1%20s%9.1f%10.1f%6.1f%9s\n" % (letter, line, station, "", x, y, 100.0, "")

with open(folder + "/survey.s", "w") as out:
    out.write("H00 SPS format version number    SPS 2.1\n")
    for line in range(100):
        for station in range(1000):
            out.write(point("S", 2000 + line, 1000 + station, 400000.0 + station * 25.0 + 12.5,
                            6000000.0 + line * 250.0 + 125.0))
with open(folder + "/survey.r", "w") as out:
    out.write("H00 SPS format version number    SPS 2.1\n")
    for line in range(500):
        for station in range(1000):
            out.write(point("R", 1000 + line, 1000 + station, 400000.0 + station * 25.0,
                            6000000.0 + line * 50.0))
with open(folder + "/survey.x", "w") as out:
    out.write("H00 SPS format version number    SPS 2.1\n")
    record = 0
    for line in range(100):
        for station in range(1000):
            record += 1
            receiver_line = 1000 + line * 5 + 2
            first = 1000 + max(0, min(station - 120, 1000 - 240))
            # Tape 2-7, record 8-15, increment 16, instrument 17, source line 18-27, point 28-37,
            # index 38, channels 39-43, 44-48, increment 49, receiver line 50-59, from 60-69, to 70-79, index 80.
            out.write("X%6d%8d11%10.2f%10.2f1%5d%5d1%10.2f%10.2f%10.2f1\n" % (
                1, record, 2000 + line, 1000 + station, 1, 240, receiver_line, first, first + 239))
PY
    touch "$data/done"
fi

best() { # command...: the best wall time of $runs runs, in seconds
    python3 - "$runs" "$@" <<'PY'
import subprocess, sys, time
runs, command = int(sys.argv[1]), sys.argv[2:]
best = 1e9
for _ in range(runs):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    best = min(best, time.perf_counter() - start)
print("%.3f" % best)
PY
}

echo "survey: $(($(wc -l < "$data/survey.s") - 1)) sources, $(($(wc -l < "$data/survey.r") - 1)) receivers, $(($(wc -l < "$data/survey.x") - 1)) relations"
"$obrio" sps check "$data/survey.s" "$data/survey.r" "$data/survey.x" | sed -n 4p
echo "sps check: $(best "$obrio" sps check "$data/survey.s" "$data/survey.r" "$data/survey.x") s (goal 2 s)"
echo "sps map: $(best "$obrio" sps map "$data/survey.s" "$data/survey.r" "$data/survey.x" --out "$data/map.png" --overwrite) s (goal 1 s)"
