#!/usr/bin/env python3
"""Counts the instructions each workload executes in Kel, Lua 5.4 and Python 3.

Time ratios mix two things: how many instructions a program needs, and what
one instruction costs. This separates them. Kel instructions are counted as
calls into instruction code under callgrind, Lua VM instructions with a count
hook, Python bytecodes with opcode tracing. Sizes are small: valgrind and
tracing are slow, and the counts grow linearly with the size.

usage: instructions.py KEL
"""

import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
WORKLOADS = os.path.join(HERE, "workloads")
SIZES = [("fib", 20), ("loop", 200000), ("sieve", 1), ("strings", 300), ("members", 50000),
         ("arrays", 10), ("closures", 100000), ("methods", 30000), ("tak", 2),
         ("threads", 30000)]
# The Lua hook fires every this many instructions.
LUA_HOOK_STEP = 100

LUA_COUNTER = """
local script, size, step = ...
local count = 0
arg = {[0] = script, size}
debug.sethook(function() count = count + 1 end, "", tonumber(step))
dofile(script)
debug.sethook()
io.stderr:write(count * tonumber(step), "\\n")
"""

PYTHON_COUNTER = """
import runpy, sys
count = 0
def tracer(frame, event, arg):
    global count
    frame.f_trace_opcodes = True
    if event == "opcode":
        count += 1
    return tracer
script, size = sys.argv[1], sys.argv[2]
sys.argv = [script, size]
sys.setrecursionlimit(100000)
sys.settrace(tracer)
try:
    runpy.run_path(script, run_name="__main__")
finally:
    sys.settrace(None)
    sys.stderr.write(f"{count}\\n")
"""

EXECUTE = re.compile(r"Kel::[A-Z_]+::execute\(Kel::Env&\)")


def kel_count(kel, name, size):
    """Calls into any instruction's execute, summed from a callgrind profile."""
    with tempfile.NamedTemporaryFile() as profile:
        subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={profile.name}",
                        kel, os.path.join(WORKLOADS, name + ".kel"), str(size)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        names, callee, total = {}, "", 0
        with open(profile.name) as lines:
            for line in lines:
                named = re.match(r"(c?fn)=\((\d+)\)(?: (.*))?", line)
                if named:
                    if named.group(3):
                        names[named.group(2)] = named.group(3).strip()
                    if named.group(1) == "cfn":
                        callee = names.get(named.group(2), "")
                elif line.startswith("calls=") and EXECUTE.search(callee):
                    total += int(line.split()[0][len("calls="):])
        return total


def traced_count(command):
    result = subprocess.run(command, capture_output=True, text=True, check=True)
    return int(result.stderr.strip().splitlines()[-1])


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    kel = os.path.abspath(sys.argv[1])
    print(f"{'workload':10} {'kel':>10} {'lua':>10} {'python':>10} {'kel/lua':>8} {'kel/py':>7}")
    product, rows = 1.0, 0
    lua_counter = tempfile.NamedTemporaryFile("w", suffix=".lua")
    lua_counter.write(LUA_COUNTER)
    lua_counter.flush()
    for name, size in SIZES:
        kel_n = kel_count(kel, name, size)
        lua_n = traced_count(["lua5.4", lua_counter.name, os.path.join(WORKLOADS, name + ".lua"),
                              str(size), str(LUA_HOOK_STEP)])
        python_n = traced_count([sys.executable, "-c", PYTHON_COUNTER,
                                 os.path.join(WORKLOADS, name + ".py"), str(size)])
        print(f"{name:10} {kel_n:10d} {lua_n:10d} {python_n:10d} "
              f"{kel_n / lua_n:8.2f} {kel_n / python_n:7.2f}")
        product *= kel_n / lua_n
        rows += 1
    print(f"geometric mean of kel/lua instructions: {product ** (1 / rows):.2f}")


if __name__ == "__main__":
    main()
