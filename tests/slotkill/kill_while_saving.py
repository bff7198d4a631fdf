"""Kills the slot rewriter with SIGKILL at random moments, KILLS times, and
after each kill has it check that every slot file and backup is one whole
version that loads. Both versions must be seen, so that the kills really fell
between saves. Usage: kill_while_saving.py SLOT_REWRITER"""
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "util"))
from kill_moments import two_rounds_seconds  # noqa: E402

KILLS = 200


def main():
    rewriter = sys.argv[1]
    seed = random.randrange(1 << 32)
    rng = random.Random(seed)
    with tempfile.TemporaryDirectory() as folder:
        found = set()
        run_seconds = two_rounds_seconds([rewriter, "write", folder])
        for kill in range(KILLS):
            process = subprocess.Popen([rewriter, "write", folder], stdout=subprocess.DEVNULL)
            time.sleep(rng.uniform(0, run_seconds))
            process.send_signal(signal.SIGKILL)
            process.wait()
            check = subprocess.run([rewriter, "check", folder], capture_output=True, text=True)
            if check.returncode != 0:
                print("kill %d (seed %d):\n%s%s" % (kill, seed, check.stdout, check.stderr))
                return 1
            found.update(check.stdout.split("\n"))
        found.discard("")
        print("%d kills within %.3f s of a start, found %s, every slot whole"
              % (KILLS, run_seconds, sorted(found)))
        return 0 if found == {"version 0", "version 1"} else 1


if __name__ == "__main__":
    sys.exit(main())
