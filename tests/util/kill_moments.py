"""When to kill a program that rewrites files without end: it prints a line
after each round of writes, and the kills fall anywhere from its start to the
end of its second round, measured on this machine now, so that a loaded
machine (or a sanitizer build) still sees the kills land between writes."""
import signal
import subprocess
import time


def two_rounds_seconds(command):
    started = time.monotonic()
    process = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
    for _ in range(2):
        process.stdout.readline()
    took = time.monotonic() - started
    process.send_signal(signal.SIGKILL)
    process.wait()
    return took
