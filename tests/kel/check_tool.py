#!/usr/bin/env python3
"""Checks the command line of `kel`: exit statuses, messages, ARG, -e, -c,
-d and --help, and that separate runs draw different random numbers.  usage: check_tool.py KEL"""

import os
import subprocess
import sys
import tempfile

MAGIC = bytes([0x1A, 0xF0, 0xDE, 0xBC])
failures = []


def kel(*args, folder=None, stdin=b""):
    done = subprocess.run([KEL, *args], cwd=folder, input=stdin, capture_output=True,
                          timeout=60)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


def expect(what, actual, wanted):
    if actual != wanted:
        failures.append(f"{what}: expected {wanted!r}, got {actual!r}")


def main():
    with tempfile.TemporaryDirectory() as folder:
        def write(name, text):
            with open(os.path.join(folder, name), "w") as handle:
                handle.write(text)
            return name

        expect("help", kel("--help")[0], 0)
        expect("help text", "kel -c FILE -o OUT" in kel("--help")[1], True)
        expect("no arguments", kel()[0], 64)
        expect("unknown option", kel("-x", "y")[0], 64)

        status, out, err = kel("absent.kel", folder=folder)
        expect("missing file status", status, 1)
        expect("missing file message", err, "kel: cannot open absent.kel\n")
        expect("missing file output", out, "")

        bad = write("bad.kel", "print(1);\nx = (2;\n")
        status, out, _ = kel(bad, folder=folder)
        expect("compile error status", status, 2)
        expect("compile error messages",
               out, "error bad.kel 2: \nThere is no ) at expression end\n\n"
                    "1 error in compile bad.kel\n\n")
        expect("-c of a bad file", kel("-c", bad, "-o", "out.kelc", folder=folder)[0], 2)
        expect("-c of a bad file writes nothing",
               os.path.exists(os.path.join(folder, "out.kelc")), False)

        arg = write("arg.kel", "print(arg * 2);\n")
        expect("ARG", kel(arg, "21", folder=folder)[1], "42\n")
        expect("ARG as a Kel int", kel(arg, "-4x", folder=folder)[1], "-8\n")

        yields = write("yields.kel", "print(yield 1); print(yield 2); print(arg);\n")
        expect("resumed with 0 after each yield", kel(yields, "5", folder=folder)[1],
               "0\n0\n5\n")

        expect("-e", kel("-e", "print(arg + 1);", "1")[1], "2\n")
        draw = "print(random.int(0, 2147483647));"
        expect("each run draws new random numbers", kel("-e", draw)[1] != kel("-e", draw)[1],
               True)
        expect("-e compile error", kel("-e", "(")[0], 2)

        kel("-c", arg, "-o", "arg.kelc", folder=folder)  # status and output: every script checks them
        with open(os.path.join(folder, "arg.kelc"), "rb") as handle:
            compiled = handle.read()
        expect("compiled magic", compiled[:4], MAGIC)
        expect("compiled top level", compiled[4:6], bytes([0xF1, 0x00]))
        expect("compiled run", kel("arg.kelc", "4", folder=folder)[1], "8\n")
        expect("-c into a missing folder", kel("-c", arg, "-o", "no/such/out.kelc",
                                               folder=folder)[0], 1)

        status, out, _ = kel("-d", arg, folder=folder)
        expect("-d status", status, 0)
        expect("-d shows the call", "CALL" in out, True)
        expect("-d of compiled code is the same", kel("-d", "arg.kelc", folder=folder)[1], out)
        expect("-d of a missing file", kel("-d", "absent.kel", folder=folder)[0], 1)

    for failure in failures:
        print("FAIL " + failure)
    print("kel command line: %d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    KEL = os.path.abspath(sys.argv[1])
    sys.exit(main())
