#!/usr/bin/env python3
"""Writes one large Kel source and the same program in Lua, for measuring how
many lines per second each front end compiles.

Every generated function mixes the constructs scenario scripts use: locals,
arithmetic, comparisons, if/else, loops, member and index access, string
literals and calls.

usage: gen_compile_source.py FUNCTIONS OUT.kel OUT.lua
"""

import sys

KEL_FUNCTION = """step{n}(local a, local b) {{
    local total = a * {n} + b;
    local name = "step {n}";
    for (i = 0; i < {m}; i++) {{
        if (i % 3 == 0) {{
            total += i * 2 - b;
        }} else if (i % 3 == 1) {{
            total -= a / (i + 1);
        }} else {{
            total = total + 7;
        }}
    }}
    record.count = record.count + 1;
    list[{m}] = total;
    while (total > 100000) total = total / 2;
    return step{prev}(total, b + 1) + strlib.length(name);
}}
"""

LUA_FUNCTION = """function step{n}(a, b)
    local total = a * {n} + b
    local name = "step {n}"
    for i = 0, {m} - 1 do
        if i % 3 == 0 then
            total = total + i * 2 - b
        elseif i % 3 == 1 then
            total = total - a // (i + 1)
        else
            total = total + 7
        end
    end
    record.count = record.count + 1
    list[{m}] = total
    while total > 100000 do total = total // 2 end
    return step{prev}(total, b + 1) + #name
end
"""


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    functions = int(sys.argv[1])
    with open(sys.argv[2], "w") as kel, open(sys.argv[3], "w") as lua:
        kel.write("// Generated: compile throughput input.\n")
        lua.write("-- Generated: compile throughput input.\nrecord = {count = 0}\nlist = {}\n")
        for n in range(functions):
            fields = {"n": n, "m": n % 17 + 3, "prev": max(n - 1, 0)}
            kel.write(KEL_FUNCTION.format(**fields))
            lua.write(LUA_FUNCTION.format(**fields))


if __name__ == "__main__":
    main()
