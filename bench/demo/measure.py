#!/usr/bin/env python3
"""Figures of the program playing the demo under the X server of DISPLAY:
seconds from start to the first frame shown, resident memory at the title,
and frames per second and CPU use while a message types and while a finished
message waits. Usage: measure.py <kura program> <demo data> <frame counter .so>
Run it on an optimised build; the figures are printed, nothing is asserted.
The frame counter is frame_counter.c beside this file:
    cc -O2 -shared -fPIC -o frame_counter.so frame_counter.c -ldl"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

# The end-to-end test's driver plays the demo here too.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests",
                                "e2e"))
from run_demo import Game, check_title, require_fonts, setting, wait_until

TITLE_MENU = (300, 240, 660, 340)
# Realistic messages of three lines, typed one after the other without end, then
# one that waits for the player.
MEASURED_SCENE = """#include "story.kel"
buildStage(SKY_DUSK);
enter(CHARA_AOI);
for (i = 0; i < 5; i++) {
    callSetMessageWindowCharacter(CHARA_AOI, FACE_PLAIN, CHARA_AOI);
    show("丘の上に、夕方の風が吹いている。空が少しずつ暗くなって、星がひとつ、またひとつと光りはじめた。れんはまだ来ない。", 100);
}
show("おしまい。", -1);
"""
WINDOW_SECONDS = 4.0
# Lit pixels of the last, short message; the long ones have several times more.
SHORT_MESSAGE_PIXELS = 1500


def frames(path):
    count, first, at = open(path).read().split()[:3]
    return int(count), float(first), float(at)


def cpu_seconds(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def rss_mib(pid):
    for line in open("/proc/%d/status" % pid):
        if line.startswith("VmRSS:"):
            return int(line.split()[1]) / 1024.0
    return 0.0


def sample(game, frame_file):
    """Frames shown per second and CPU percent over the next few seconds. A
    frame that would show what the one before showed is not shown, so a
    screen that does not change shows none."""
    f0, _, _ = frames(frame_file)
    c0, w0 = cpu_seconds(game.proc.pid), time.monotonic()
    time.sleep(WINDOW_SECONDS)
    f1, _, _ = frames(frame_file)
    c1, w1 = cpu_seconds(game.proc.pid), time.monotonic()
    return (f1 - f0) / (w1 - w0), 100.0 * (c1 - c0) / (w1 - w0)


def final_message_waits(game):
    """The short last message is typed when the message area stops changing."""
    before = game.message_pixels()
    time.sleep(0.5)
    return 0 < before < SHORT_MESSAGE_PIXELS and game.message_pixels() == before


def main(kura, demo_data, counter):
    require_fonts(demo_data)
    title = setting(demo_data, "app_title")
    folder_name = setting(demo_data, "app_folder_name")
    work = tempfile.mkdtemp(prefix="kura-measure-")
    try:
        data = os.path.join(work, "data")
        shutil.copytree(demo_data, data, ignore=shutil.ignore_patterns("save"))
        scene = os.path.join(data, folder_name, "scenario", setting(demo_data, "start_scenario_file"))
        open(scene, "w", encoding="utf-8").write(MEASURED_SCENE)
        frame_file = os.path.join(work, "frames.txt")
        os.environ["KURA_FRAME_FILE"] = frame_file
        os.environ["LD_PRELOAD"] = counter
        game = Game(kura, work, title)
        del os.environ["LD_PRELOAD"]
        wait_until("the first frame", lambda: os.path.exists(frame_file), 30)
        check_title(game, data, TITLE_MENU, 1)
        time.sleep(1.0)
        title_rss = rss_mib(game.proc.pid)
        title_fps, title_cpu = sample(game, frame_file)
        game.decide(TITLE_MENU, 0)
        time.sleep(2.0)  # the stage is built and the first message types
        typing_fps, typing_cpu = sample(game, frame_file)
        wait_until("the last message waits", lambda: final_message_waits(game), 60)
        idle_fps, idle_cpu = sample(game, frame_file)
        _, first_frame, _ = frames(frame_file)
        game.quit()
        print("start to first frame: %.2f s" % first_frame)
        print("resident memory at the title: %.1f MiB" % title_rss)
        print("title: %.1f fps, %.0f%% CPU" % (title_fps, title_cpu))
        print("typing: %.1f fps, %.0f%% CPU" % (typing_fps, typing_cpu))
        print("idle on a finished message: %.1f fps, %.0f%% CPU" % (idle_fps, idle_cpu))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main(*(os.path.abspath(a) for a in sys.argv[1:4]))
