#!/bin/sh
# Times `obrio segd scan` against `cat DIR/* > /dev/null` on three directories of SEG-D revision
# 2.1 field files generated once in build/bench-data/segd: 8058 (IEEE float) and 8036 (24-bit
# integer) files of 1,000 traces of 2,001 samples at 1 ms, together more than 1 GiB, and 10,000
# small 8058 files of 12 traces of 501 samples, where the cost per file counts. Both commands
# read from the page cache, warmed first. Usage: bench/segd_read.sh [RUNS]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
data="$top/build/bench-data/segd"
obrio="$top/build/release/bin/obrio"

cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build/release" --target obrio --parallel 2 >/dev/null

# Writes count field files of the format code into directory (unless it is there already), each
# of one channel set of traces (default 1,000) of samples (default 2,001).
# The mark of a finished directory lies beside it, so the scan does not meet it among the files.
generate() { # directory format(8058|8036) count [traces samples]
    [ -f "$1.done" ] && return 0
    echo "generating $3 field files of format $2 in $1"
    mkdir -p "$1"
    python3 - "$1" "$2" "$3" "${4:-1000}" "${5:-2001}" <<'PY'
import math, struct, sys
directory = sys.argv[1]
code, count, traces, samples = map(int, sys.argv[2:6])
extensions = 7

def bcd(value, digits):
    text = str(value).rjust(digits + digits % 2, '0')
    return bytes(int(text[i]) << 4 | int(text[i + 1]) for i in range(0, len(text), 2))

def put(buffer, byte, data):
    buffer[byte - 1:byte - 1 + len(data)] = data

# Above 9999 the BCD file number is FFFF and the expanded one (binary, written anyway) counts.
def file_number(field_file):
    return bcd(field_file, 4) if field_file <= 9999 else b'\xff\xff'

def general_header(field_file):
    h = bytearray(96)
    put(h, 1, file_number(field_file))
    put(h, 3, bcd(code, 4))
    put(h, 11, bcd(26, 2))
    put(h, 12, bcd(123, 4))
    h[11] |= 2 << 4                      # two more general header blocks
    put(h, 14, bcd(120000, 6))
    put(h, 17, bcd(13 if code == 8058 else 20, 2))
    h[22] = 16                           # 1 ms
    put(h, 26, (0x8FFF).to_bytes(2, 'big'))
    put(h, 28, bcd(1, 2))
    put(h, 29, bcd(1, 2))
    put(h, 31, bcd(0, 2))
    put(h, 32, bcd(0, 2))
    put(h, 33, field_file.to_bytes(3, 'big'))
    h[42], h[43] = 2, 1                  # revision 2.1
    put(h, 47, (samples - 1).to_bytes(3, 'big'))
    h[50], h[82] = 2, 3
    d = bytearray(32)
    put(d, 1, bcd(1, 2))
    put(d, 2, bcd(1, 2))
    put(d, 5, ((samples - 1 + 1) // 2).to_bytes(2, 'big'))
    put(d, 9, bcd(traces, 4))
    d[10] = 1 << 4                       # seismic
    d[28] = extensions
    return bytes(h + d)

def payload(k):
    values = [math.sin(2 * math.pi * (10 + k) * i / 1000.0) * math.exp(-i / 1000.0) * (1000 + 37 * k)
              for i in range(samples)]
    if code == 8058:
        return struct.pack('>%df' % samples, *values)
    return b''.join((int(v * 1000) & 0xFFFFFF).to_bytes(3, 'big') for v in values)

payloads = [payload(k) for k in range(64)]
for f in range(count):
    field_file = 1001 + f
    chunks = [general_header(field_file)]
    for t in range(traces):
        h = bytearray(20 + 32 * extensions)
        put(h, 1, file_number(field_file))
        put(h, 3, bcd(1, 2))
        put(h, 4, bcd(1, 2))
        put(h, 5, bcd(t + 1, 4))
        h[9] = extensions
        put(h, 18, field_file.to_bytes(3, 'big'))
        put(h, 28, samples.to_bytes(3, 'big'))
        chunks.append(bytes(h))
        chunks.append(payloads[t % 64])
    with open('%s/%08d.segd' % (directory, field_file), 'wb') as out:
        out.write(b''.join(chunks))
open(directory + '.done', 'w').close()
PY
}

# Wall-clock seconds of one command, start-up included, as a user would see it.
seconds() {
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$start $end" | awk '{ printf "%.3f", $2 - $1 }'
}

readAll() { cat "$1"/*.segd >/dev/null; }

compare() { # label directory
    bytes=$(cat "$2"/*.segd | wc -c)
    echo "$1: $(ls "$2"/*.segd | wc -l) files, $(echo "$bytes" | awk '{ printf "%.0f", $1 / 1e6 }') MB, $runs runs each, best time"
    readAll "$2"
    "$obrio" segd scan "$2" >/dev/null       # warms the page cache
    ours=999; theirs=999
    i=0
    while [ "$i" -lt "$runs" ]; do
        o=$(seconds "$obrio" segd scan "$2")
        c=$(seconds readAll "$2")
        echo "   run $((i + 1)): obrio segd scan ${o} s, cat ${c} s"
        ours=$(echo "$ours $o" | awk '{ print ($2 < $1) ? $2 : $1 }')
        theirs=$(echo "$theirs $c" | awk '{ print ($2 < $1) ? $2 : $1 }')
        i=$((i + 1))
    done
    echo "$bytes $ours $theirs" | awk '{ printf "   best: obrio %.0f MB/s, cat %.0f MB/s: obrio at %.0f%% of cat\n", $1 / 1e6 / $2, $1 / 1e6 / $3, 100 * $3 / $2 }'
    "$obrio" segd scan "$2" | tail -2 | sed 's/^/   /'
}

generate "$data/8058" 8058 70
generate "$data/8036" 8036 90
generate "$data/many" 8058 10000 12 501
compare "8058 (IEEE float)" "$data/8058"
compare "8036 (24-bit integer)" "$data/8036"
compare "10000 small files (8058)" "$data/many"
