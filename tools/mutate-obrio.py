"""A mutation run of obrio over real files from other programs (run through tools/mutate-obrio).

Each run takes one of the SEG-Y, SEG-D or SPS files of the real-data folder, damages a copy of it
(bit flips, byte runs set to 0x00 or 0xFF, a cut at a random point, a chunk inserted or repeated,
header fields set to extremes) and runs every read-only action of its kind on the copy, pictures
and tables written into a folder of their own. Each action must end without a crash, a hang or a
sanitizer report, with status 0 or 1, status 1 exactly when it wrote an error line, an error line
that names a file of the run, no output file left behind a status 1 and no temporary file at all.
Inputs that break a rule are kept in build/mutate/findings, one folder per finding.
"""

import concurrent.futures
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

TIMEOUT = 60  # seconds for one action; a hang is a finding
ERROR_PREFIX = " *** Error:"
USAGE_PREFIX = "obrio: "
SILENT_MARK = "without saying why"
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                   "UndefinedBehaviorSanitizer", "AddressSanitizer:", "==ABORTING")

# Fields a damaged header breaks most often: (offset, width) of the SEG-Y binary header (sample
# interval, samples, format, revision, extended counts, trace count, first trace offset), of
# the first trace header (samples, interval, scalars, coordinates) and of the SEG-D general header
# (format code, blocks, channel sets, extended and external blocks, record length) and its first
# channel set descriptor.
SEGY_FIELDS = [(3212, 2), (3214, 2), (3216, 2), (3218, 2), (3220, 2), (3222, 2), (3224, 2),
               (3226, 2), (3254, 2), (3268, 4), (3272, 8), (3296, 4), (3500, 2), (3502, 2),
               (3504, 2), (3506, 4), (3512, 8), (3520, 8), (3528, 4),
               (3600 + 68, 2), (3600 + 70, 2), (3600 + 72, 4), (3600 + 114, 2), (3600 + 116, 2),
               (3600 + 0, 4), (3600 + 8, 4), (3600 + 20, 4), (3600 + 108, 2)]
SEGD_FIELDS = [(2, 2), (10, 2), (12, 2), (20, 2), (22, 1), (23, 1), (24, 1), (25, 1), (26, 2),
               (28, 1), (29, 1), (30, 2), (32 + 3, 2), (32 + 10, 2), (32 + 12, 2),
               (32 + 14, 3), (64 + 0, 4), (64 + 8, 2), (96, 4), (96 + 2, 2), (96 + 4, 2),
               (96 + 8, 2)]
SORT_CODES = (0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12)
EXTREMES = [b"\x00", b"\xff", b"\x7f", b"\x80", b"\x99", b"\x01"]


def mutate(data, kind, rng):
    """A damaged copy of data and the words that say how."""
    data = bytearray(data)
    done = []
    for _ in range(rng.choice((1, 1, 1, 2, 3))):
        how = rng.choice(("flip", "flip", "run", "cut", "insert", "repeat", "field", "field"))
        if not data:
            break
        if how == "flip":
            for _ in range(rng.randint(1, 8)):
                at = rng.randrange(len(data))
                data[at] ^= 1 << rng.randrange(8)
            done.append("flip")
        elif how == "run":
            at = rng.randrange(len(data))
            length = rng.choice((1, 2, 4, 16, 64, 512))
            byte = rng.choice((0x00, 0xFF))
            data[at:at + length] = bytes([byte]) * len(data[at:at + length])
            done.append("run%02X@%d+%d" % (byte, at, length))
        elif how == "cut":
            at = rng.randrange(len(data))
            del data[at:]
            done.append("cut@%d" % at)
        elif how in ("insert", "repeat"):
            at = rng.randrange(len(data) + 1)
            length = rng.choice((1, 3, 240, 400, 4096))
            if how == "insert":
                chunk = bytes(rng.randrange(256) for _ in range(length))
            else:
                start = rng.randrange(len(data))
                chunk = bytes(data[start:start + length])
            data[at:at] = chunk
            done.append("%s@%d+%d" % (how, at, len(chunk)))
        else:
            if kind == "sps":
                # A number column of a data line set to an extreme or to rubbish.
                lines = data.split(b"\n")
                i = rng.randrange(len(lines))
                line = bytearray(lines[i])
                if line:
                    at = rng.randrange(len(line))
                    text = rng.choice((b"9999999999", b"-999999999", b"1e308", b"nan", b"    ", b"\t\t"))
                    line[at:at + len(text)] = text
                    lines[i] = bytes(line)
                data = bytearray(b"\n".join(lines))
                done.append("field@line%d" % i)
            else:
                fields = SEGY_FIELDS if kind == "segy" else SEGD_FIELDS
                at, width = rng.choice(fields)
                if at + width <= len(data):
                    fill = rng.choice(EXTREMES)
                    value = fill * width if fill not in (b"\x7f", b"\x80") else fill + rng.choice(
                        (b"\x00", b"\xff")) * (width - 1)
                    data[at:at + width] = value
                    done.append("field%d=%s" % (at, value.hex()))
    return bytes(data), "+".join(done) or "none"


def actions(kind, path, name, out, rng):
    """The read-only actions of a kind on one file: (label, arguments, output files)."""
    first = rng.choice((1, 1, 2, 5, 30, 80))
    last = str(rng.choice((first, first + 23, 74, 75, 1000, 2147483647)))
    last = str(max(int(last), first))
    first = str(first)
    window = rng.choice(([], [], ["--start", "100"], ["--start", "0", "--end", "50"],
                         ["--start", "1e6", "--end", "2e6"]))
    png = os.path.join(out, "picture.png")
    csv = os.path.join(out, "numbers.csv")
    if kind == "segy":
        sort = os.path.join(out, "sorted.sgy")
        return [
            ("segy info", ["segy", "info", path], []),
            ("segy info --json", ["segy", "info", "--json", path], []),
            ("segy headers", ["segy", "headers", path, "--first", first, "--last", last], []),
            ("segy dump", ["segy", "dump", path, "--trace", first], []),
            ("segy scan", ["segy", "scan", path, "--threads", rng.choice(("1", "2"))], []),
            ("segy sort", ["segy", "sort", path, "--by", str(rng.choice(SORT_CODES)), "--out", sort],
             [sort]),
            ("segy plot", ["segy", "plot", path, "--out", png, "--first", first, "--last", last] +
             window + rng.choice(([], ["--mode", "density"], ["--mode", "wiggle", "--agc", "50"])),
             [png]),
            ("segy histogram", ["segy", "histogram", path, "--out", png, "--csv", csv] + window,
             [png, csv]),
            ("segy spectrum", ["segy", "spectrum", path, "--out", png, "--csv", csv, "--first",
                               first] + window, [png, csv]),
        ]
    if kind == "segd":
        return [
            ("segd info", ["segd", "info", path], []),
            ("segd info --json", ["segd", "info", "--json", path], []),
            ("segd headers", ["segd", "headers", path, "--csv", csv], [csv]),
            ("segd dump", ["segd", "dump", path, "--start", str(rng.choice((1, 33, 5000))),
                           "--count", str(rng.choice((64, 256, 100000)))], []),
            ("segd scan", ["segd", "scan", path, "--threads", rng.choice(("1", "2"))], []),
            ("segd plot", ["segd", "plot", path, "--out", png, "--first", first, "--last", last] +
             window, [png]),
        ]
    letter = {"s": "S", "r": "R", "x": "X"}.get(name[2:3], "S")
    layout = rng.choice(([], ["--layout", "sps21"]))
    return [
        ("sps ranges", ["sps", "ranges", "--kind", letter, path] + layout, []),
        ("sps ranges --json", ["sps", "ranges", "--json", "--kind", letter, path] + layout, []),
        ("sps layout", ["sps", "layout", "--kind", letter, path], []),
    ]


def judge(result, path, outputs, out):
    """The kinds of finding of one action's result (empty when it kept every rule)."""
    status, err, seconds = result
    found = []
    if status is None:
        return ["hang"]
    if status < 0:
        found.append("crash")
    if any(mark in err for mark in SANITIZER_MARKS):
        found.append("sanitizer")
    lines = err.splitlines()
    errors = [line for line in lines if line.startswith(ERROR_PREFIX)]
    usage = [line for line in lines if line.startswith(USAGE_PREFIX)]
    if status >= 0 and status not in (0, 1):
        found.append("status-%d" % status)
    if usage:
        found.append("usage-error")
    if status == 0 and errors:
        found.append("error-with-status-0")
    if status == 1 and not errors:
        found.append("status-1-without-error")
    if any(SILENT_MARK in line for line in errors):
        found.append("silent-failure")
    names = {os.path.basename(path)} | {os.path.basename(o) for o in outputs}
    if errors and not any(any(n in line for n in names) for line in errors):
        found.append("error-names-no-file")
    left = sorted(os.listdir(out))
    if status == 1 and any(os.path.basename(o) in left for o in outputs):
        found.append("output-left-on-failure")
    if any(name not in {os.path.basename(o) for o in outputs} for name in left):
        found.append("temporary-file-left")
    return found


def run_action(obrio, arguments, home):
    environment = dict(os.environ)
    environment.update({
        "HOME": home, "XDG_CONFIG_HOME": os.path.join(home, ".config"),
        "QT_QPA_PLATFORM": "offscreen",
        "ASAN_OPTIONS": "detect_leaks=1:abort_on_error=0",
        "UBSAN_OPTIONS": "print_stacktrace=1",
    })
    started = time.monotonic()
    try:
        done = subprocess.run([obrio] + arguments, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, env=environment, timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        return None, "", TIMEOUT
    return done.returncode, done.stderr.decode("utf-8", "replace"), time.monotonic() - started


def one_run(number, seed, obrio, inputs, work, findings, per_run):
    rng = random.Random(seed * 1000003 + number)
    kind = rng.choice(sorted({k for k, _ in inputs}))
    kind, source = rng.choice([i for i in inputs if i[0] == kind])
    name = os.path.basename(source)
    with open(source, "rb") as f:
        mutant, how = mutate(f.read(), kind, rng)
    folder = os.path.join(work, "run%05d" % number)
    os.makedirs(folder)
    home = os.path.join(folder, "home")
    os.makedirs(home)
    path = os.path.join(folder, "m%05d-%s" % (number, name))
    with open(path, "wb") as f:
        f.write(mutant)
    rows = []
    chosen = actions(kind, path, name, os.path.join(folder, "out"), rng)
    if per_run and per_run < len(chosen):
        chosen = rng.sample(chosen, per_run)
    for label, arguments, outputs in chosen:
        out = os.path.join(folder, "out")
        shutil.rmtree(out, ignore_errors=True)
        os.makedirs(out)
        result = run_action(obrio, arguments, home)
        found = judge(result, path, outputs, out)
        rows.append((label, result[0], found))
        if found:
            keep = os.path.join(findings, "%s-run%05d-%s" % (found[0], number, label.replace(" ", "_")))
            os.makedirs(keep, exist_ok=True)
            shutil.copy(path, keep)
            with open(os.path.join(keep, "what.txt"), "w") as f:
                f.write("source: %s\nmutation: %s\nfindings: %s\nstatus: %s\ncommand: obrio %s\n\n%s" % (
                    source, how, " ".join(found), result[0], " ".join(arguments), result[1]))
    shutil.rmtree(folder, ignore_errors=True)
    return number, name, how, rows


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else int(time.time()) % 100000
    obrio, realdata, top = os.environ["OBRIO"], os.environ["REALDATA"], os.environ["MUTATE_DIR"]
    jobs = int(os.environ.get("MUTATE_JOBS", os.cpu_count() or 1))
    per_run = int(os.environ.get("MUTATE_ACTIONS", "0"))
    inputs = []
    for kind, folder, pattern in (("segy", "segy", r"\.sgy$"), ("segd", "segd", r"\.segd$"),
                                  ("sps", "sps", r"\.txt$")):
        where = os.path.join(realdata, folder)
        for name in sorted(os.listdir(where)) if os.path.isdir(where) else []:
            if re.search(pattern, name):
                inputs.append((kind, os.path.join(where, name)))
    if not inputs:
        print("mutate-obrio: no SEG-Y, SEG-D or SPS files in %s" % realdata)
        return 2
    findings = os.path.join(top, "findings")
    os.makedirs(findings, exist_ok=True)
    os.makedirs(top, exist_ok=True)
    work = tempfile.mkdtemp(prefix="work.", dir=top)
    print("mutate-obrio: %d runs, seed %d, %d files, %s actions a run, %d runs at a time, obrio %s" % (
        runs, seed, len(inputs), per_run or "all", jobs, obrio))
    started = time.monotonic()
    table = {}
    kinds = {}
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        futures = [pool.submit(one_run, n, seed, obrio, inputs, work, findings, per_run) for n in range(1, runs + 1)]
        for future in concurrent.futures.as_completed(futures):
            number, name, how, rows = future.result()
            for label, status, found in rows:
                entry = table.setdefault(label, [0, 0, 0, 0])
                entry[0] += 1
                if status == 0:
                    entry[1] += 1
                elif status == 1:
                    entry[2] += 1
                if found:
                    entry[3] += 1
                    for kind in found:
                        kinds[kind] = kinds.get(kind, 0) + 1
                    print("finding: run %d (%s, %s) %s: %s" % (number, name, how, label, " ".join(found)))
    shutil.rmtree(work, ignore_errors=True)
    seconds = time.monotonic() - started
    print()
    print("%-20s %7s %9s %9s %9s" % ("action", "runs", "status 0", "status 1", "findings"))
    for label in sorted(table):
        print("%-20s %7d %9d %9d %9d" % ((label,) + tuple(table[label])))
    print()
    if kinds:
        print("findings by kind:")
        for kind in sorted(kinds):
            print("  %-26s %d" % (kind, kinds[kind]))
        print("inputs kept in %s" % findings)
    else:
        print("findings by kind: none")
    total = sum(entry[0] for entry in table.values())
    print("%d runs, %d actions in %.0f s (seed %d)" % (runs, total, seconds, seed))
    return 1 if kinds else 0


if __name__ == "__main__":
    sys.exit(main())
