#!/usr/bin/env python3
"""Counts the machine instructions each workload executes in Kel, Lua 5.4 and
Python 3, under callgrind.

Time ratios on a shared machine are noisy; instruction counts are not. Kel
runs compiled instructions through an execution form of its own, where one
step may stand for several instructions, so the comparison is made where all
three meet: machine instructions of the whole process, start-up included.
Sizes are small, because valgrind is slow and the counts grow linearly with
the size.

usage: instructions.py KEL
"""

import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
WORKLOADS = os.path.join(HERE, "workloads")
SIZES = [("fib", 20), ("loop", 200000), ("sieve", 1), ("strings", 300), ("members", 50000),
         ("arrays", 10), ("closures", 100000), ("methods", 30000), ("tak", 2),
         ("threads", 30000)]
COLLECTED = re.compile(r"Collected : (\d+)")


def machine_instructions(command):
    """Instructions callgrind counted for the whole run of command."""
    result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"]
                            + command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                            text=True, check=True)
    return int(COLLECTED.search(result.stderr).group(1))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    kel = os.path.abspath(sys.argv[1])
    print(f"{'workload':10} {'kel':>12} {'lua':>12} {'python':>12} {'kel/lua':>8} {'kel/py':>7}")
    product, rows = 1.0, 0
    for name, size in SIZES:
        script = os.path.join(WORKLOADS, name)
        kel_n = machine_instructions([kel, script + ".kel", str(size)])
        lua_n = machine_instructions(["lua5.4", script + ".lua", str(size)])
        python_n = machine_instructions([sys.executable, script + ".py", str(size)])
        print(f"{name:10} {kel_n:12d} {lua_n:12d} {python_n:12d} "
              f"{kel_n / lua_n:8.2f} {kel_n / python_n:7.2f}")
        product *= kel_n / lua_n
        rows += 1
    print(f"geometric mean of kel/lua machine instructions: {product ** (1 / rows):.2f}")


if __name__ == "__main__":
    main()
