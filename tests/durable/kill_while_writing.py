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

KILLS = 200
# Long enough for many complete rewrites, short enough that 200 runs stay quick.
MAX_RUN_SECONDS = 0.05


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
        for kill in range(KILLS):
            process = subprocess.Popen([rewriter, path])
            time.sleep(rng.uniform(0, MAX_RUN_SECONDS))
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
        print("%d kills, %d versions seen, every file whole" % (KILLS, len(found)))
        return 0 if len(found) == 2 else 1


if __name__ == "__main__":
    sys.exit(main())
