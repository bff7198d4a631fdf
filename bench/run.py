#!/usr/bin/env python3
"""Runs the benchmark workloads in Kel, Lua 5.4 and Python 3 and prints a table.

Every workload is run RUNS times per language, the languages taking turns so
that a slow spell of the machine hits all three alike. Each run must print the
checksum listed in workloads.txt; the table shows the median CPU time, the
Kel/Lua and Kel/Python ratios and the peak resident memory (/usr/bin/time %M)
of each language, then the geometric mean of Kel/Lua and the compile
throughput of `kel -c` against `luac5.4 -p` on one large generated program
(the best of RUNS runs of each, timed to the microsecond).

usage: run.py KEL [RUNS]    environment: BENCH_QUICK=1 uses the small sizes,
                                         BENCH_ONLY=fib,tak runs only those
"""

import math
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
WORKLOADS = os.path.join(HERE, "workloads")
DEFAULT_RUNS = 3
# About 510,000 lines (14 MB) of source: luac's run takes some tenths of a
# second, far above the timer's and process start's share, and the file stays
# under the largest source kel reads.
COMPILE_FUNCTIONS = 30000
TIME = "/usr/bin/time"

# What the table is held against.
MAX_GEOMEAN_KEL_LUA = 2.0
MAX_KEL_LUA = 4.0
MAX_MEMORY_KEL_LUA = 2.0
MIN_COMPILE_KEL_LUA = 0.5


class Failure(Exception):
    pass


def read_workloads(quick):
    workloads = []
    with open(os.path.join(HERE, "workloads.txt")) as listing:
        for line in listing:
            if not line.strip() or line.startswith("#"):
                continue
            name, full, full_sum, small, small_sum = line.split()
            workloads.append((name, small, small_sum) if quick else (name, full, full_sum))
    only = os.environ.get("BENCH_ONLY")
    if only:
        wanted = only.split(",")
        workloads = [w for w in workloads if w[0] in wanted]
    return workloads


def measure(command):
    """Runs command; answers (CPU seconds, peak KiB, standard output). The CPU
    time (user and system, to the microsecond) is that of the process and of
    /usr/bin/time around it, whose own share is a millisecond at most: a slow
    spell of a shared machine stretches wall time far more. The peak resident
    memory is /usr/bin/time's %M: a process started from this one would count
    this one's pages."""
    with tempfile.NamedTemporaryFile("r") as stats, tempfile.TemporaryFile("w+") as out, \
            tempfile.TemporaryFile("w+") as err:
        process = subprocess.Popen([TIME, "-f", "%M", "-o", stats.name] + command, stdout=out,
                                   stderr=err, text=True)
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        err.seek(0)
        if process.returncode != 0:
            raise Failure(f"{' '.join(command)} failed ({process.returncode}): "
                          f"{err.read().strip()}")
        kib = stats.read().split()[-1]
        return usage.ru_utime + usage.ru_stime, int(kib), out.read()


def wall_seconds(command):
    """Runs command (which must succeed); answers its wall time in seconds."""
    start = time.perf_counter()
    result = subprocess.run(command, capture_output=True, text=True)
    seconds = time.perf_counter() - start
    if result.returncode != 0:
        raise Failure(f"{' '.join(command)} failed ({result.returncode}): "
                      f"{result.stderr.strip()}")
    return seconds


def languages(kel):
    return {
        "kel": lambda name, size: [kel, os.path.join(WORKLOADS, name + ".kel"), size],
        "lua": lambda name, size: ["lua5.4", os.path.join(WORKLOADS, name + ".lua"), size],
        "py": lambda name, size: ["python3", os.path.join(WORKLOADS, name + ".py"), size],
    }


def run_workload(kel, name, size, checksum, runs):
    times = {lang: [] for lang in ("kel", "lua", "py")}
    memory = {lang: 0 for lang in times}
    commands = languages(kel)
    for _ in range(runs):
        for lang in times:
            seconds, kib, out = measure(commands[lang](name, size))
            printed = out.strip()
            if printed != checksum:
                raise Failure(f"{name} in {lang} printed {printed!r}, expected {checksum!r}")
            times[lang].append(seconds)
            memory[lang] = max(memory[lang], kib)
    return {lang: statistics.median(t) for lang, t in times.items()}, memory


def compile_throughput(kel, runs):
    with tempfile.TemporaryDirectory() as folder:
        kel_source = os.path.join(folder, "big.kel")
        lua_source = os.path.join(folder, "big.lua")
        subprocess.run([sys.executable, os.path.join(HERE, "gen_compile_source.py"),
                        str(COMPILE_FUNCTIONS), kel_source, lua_source], check=True)
        with open(kel_source) as source:
            lines = sum(1 for _ in source)
        compiled = os.path.join(folder, "big.kelc")
        kel_command = [kel, "-c", kel_source, "-o", compiled]
        lua_command = ["luac5.4", "-p", lua_source]
        kel_times, lua_times = [], []
        for _ in range(runs):
            kel_times.append(wall_seconds(kel_command))
            lua_times.append(wall_seconds(lua_command))
    # The best run of each: a compile does the same work every time, so the
    # fastest run is the one least disturbed by the other jobs on the machine.
    kel_rate = lines / min(kel_times)
    lua_rate = lines / min(lua_times)
    return lines, kel_rate, lua_rate


def verdict(ok):
    return "met" if ok else "NOT met"


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    kel = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) == 3 else DEFAULT_RUNS
    quick = os.environ.get("BENCH_QUICK") == "1"

    header = (f"{'workload':<10} {'kel s':>7} {'lua s':>7} {'py s':>7} {'kel/lua':>8} "
              f"{'kel/py':>7} {'kel MB':>7} {'lua MB':>7} {'py MB':>7} {'mem k/l':>8}")
    print(f"{runs} runs each, median CPU seconds; peak resident memory"
          + (" (quick sizes)" if quick else ""))
    print(header)
    print("-" * len(header))
    ratios, worst_ratio, python_ok, memory_ok = [], 0.0, True, True
    try:
        for name, size, checksum in read_workloads(quick):
            median, peak = run_workload(kel, name, size, checksum, runs)
            kel_lua = median["kel"] / max(median["lua"], 0.001)
            kel_py = median["kel"] / max(median["py"], 0.001)
            mem_ratio = peak["kel"] / peak["lua"]
            ratios.append(kel_lua)
            worst_ratio = max(worst_ratio, kel_lua)
            python_ok &= kel_py < 1.0
            memory_ok &= mem_ratio <= MAX_MEMORY_KEL_LUA
            print(f"{name:<10} {median['kel']:>7.3f} {median['lua']:>7.3f} {median['py']:>7.3f} "
                  f"{kel_lua:>8.2f} {kel_py:>7.2f} {peak['kel'] / 1024:>7.1f} "
                  f"{peak['lua'] / 1024:>7.1f} {peak['py'] / 1024:>7.1f} {mem_ratio:>8.2f}",
                  flush=True)
        lines, kel_rate, lua_rate = compile_throughput(kel, runs)
    except Failure as failure:
        print(f"benchmark failed: {failure}")
        return 1

    geomean = math.exp(sum(math.log(r) for r in ratios) / len(ratios)) if ratios else 0.0
    compile_ratio = kel_rate / lua_rate
    print("-" * len(header))
    print(f"geometric mean kel/lua: {geomean:.2f}")
    print(f"compile throughput ({lines} lines): kel -c {kel_rate:,.0f} lines/s, "
          f"luac5.4 -p {lua_rate:,.0f} lines/s, ratio {compile_ratio:.2f}")
    print()
    print(f"geometric mean kel/lua <= {MAX_GEOMEAN_KEL_LUA}: "
          f"{verdict(geomean <= MAX_GEOMEAN_KEL_LUA)}")
    print(f"every workload kel/lua <= {MAX_KEL_LUA}: {verdict(worst_ratio <= MAX_KEL_LUA)}")
    print(f"kel faster than python on every workload: {verdict(python_ok)}")
    print(f"compile throughput >= {MIN_COMPILE_KEL_LUA} of luac: "
          f"{verdict(compile_ratio >= MIN_COMPILE_KEL_LUA)}")
    print(f"peak memory <= {MAX_MEMORY_KEL_LUA} x lua on every workload: {verdict(memory_ok)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
