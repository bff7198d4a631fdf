#!/usr/bin/env python3
"""The program itself, idle on a finished message, makes no GL drawing call and
shows nothing, frame after frame, while its frames go on at their rate; a
window that is hidden and shown again gets its picture back; the next change
(the menu after the message) is shown again.

Usage: idle_program_test.py KURA FRAME_CLOCK_SO BENCH_DATA  (under a private X
server). KURA plays the engine benchmark's game (BENCH_DATA) with the frame
clock preloaded, which logs per frame the frames shown and the GL draw calls."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

TITLE = "Kura bench"
FONT = "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"
IDLE_FRAMES = 60
TIMEOUT_S = 30.0
MENU_OPEN_S = 0.5
# Frames of the menu coming up after the message is advanced.
MENU_FRAMES = 30


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def make_game(root, bench_data):
    data = os.path.join(root, "data")
    shutil.copytree(bench_data, data)
    os.makedirs(os.path.join(data, "font"))
    os.makedirs(os.path.join(data, "image"))
    shutil.copy(FONT, os.path.join(data, "font", "ipam.ttf"))
    subprocess.run(["convert", "-size", "960x640", "gradient:#4a78b0-#d8e8f0",
                    "png24:" + os.path.join(data, "Default@2x.png")], check=True)
    subprocess.run(["convert", "-size", "64x64", "xc:#c04040",
                    "png24:" + os.path.join(data, "image", "ep_player.png")], check=True)


def frames(log):
    """(frame, shown, draw calls) per logged frame."""
    rows = []
    for line in open(log):
        f = line.split()
        if len(f) == 6:
            rows.append((int(f[0]), int(f[4]), int(f[5])))
    return rows


def window():
    wid = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % TITLE],
                         capture_output=True, text=True).stdout.split()
    if not wid:
        fail("the program's window is not there")
    return wid[0]


def press(key):
    subprocess.run(["xdotool", "windowfocus", "--sync", window(), "key", key], check=True)


def screen():
    """The whole screen as the X server holds it."""
    return subprocess.run(["import", "-window", "root", "rgb:-"], capture_output=True,
                          check=True).stdout


def check_expose(log):
    """Unmapping and mapping the window loses its content (the server keeps no
    copy); the program must draw it whole again although nothing changed."""
    before = screen()
    wid = window()
    subprocess.run(["xdotool", "windowunmap", "--sync", wid], check=True)
    if screen() == before:
        fail("hiding the window changed nothing on the screen: the check proves nothing")
    shown_before = sum(1 for _, shown, _ in frames(log) if shown)
    subprocess.run(["xdotool", "windowmap", "--sync", wid], check=True)
    wait_for(lambda: sum(1 for _, shown, _ in frames(log) if shown) > shown_before,
             "the window's picture after it was shown again")
    time.sleep(0.2)
    if screen() != before:
        fail("the window shown again does not show its picture")


def wait_for(predicate, what):
    deadline = time.monotonic() + TIMEOUT_S
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def quiet_run(rows):
    """How many frames at the end of the log showed nothing and drew nothing."""
    n = 0
    for _, shown, calls in reversed(rows):
        if shown or calls:
            break
        n += 1
    return n


def main(kura, frame_clock, bench_data):
    if not os.path.exists(FONT):
        print("skipped: the IPA Mincho font is not installed")
        return 77
    root = tempfile.mkdtemp(prefix="kura-idle-")
    log = os.path.join(root, "frames.log")
    try:
        make_game(root, bench_data)
        env = dict(os.environ, LD_PRELOAD=frame_clock, KURA_FRAME_LOG=log)
        proc = subprocess.Popen([kura], cwd=root, env=env, stdout=subprocess.DEVNULL)
        try:
            return check(proc, log)
        finally:
            proc.kill()
            proc.wait()
    finally:
        shutil.rmtree(root)


def check(proc, log):
    wait_for(lambda: os.path.exists(log) and len(frames(log)) > 0, "the first frame")
    time.sleep(MENU_OPEN_S)
    press("z")  # "はじめから": the message is typed, then waits
    wait_for(lambda: quiet_run(frames(log)) >= IDLE_FRAMES, "%d idle frames" % IDLE_FRAMES)
    rows = frames(log)
    if proc.poll() is not None:
        fail("the program ended")
    if sum(1 for _, shown, _ in rows if shown) < 3:
        fail("the title and the message were never shown")
    before = len(rows)
    time.sleep(1.0)
    rows = frames(log)
    gained = len(rows) - before
    if gained < 30:
        fail("only %d frames in a second while idle: the game stopped running" % gained)
    if quiet_run(rows) < IDLE_FRAMES + gained:
        fail("an idle frame drew or showed something: %s" % rows[-(IDLE_FRAMES + gained):])

    check_expose(log)
    wait_for(lambda: quiet_run(frames(log)) >= 10, "quiet frames after the window came back")

    press("z")  # past the message: the menu comes up and is shown
    idle_end = len(frames(log))
    wait_for(lambda: len(frames(log)) > idle_end + MENU_FRAMES, "frames after the key")
    after = frames(log)[idle_end:]
    if not any(shown for _, shown, _ in after):
        fail("the menu after the message was never shown")
    print("ok: %d quiet frames on the finished message, then %d frames shown of %d" %
          (IDLE_FRAMES + gained, sum(1 for _, s, _ in after if s), len(after)))
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
