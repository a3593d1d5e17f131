#!/usr/bin/env bash
# Start-up benchmark: Tavolin.exe against a minimal one-window Win32 program
# (tests/bench/startup_baseline.cpp) of the same build, both under Wine in
# the build's virtual desktop. Prints for each the median time from process
# start until its main window is visible and answers messages (Tavolin: also
# its status text is set, which happens after the table is loaded), and the
# memory in use once started (private bytes and working set, read 500 ms
# after that moment), each as a ratio to the baseline, plus the size of
# Tavolin.exe.
#   scripts/bench-startup.sh [runs]        (default 7 runs of each)
# BUILD_DIR picks the MinGW build (default build/windows; configured and
# built here when needed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-7}
BUILD_DIR=${BUILD_DIR:-$root/build/windows}

if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
fi
cmake --build "$BUILD_DIR" -j "$(nproc)" --target Tavolin probe startup_baseline >/dev/null

source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_prepare
wine_env_screen
wine_env_warm

export BENCH_RUNS=$runs
export BENCH_WORK="$BUILD_DIR/bench-startup"
# Where the build put each program (the layout of the build folder may change).
built() {
  local found
  found=$(find "$BUILD_DIR" -name "$1" -type f -not -path "*/wineprefix*" -not -path "*/CMakeFiles/*" | head -n 1)
  if [ -z "$found" ]; then echo "bench-startup: $1 not found under $BUILD_DIR" >&2; exit 1; fi
  echo "$found"
}
BENCH_PROBE=$(built probe.exe)
BENCH_TAVOLIN=$(built Tavolin.exe)
BENCH_BASELINE=$(built startup_baseline.exe)
export BENCH_PROBE BENCH_TAVOLIN BENCH_BASELINE

python3 - <<'PY'
import json, os, shutil, statistics, subprocess

runs = int(os.environ["BENCH_RUNS"])
work = os.environ["BENCH_WORK"]
probe = os.environ["BENCH_PROBE"]

def winpath(path):
    return subprocess.run(["winepath", "-w", path], check=True, capture_output=True,
                          text=True).stdout.strip()

# Tavolin starts with an appdata folder of its own holding three rows.
appdata = os.path.join(work, "appdata")
shutil.rmtree(work, ignore_errors=True)
os.makedirs(os.path.join(appdata, "Pellwick", "Tavolin"))
rows = b"Editor\r\nC:\\Windows\\notepad.exe|\r\n120\r\n" \
       b"Gruss\r\n|Mit freundlichen Gruessen\r\n121\r\n" \
       b"Daten\r\nC:\\Daten\\\r\n122\r\n"

programs = {
    "baseline": ["--ready-caption", "Startup baseline", "--",
                 winpath(os.environ["BENCH_BASELINE"])],
    "Tavolin": ["--env", "appdata=" + winpath(appdata), "--ready-caption", "Tavolin 1.0.4",
                "--ready-status", "--", winpath(os.environ["BENCH_TAVOLIN"])],
}

def measure(args):
    with open(os.path.join(appdata, "Pellwick", "Tavolin", "Tasten.ini"), "wb") as f:
        f.write(rows)
    out = subprocess.run(["wine", probe, "launch", "--memory-after", "500", "--close-after", "0"] + args,
                         capture_output=True, timeout=120).stdout.decode()
    fields = {}
    for line in out.splitlines():
        if line.startswith("{"):
            fields.update(json.loads(line))
    if "ready_ms" not in fields or "private" not in fields:
        raise SystemExit("bench-startup: no measurement from %r: %r" % (args[-1], out))
    if fields.get("exit") != 0:
        raise SystemExit("bench-startup: %s ended with exit code %r" % (args[-1], fields.get("exit")))
    return fields

# One unmeasured run each, then the programs alternate so that drifts of
# the machine hit both alike.
for args in programs.values():
    measure(args)
samples = {name: [] for name in programs}
for _ in range(runs):
    for name, args in programs.items():
        samples[name].append(measure(args))

def median(name, field):
    return statistics.median(s[field] for s in samples[name])

print("start-up benchmark, median of %d runs each, under Wine in a virtual desktop" % runs)
print("%-10s %12s %10s %14s %14s" % ("program", "ready (ms)", "min (ms)", "private (KB)", "working (KB)"))
for name in programs:
    print("%-10s %12.1f %10.1f %14.0f %14.0f" % (name, median(name, "ready_ms"),
                                                 min(s["ready_ms"] for s in samples[name]),
                                                 median(name, "private") / 1024, median(name, "workingset") / 1024))
time_ratio = median("Tavolin", "ready_ms") / median("baseline", "ready_ms")
private_ratio = median("Tavolin", "private") / median("baseline", "private")
working_ratio = median("Tavolin", "workingset") / median("baseline", "workingset")
size = os.path.getsize(os.environ["BENCH_TAVOLIN"])
verdict = lambda ok: "ok" if ok else "OVER TARGET"
print("start-up time ratio      %.2f   (target 1.3)   %s" % (time_ratio, verdict(time_ratio <= 1.3)))
print("private bytes ratio      %.2f   (target 1.5)   %s" % (private_ratio, verdict(private_ratio <= 1.5)))
print("working set ratio        %.2f   (target 1.5)   %s" % (working_ratio, verdict(working_ratio <= 1.5)))
print("Tavolin.exe size         %d bytes = %.1f KB (target under 300 KB)   %s"
      % (size, size / 1024, verdict(size < 300 * 1024)))
PY
