"""Kills the progress rewriter with SIGKILL at random moments, KILLS times, and
checks after each kill that the progress file holds one whole version: the
old scenes or the new ones, never a part, a mix or nothing.
Usage: kill_while_writing.py PROGRESS_REWRITER"""
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


def line(key, value):
    return 'global string %s="%s";\n' % (key, value)


VERSIONS = {
    line("sd_now_scene", "001") + line("sd_max_scene", "001"),
    line("sd_now_scene", "002") + line("sd_max_scene", "9" * 20000),
}


def main():
    rewriter = sys.argv[1]
    rng = random.Random()
    seed = rng.randrange(1 << 32)
    rng.seed(seed)
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "save.kel")
        found = set()
        run_seconds = two_rounds_seconds([rewriter, path])
        os.remove(path)
        for kill in range(KILLS):
            process = subprocess.Popen([rewriter, path], stdout=subprocess.DEVNULL)
            time.sleep(rng.uniform(0, run_seconds))
            process.send_signal(signal.SIGKILL)
            process.wait()
            if not os.path.exists(path):
                continue  # killed before its first rename: nothing to check
            with open(path, encoding="utf-8") as file:
                text = file.read()
            if text not in VERSIONS:
                print("kill %d (seed %d): the file holds %d bytes of neither version: %r"
                      % (kill, seed, len(text), text[:120]))
                return 1
            found.add(text)
        # Both versions seen means the kills really fell between rewrites.
        print("%d kills within %.3f s of a start, %d versions seen, every file whole"
              % (KILLS, run_seconds, len(found)))
        return 0 if len(found) == 2 else 1


if __name__ == "__main__":
    sys.exit(main())
