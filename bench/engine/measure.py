#!/usr/bin/env python3
"""Engine figures measured on a private X server, for bench/engine/run.sh.

  measure.py screen GAME_DIR RUNS -- COMMAND...
      The figures the peer engines are compared on, taken from outside as the
      peers' own probe takes them: milliseconds from process start to the
      first grab of the screen with a non-black pixel; resident memory (KiB,
      the process and its children) once the screen has not changed for
      SETTLE_S seconds; CPU (ms) over IDLE_S seconds after that. One warm-up
      run, then RUNS runs; prints "kura <figure> median=.. min=.. max=.. n=..".

  measure.py frames GAME_DIR TITLE -- COMMAND...
      Update + draw CPU per frame while a message types: COMMAND runs with
      bench/engine/frame_clock.so preloaded; the runner presses Z on the
      title menu itself, and the frames of TYPING_S seconds from a moment
      after that are read from the aid's log. Prints
      "kura frame_cpu_ms p50=.. p99=.. max=.. n=.." and the same for the
      frames that reached the window.
"""

import ctypes
import ctypes.util
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time
import zlib

SCREEN = "1280x800x24"
POLL_S = 0.02
SETTLE_S = float(os.environ.get("SETTLE_S", "2"))
IDLE_S = float(os.environ.get("IDLE_S", "10"))
TIMEOUT_S = 60.0
# From the key on the title menu to the first frame counted as typing: the
# menu's decision and the scene's first commands come first.
TYPING_START_S = 0.5
TYPING_S = float(os.environ.get("TYPING_S", "8"))
MENU_OPEN_S = 0.5
CLK_TCK = os.sysconf("SC_CLK_TCK")
COLOUR_PLANES = 0x00FFFFFF
ZPIXMAP = 2


class Screen:
    """Whole-root grabs through Xlib: (any pixel not black, checksum)."""

    def __init__(self, display):
        x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        for name in ("XDisplayWidth", "XDisplayHeight"):
            getattr(x, name).argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XGetImage.restype = ctypes.c_void_p
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XFree.argtypes = [ctypes.c_void_p]
        self.x = x
        self.d = None
        for _ in range(40):  # the server may still be setting up its socket
            self.d = x.XOpenDisplay(display.encode())
            if self.d:
                break
            time.sleep(0.05)
        if not self.d:
            raise SystemExit("measure.py: cannot open display " + display)
        self.root = x.XDefaultRootWindow(self.d)
        self.w = x.XDisplayWidth(self.d, 0)
        self.h = x.XDisplayHeight(self.d, 0)
        self.zero = bytes(self.w * self.h * 4)

    def grab(self):
        image = self.x.XGetImage(self.d, self.root, 0, 0, self.w, self.h, COLOUR_PLANES, ZPIXMAP)
        if not image:
            raise OSError("XGetImage failed")
        # XImage: width, height, xoffset, format (4 ints), then the data pointer.
        data_ptr = ctypes.c_void_p.from_address(image + 16).value
        data = ctypes.string_at(data_ptr, len(self.zero))
        self.x.XFree(data_ptr)
        self.x.XFree(image)
        return data != self.zero, zlib.crc32(data)


def start_xvfb():
    """A private X server on a display number it picks itself. -noreset: a
    client connecting while the server resets (as it does when its last client
    leaves) can fail to open the display."""
    with tempfile.TemporaryFile() as number_file:
        proc = subprocess.Popen(["Xvfb", "-displayfd", str(number_file.fileno()), "-screen", "0",
                                 SCREEN, "-nolisten", "tcp", "-noreset"], pass_fds=(number_file.fileno(),),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        number = b""
        for _ in range(200):
            number_file.seek(0)
            number = number_file.read().strip()
            if number or proc.poll() is not None:
                break
            time.sleep(0.05)
    if not number:
        proc.kill()
        proc.wait()
        raise SystemExit("measure.py: Xvfb did not start")
    return proc, ":" + number.decode()


def tree(pid):
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                stat = open("/proc/%s/stat" % entry).read()
            except OSError:
                continue
            children.setdefault(int(stat[stat.rindex(")") + 2:].split()[1]), []).append(int(entry))
    out, todo = [], [pid]
    while todo:
        p = todo.pop()
        out.append(p)
        todo.extend(children.get(p, []))
    return out


def cpu_ticks(pids):
    total = 0
    for p in pids:
        try:
            fields = open("/proc/%d/stat" % p).read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        total += int(fields[11]) + int(fields[12])
    return total


def rss_kib(pids):
    total = 0
    for p in pids:
        try:
            for line in open("/proc/%d/status" % p):
                if line.startswith("VmRSS:"):
                    total += int(line.split()[1])
        except OSError:
            continue
    return total


def private_kib(pids):
    """Proportional and private (unshared) KiB from smaps_rollup: private memory
    leaves out the libraries and drivers that other processes map too."""
    pss = private = 0
    for p in pids:
        try:
            for line in open("/proc/%d/smaps_rollup" % p):
                if line.startswith("Pss:"):
                    pss += int(line.split()[1])
                elif line.startswith(("Private_Clean:", "Private_Dirty:")):
                    private += int(line.split()[1])
        except OSError:
            continue
    return pss, private


def stop(proc):
    if proc.poll() is None:
        os.killpg(proc.pid, signal.SIGTERM)
        try:
            proc.wait(timeout=2)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()


def screen_run(display, screen, game_dir, command):
    """One run: (first non-black ms, KiB once settled, idle CPU ms, proportional
    and private KiB) or None."""
    env = dict(os.environ, DISPLAY=display)
    t0 = time.monotonic()
    proc = subprocess.Popen(command, cwd=game_dir, env=env, start_new_session=True,
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        first, last_crc, last_change = None, None, t0
        while True:
            t = time.monotonic()
            nonblack, crc = screen.grab()
            if nonblack and first is None:
                first = t
            if crc != last_crc:
                last_crc, last_change = crc, t
            if first is not None and t - last_change >= SETTLE_S:
                break
            if proc.poll() is not None or t - t0 > TIMEOUT_S:
                return None
            time.sleep(max(0.0, POLL_S - (time.monotonic() - t)))
        pids = tree(proc.pid)
        rss = rss_kib(pids)
        pss, private = private_kib(pids)
        c0 = cpu_ticks(pids)
        time.sleep(IDLE_S)
        idle_ms = (cpu_ticks(tree(proc.pid)) - c0) * 1000.0 / CLK_TCK
        if proc.poll() is not None:
            return None
        return (first - t0) * 1000.0, rss, idle_ms, pss, private
    finally:
        stop(proc)


def summary(name, figure, values):
    if not values:
        print("%s %s NA n=0" % (name, figure))
        return
    print("%s %s median=%g min=%g max=%g n=%d" % (name, figure, round(statistics.median(values), 1),
                                                  round(min(values), 1), round(max(values), 1),
                                                  len(values)))


def screen_figures(game_dir, runs, command):
    xvfb, display = start_xvfb()
    try:
        screen = Screen(display)
        screen_run(display, screen, game_dir, command)  # warm-up: disk caches
        results, failed = [], 0
        while len(results) < runs and failed < runs:
            r = screen_run(display, screen, game_dir, command)
            if r is None:
                failed += 1
                print("failed run")
                continue
            print("run first_nonblack_ms=%.0f vmrss_kb=%d idle_cpu_ms=%.0f pss_kb=%d private_kb=%d"
                  % r)
            results.append(r)
        summary("kura", "first_nonblack_ms", [r[0] for r in results])
        summary("kura", "vmrss_kb", [r[1] for r in results])
        summary("kura", "idle_cpu_ms", [r[2] for r in results])
        summary("kura", "pss_kb", [r[3] for r in results])
        summary("kura", "private_kb", [r[4] for r in results])
        print("kura failed_runs %d" % failed)
    finally:
        xvfb.terminate()
        xvfb.wait()


def percentile(sorted_values, p):
    return sorted_values[min(len(sorted_values) - 1, int(p / 100.0 * len(sorted_values)))]


def print_frames(label, cpu_ms):
    if not cpu_ms:
        print("kura %s NA n=0" % label)
        return
    s = sorted(cpu_ms)
    print("kura %s p50=%.2f p99=%.2f max=%.2f n=%d" % (label, percentile(s, 50), percentile(s, 99),
                                                       s[-1], len(s)))


def wait_for_window(display, title):
    env = dict(os.environ, DISPLAY=display)
    out = subprocess.run(["timeout", "30", "xdotool", "search", "--sync", "--onlyvisible",
                          "--name", "^%s$" % title], env=env, capture_output=True, text=True)
    ids = out.stdout.split()
    return ids[0] if ids else None


def frame_figures(game_dir, title, command):
    here = os.path.dirname(os.path.abspath(__file__))
    log = tempfile.mktemp(prefix="kura-frames-", suffix=".log")
    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, KURA_FRAME_LOG=log,
               LD_PRELOAD=os.path.join(os.environ.get("FRAME_CLOCK_DIR", here), "frame_clock.so"))
    proc = subprocess.Popen(command, cwd=game_dir, env=env, start_new_session=True,
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        wid = wait_for_window(display, title)
        if wid is None:
            raise SystemExit("measure.py: the engine's window did not appear")
        time.sleep(MENU_OPEN_S)
        subprocess.run(["xdotool", "windowfocus", "--sync", wid, "key", "z"],
                       env=dict(os.environ, DISPLAY=display), check=True)
        key_at = time.time()
        time.sleep(TYPING_START_S + TYPING_S + 0.2)
    finally:
        stop(proc)
        xvfb.terminate()
        xvfb.wait()
    rows = [line.split() for line in open(log) if len(line.split()) == 6]
    os.unlink(log)
    begin, end = key_at + TYPING_START_S, key_at + TYPING_START_S + TYPING_S
    frames = [(float(r[2]) + float(r[3])) / 1000.0 for r in rows if begin <= float(r[1]) < end]
    drawn = [(float(r[2]) + float(r[3])) / 1000.0 for r in rows
             if begin <= float(r[1]) < end and r[4] != "0"]
    print_frames("frame_cpu_ms", frames)
    print_frames("drawn_frame_cpu_ms", drawn)
    print("kura frames_per_s %.1f shown_per_s %.1f" % (len(frames) / TYPING_S,
                                                       len(drawn) / TYPING_S))


def main(argv):
    if "--" not in argv or len(argv) < 4:
        raise SystemExit(__doc__)
    split = argv.index("--")
    args, command = argv[1:split], argv[split + 1:]
    if args[0] == "screen":
        screen_figures(args[1], int(args[2]), command)
    elif args[0] == "frames":
        frame_figures(args[1], args[2], command)
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
