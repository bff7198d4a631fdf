#!/usr/bin/env python3
"""A faulty game keeps running: the real program on a copy of the demo's data
folder with a missing font, a scenario that names a window that is not there,
a missing picture and sound, and a next file that does not compile. Each is
reported once in log.txt; the game goes on and still ends on Escape with
status 0. Usage: run_faults.py <kura program> <demo data folder>"""

import os
import re
import shutil
import sys
import tempfile
import time

from run_demo import (ADVANCE_AT, Game, check_title, require_fonts, setting, stop_all,
                      wait_until)

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


def main(kura, demo_data):
    require_fonts(demo_data)
    title = setting(demo_data, "app_title")
    folder_name = setting(demo_data, "app_folder_name")
    work = tempfile.mkdtemp(prefix="kura-e2e-")
    try:
        data = os.path.join(work, "data")
        shutil.copytree(demo_data, data, ignore=shutil.ignore_patterns("save"))
        settings = os.path.join(data, "setting.kel")
        text = open(settings, encoding="utf-8").read()
        # Font type 0 is used by nothing on screen, so only the report shows.
        text = re.sub(r'(fontPathS\s*=\s*)"[^"]*"', r'\1"missing.ttf"', text)
        open(settings, "w", encoding="utf-8").write(text)
        scenario = os.path.join(data, folder_name, "scenario")
        open(os.path.join(scenario, "001.kel"), "w", encoding="utf-8").write(FIRST_SCENE)
        open(os.path.join(scenario, "002.kel"), "w", encoding="utf-8").write(BROKEN_SCENE)
        log = os.path.join(work, "log.txt")

        game = Game(kura, work, title)
        check_title(game, data, (300, 240, 660, 340), 1)
        reports = open(log, encoding="utf-8").read()
        assert "Func=testApp::setup" in reports and "font->isLoaded()" in reports, reports
        assert game.decide((300, 240, 660, 340), 0) == "0 はじめから"
        wait_until("the message is typed", game.message_pixels, 20)
        time.sleep(1.0)  # a message without a speaker types on; nothing is reported for it
        game.win.click(*ADVANCE_AT)
        wait_until("the broken file is reported",
                   lambda: "ScenarioPlayer::reload" in open(log, encoding="utf-8").read(), 10)
        time.sleep(1.0)
        reports = open(log, encoding="utf-8").read()
        for expected in ("index>=0 && index<mWindowManager.size()", "none.png",
                         "none.wav", "ScenarioPlayer::reload"):
            assert reports.count(expected) == 1, "%s reported %d times:\n%s" % (
                expected, reports.count(expected), reports)
        assert reports.count("Func=") == 5, reports
        started = time.monotonic()
        assert game.quit() == 0
        assert time.monotonic() - started < 5, "Escape took too long to end the program"
    finally:
        stop_all()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
