#!/bin/sh
# Times `obrio segy scan` against Debian's segyio reading every trace into float arrays, on a
# 1 GiB big-endian IBM float file and a 1 GiB little-endian IEEE float file (1,500 samples per
# trace); and against `cat FILE > /dev/null` on 1 GiB big-endian files of 16-bit unsigned integers
# (format 11) and IEEE doubles (format 6), which segyio does not read. The files are generated once
# and kept in build/bench-data. Usage: bench/segy_scan.sh [RUNS]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
data="$top/build/bench-data"
obrio="$top/build/release/bin/obrio"
python=/usr/bin/python3

cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build/release" --target obrio --parallel 2 >/dev/null
"$python" -c "import segyio, numpy" || { echo "python3-segyio and python3-numpy are needed" >&2; exit 1; }
mkdir -p "$data"

# Writes a SEG-Y file of about 1 GiB: standard headers, 1,500 samples per trace, 2 ms.
generate() { # path format(1|5|6|11) endian(big|little)
    [ -f "$1" ] && return 0
    echo "generating $1"
    "$python" - "$1" "$2" "$3" <<'PY'
import sys, numpy as np
path, code, endian = sys.argv[1], int(sys.argv[2]), sys.argv[3]
order = '>' if endian == 'big' else '<'
sample_type = {1: 'u4', 5: 'f4', 6: 'f8', 11: 'u2'}[code]
samples = 1500
length = 240 + samples * np.dtype(sample_type).itemsize
traces = (1 << 30) // length
t = np.arange(samples, dtype=np.float64) * 0.002
base = np.stack([(np.sin(2 * np.pi * (10 + k) * t) * np.exp(-t) * (1000 + 37 * k)).astype(np.float32)
                 for k in range(64)])
def ibm(x):
    x = x.astype(np.float64)
    sign = (x < 0).astype(np.uint32) << 31
    m, e = np.frexp(np.abs(x))
    exp16 = np.ceil(e / 4.0).astype(np.int64)
    frac = np.floor(np.abs(x) / np.power(16.0, exp16) * (1 << 24)).astype(np.uint32)
    word = sign | ((exp16 + 64).astype(np.uint32) << 24) | frac
    return np.where(x == 0, np.uint32(0), word).astype(np.uint32)
if code == 1:
    words = ibm(base)
elif code == 11:
    words = np.round(base.astype(np.float64) * 10 + 32768).astype(np.uint16)
else:
    words = base.astype(sample_type)
words = words.astype(order + sample_type)
text = np.full(3200, 0x40, dtype=np.uint8)
binary = np.zeros(200, dtype=order + 'i2')
binary[8], binary[10], binary[12] = 2000, samples, code          # bytes 17, 21, 25
binary[150] = 256                                               # revision, byte 301
block = 4096
with open(path, 'wb') as f:
    f.write(text.tobytes()); f.write(binary.tobytes())
    for first in range(0, traces, block):
        n = min(block, traces - first)
        rows = np.zeros((n, 60), dtype=order + 'u4')
        header = rows.view(order + 'i2').reshape(n, 120)
        seq = np.arange(first + 1, first + n + 1)
        rows[:, 0] = seq                                         # bytes 1-4
        rows[:, 2] = seq // 240 + 1                              # field file, bytes 9-12
        rows[:, 3] = seq % 240 + 1                               # channel, bytes 13-16
        header[:, 57], header[:, 58] = samples, 2000             # bytes 115-118
        header[:, 14] = 1                                        # trace id, bytes 29-30
        payload = words[seq % 64].view(np.uint8).reshape(n, -1)
        f.write(np.concatenate([rows.view(np.uint8).reshape(n, 240), payload], axis=1).tobytes())
PY
}

# Wall-clock seconds of one command, start-up included, as a user would see it.
seconds() {
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$start $end" | awk '{ printf "%.3f", $2 - $1 }'
}

peer_segyio() { # path endian
    env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE "$python" -c "
import sys, segyio
with segyio.open(sys.argv[1], ignore_geometry=True, endian=sys.argv[2]) as f:
    data = f.trace.raw[:]
print(data.shape, data.min(), data.max())" "$1" "$2"
}

peer_cat() { # path
    cat "$1" >/dev/null
}

compare() { # label path endian peer(segyio|cat)
    echo "$1: $(du -h "$2" | cut -f1), $runs runs each, best time"
    "$obrio" segy scan "$2" >/dev/null        # warms the page cache
    ours=999; theirs=999
    i=0
    while [ "$i" -lt "$runs" ]; do
        o=$(seconds "$obrio" segy scan "$2")
        t=$(seconds "peer_$4" "$2" "$3")
        echo "   run $((i + 1)): obrio segy scan ${o} s, $4 ${t} s"
        ours=$(echo "$ours $o" | awk '{ print ($2 < $1) ? $2 : $1 }')
        theirs=$(echo "$theirs $t" | awk '{ print ($2 < $1) ? $2 : $1 }')
        i=$((i + 1))
    done
    echo "   best: obrio ${ours} s, $4 ${theirs} s, ratio obrio/$4 $(echo "$ours $theirs" | awk '{ printf "%.2f", $1 / $2 }')"
    "$obrio" segy scan "$2" | sed 's/^/   /'
}

generate "$data/ibm-big-endian.sgy" 1 big
generate "$data/ieee-little-endian.sgy" 5 little
generate "$data/uint16-big-endian.sgy" 11 big
generate "$data/double-big-endian.sgy" 6 big
compare "IBM float, big endian" "$data/ibm-big-endian.sgy" big segyio
compare "IEEE float, little endian" "$data/ieee-little-endian.sgy" little segyio
compare "16-bit unsigned, big endian" "$data/uint16-big-endian.sgy" big cat
compare "IEEE double, big endian" "$data/double-big-endian.sgy" big cat
