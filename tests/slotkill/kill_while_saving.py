"""Kills the slot rewriter with SIGKILL at random moments, KILLS times, and
after each kill has it check that every slot file and backup is one whole
version that loads. Both versions must be seen, so that the kills really fell
between saves. Usage: kill_while_saving.py SLOT_REWRITER"""
import random
import signal
import subprocess
import sys
import tempfile
import time

KILLS = 200
# Long enough for many complete saves, short enough that 200 runs stay quick.
MAX_RUN_SECONDS = 0.05


def main():
    rewriter = sys.argv[1]
    seed = random.randrange(1 << 32)
    rng = random.Random(seed)
    with tempfile.TemporaryDirectory() as folder:
        found = set()
        for kill in range(KILLS):
            process = subprocess.Popen([rewriter, "write", folder])
            time.sleep(rng.uniform(0, MAX_RUN_SECONDS))
            process.send_signal(signal.SIGKILL)
            process.wait()
            check = subprocess.run([rewriter, "check", folder], capture_output=True, text=True)
            if check.returncode != 0:
                print("kill %d (seed %d):\n%s%s" % (kill, seed, check.stdout, check.stderr))
                return 1
            found.update(check.stdout.split("\n"))
        found.discard("")
        print("%d kills, found %s, every slot whole" % (KILLS, sorted(found)))
        return 0 if found == {"version 0", "version 1"} else 1


if __name__ == "__main__":
    sys.exit(main())
