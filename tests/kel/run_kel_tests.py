#!/usr/bin/env python3
"""Runs Kel scripts through `kel` and compares what they print with the
answers written in them as comments:
    print(2.5);            // expect: 2.500000
    // expect-exit: 2      the status kel must end with (0 when absent)
    // stdin: a\\nb         bytes fed to standard input (\\n, \\t and \\\\ escapes)
    // args: 7             the ARG given to kel
    // scratch: big.bin 50000000   runs in a scratch folder holding a file of that
                           many zero bytes (made here, never in the repository)
Every printed line must match the expectations in order, nothing more. A script
that runs is also compiled with `kel -c` and the compiled file run: together
they must print exactly what the source run printed.

In a guide (a Markdown file) every ```kel block is a script and the ```output
block right behind it (if any) what it must print; ```kel exit=2 gives the status.

usage: run_kel_tests.py KEL PATH...   (a .kel file, a folder of them, or a .md guide)
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

TIMEOUT_SECONDS = 60
EXPECT = re.compile(r"//\s*expect:(?: (.*))?$")
DIRECTIVE = re.compile(r"//\s*(expect-exit|stdin|args|scratch):\s?(.*)$")


def unescape(text):
    return text.replace("\\n", "\n").replace("\\t", "\t").replace("\\\\", "\\")


class Script:
    def __init__(self, name, source, folder):
        self.name, self.source, self.folder = name, source, folder
        self.expected, self.exit, self.stdin, self.args, self.scratch = [], 0, "", [], []
        for line in source.splitlines():
            found = EXPECT.search(line)
            if found:
                self.expected.append((found.group(1) or "").rstrip())
                continue
            found = DIRECTIVE.search(line)
            if not found:
                continue
            key, value = found.groups()
            if key == "expect-exit":
                self.exit = int(value)
            elif key == "stdin":
                self.stdin += unescape(value)
            elif key == "scratch":
                name, size = value.split()
                self.scratch.append((name, int(size)))
            else:
                self.args = value.split()


def run(command, folder, stdin=""):
    done = subprocess.run(command, cwd=folder, input=stdin.encode(), capture_output=True,
                          timeout=TIMEOUT_SECONDS)
    lines = [line.rstrip() for line in done.stdout.decode("utf-8", "replace").split("\n")]
    if lines and lines[-1] == "":
        lines.pop()
    return done.returncode, lines, done.stderr.decode("utf-8", "replace")


def difference(expected, actual):
    report = []
    for i in range(max(len(expected), len(actual))):
        want = expected[i] if i < len(expected) else "<nothing>"
        got = actual[i] if i < len(actual) else "<nothing>"
        mark = "  " if want == got else "! "
        report.append(f"{mark}line {i + 1}: expected {want!r}, got {got!r}")
    return "\n".join(report)


def check_in_scratch(kel, script, path):
    """Runs a script that asked for scratch files in a folder made for it."""
    with tempfile.TemporaryDirectory() as scratch:
        shutil.copy(os.path.join(script.folder, path), scratch)
        for name, size in script.scratch:
            with open(os.path.join(scratch, name), "wb") as handle:
                handle.truncate(size)
        script.folder, script.scratch = scratch, []
        return check(kel, script, path)


def check(kel, script, path):
    """Runs one script (at `path`, relative to its folder); answers failures."""
    if script.scratch:
        return check_in_scratch(kel, script, path)
    failures = []
    status, lines, errors = run([kel, path] + script.args, script.folder, script.stdin)
    if status != script.exit:
        failures.append(f"exit status {status}, expected {script.exit}\n{errors}")
    if lines != script.expected:
        failures.append("output differs:\n" + difference(script.expected, lines))
    if script.exit != 0 or failures:
        return failures
    with tempfile.TemporaryDirectory() as scratch:
        compiled = os.path.join(scratch, "compiled.kelc")
        status, compile_lines, errors = run([kel, "-c", path, "-o", compiled], script.folder)
        if status != 0:
            return [f"kel -c ended with {status}\n{errors}"]
        status, run_lines, errors = run([kel, compiled] + script.args, script.folder,
                                        script.stdin)
        if status != 0:
            failures.append(f"compiled run ended with {status}\n{errors}")
        if compile_lines + run_lines != lines:
            failures.append("compiled form prints differently:\n" +
                            difference(lines, compile_lines + run_lines))
    return failures


def guide_scripts(path):
    """The ```kel blocks of a guide with the ```output block behind each."""
    text = open(path, encoding="utf-8").read()
    blocks = re.finditer(r"^```(\w*)([^\n]*)\n(.*?)^```\n", text, re.S | re.M)
    scripts = []
    pending = None
    for block in blocks:
        kind, options, body = block.group(1), block.group(2), block.group(3)
        if kind == "kel":
            line = text.count("\n", 0, block.start()) + 1
            pending = Script(f"{path}:{line}", body, os.path.dirname(os.path.abspath(path)))
            status = re.search(r"exit=(\d+)", options)
            if status:
                pending.exit = int(status.group(1))
            scripts.append(pending)
        elif kind == "output" and pending is not None:
            pending.expected = [l.rstrip() for l in body.split("\n")[:-1]]
            pending = None
        else:
            pending = None
    return scripts


def check_guide(kel, path):
    """Each example runs as "example.kel" in a scratch folder that also holds
    the .kel files kept beside the guide, so examples may read them."""
    failed = 0
    scripts = guide_scripts(path)
    for script in scripts:
        with tempfile.TemporaryDirectory() as scratch:
            for name in os.listdir(script.folder):
                if name.endswith(".kel"):
                    shutil.copy(os.path.join(script.folder, name), scratch)
            with open(os.path.join(scratch, "example.kel"), "w", encoding="utf-8") as handle:
                handle.write(script.source)
            script.folder = scratch
            failed += report(script.name, check(kel, script, "example.kel"))
    return failed, len(scripts)


def report(name, failures):
    if not failures:
        return 0
    print(f"FAIL {name}")
    for failure in failures:
        print("  " + failure.replace("\n", "\n  "))
    return 1


def script_files(path):
    if os.path.isdir(path):
        return sorted(os.path.join(path, name) for name in os.listdir(path)
                      if name.endswith(".kel"))
    return [path]


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    kel = os.path.abspath(argv[1])
    failed = total = 0
    for path in argv[2:]:
        if path.endswith(".md"):
            guide_failed, guide_total = check_guide(kel, path)
            failed, total = failed + guide_failed, total + guide_total
            continue
        for file in script_files(path):
            source = open(file, encoding="utf-8", errors="replace").read()
            script = Script(file, source, os.path.dirname(os.path.abspath(file)))
            failed += report(file, check(kel, script, os.path.basename(file)))
            total += 1
    print(f"{total - failed} of {total} scripts passed")
    return 1 if failed or total == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
