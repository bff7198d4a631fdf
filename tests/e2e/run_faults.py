#!/usr/bin/env python3
"""A faulty game keeps running: the real program on a copy of the demo's data
folder with a missing font, a scenario that names a window that is not there,
a missing picture and sound, and a next file that does not compile; then a
scene that loops without end. Each is reported once in log.txt (the broken
file with its path, the loop with its file and line); the game goes on and
still ends on Escape with status 0. Usage: run_faults.py <kura program> <demo data folder>"""

import os
import re
import shutil
import sys
import time

from run_demo import ADVANCE_AT, TITLE_MENU, at_title, demo_copy, new_game, setting, wait_until

FIRST_SCENE = """callWindowManagerClearAll();
callWindowSetPos(5, 10, 10);
callWindowManagerAdd(2);
callWindowLoad(0, "image/bg", "none.png");
callSoundLoadSE(20, "none.wav");
callDispMessage("こわれたゲーム", -1);
yield;
callGotoNextScript("002.kel");
return 1;
"""
BROKEN_SCENE = "callDispMessage(\"unclosed;\n"
RUNAWAY_SCENE = """callWindowManagerClearAll();
callDispMessage("とまらない", -1);
yield;
n = 0;
while (1) { n++; }
"""
RUNAWAY_LINE = 5


def main(kura, demo_data):
    folder_name = setting(demo_data, "app_folder_name")
    with demo_copy(demo_data) as (work, data):
        settings = os.path.join(data, "setting.kel")
        text = open(settings, encoding="utf-8").read()
        # Font type 0 is used by nothing on screen, so only the report shows.
        text = re.sub(r'(fontPathS\s*=\s*)"[^"]*"', r'\1"missing.ttf"', text)
        open(settings, "w", encoding="utf-8").write(text)
        scenario = os.path.join(data, folder_name, "scenario")
        open(os.path.join(scenario, "001.kel"), "w", encoding="utf-8").write(FIRST_SCENE)
        open(os.path.join(scenario, "002.kel"), "w", encoding="utf-8").write(BROKEN_SCENE)
        log = os.path.join(work, "log.txt")

        game = at_title(kura, work, data)
        reports = open(log, encoding="utf-8").read()
        assert "Func=testApp::setup" in reports and "font->isLoaded()" in reports, reports
        assert game.decide(TITLE_MENU, 0) == "0 はじめから"
        wait_until("the message is typed", game.message_pixels, 20)
        time.sleep(1.0)  # a message without a speaker types on; nothing is reported for it
        game.win.click(*ADVANCE_AT)
        wait_until("the broken file is reported",
                   lambda: "ScenarioPlayer::reload" in open(log, encoding="utf-8").read(), 10)
        time.sleep(1.0)
        reports = open(log, encoding="utf-8").read()
        broken = "scenario file not loaded: data/%s/scenario/002.kel" % folder_name
        for expected in ("index>=0 && index<mWindowManager.size()", "none.png",
                         "none.wav", "mes=0\n", broken):
            assert reports.count(expected) == 1, "%s reported %d times:\n%s" % (
                expected, reports.count(expected), reports)
        assert reports.count("Func=") == 6, reports
        quit_quickly(game)

        shutil.rmtree(os.path.join(data, folder_name, "save"), ignore_errors=True)
        open(os.path.join(scenario, "001.kel"), "w", encoding="utf-8").write(RUNAWAY_SCENE)
        check_runaway(kura, work, data, folder_name, log)


def quit_quickly(game):
    started = time.monotonic()
    assert game.quit() == 0
    assert time.monotonic() - started < 5, "Escape took too long to end the program"


# The loop is stopped by the bound on every script, reported once where it was,
# and the game still answers: Escape ends it at once.
def check_runaway(kura, work, data, folder_name, log):
    before = open(log, encoding="utf-8").read()
    game = new_game(kura, work, data)
    wait_until("the message is typed", game.message_pixels, 20)
    game.win.click(*ADVANCE_AT)
    stopped = "script stopped after "
    wait_until("the loop is reported",
               lambda: stopped in open(log, encoding="utf-8").read()[len(before):], 30)
    time.sleep(1.0)
    reports = open(log, encoding="utf-8").read()[len(before):]
    where = "data/%s/scenario/001.kel line %d" % (folder_name, RUNAWAY_LINE)
    assert reports.count(stopped) == 1 and where in reports, reports
    quit_quickly(game)


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
