#!/usr/bin/env python3
"""Saves in the real program, with real keys and clicks: a save in slot 3 made
on the save screen after a choice, loaded after a restart, shows the saved
screen and goes on as before; quick save and load; rolling back and forward by
keys and wheel; rolling back past a menu to choose the other branch; the
auto-save made at Escape loads at the next start; a damaged slot shows as
damaged and the game goes on; a slot loads at its message after the scene file
was edited. Usage: run_saves.py <kura program> <demo data folder>"""

import os
import shutil
import sys
import tempfile
import time

from run_demo import (ADVANCE_AT, Game, check_title, require_fonts, setting, stop_all,
                      wait_until)
from screen import menu_text, near, run

TITLE_MENU = (300, 240, 660, 340)
# Slot rows of the screens, and the tab of the quick and auto slots.
def row_at(row):
    return (480, 66 + row * 90 + 42)
QUICK_TAB_AT = (330 + 5 * 95 + 60, 34)
DAMAGED_RED = lambda r, g, b: near((r, g, b), (0xFF, 0x60, 0x60), 40)


def same(a, b):
    return a.w == b.w and a.h == b.h and a.rgb == b.rgb


def steady(game):
    """The screen once two looks a moment apart agree (typing has ended)."""
    def look():
        first = game.win.shot()
        time.sleep(0.3)
        return first if same(first, game.win.shot()) else None
    return wait_until("the screen stops changing", look, 20)


def shows(game, picture, what):
    wait_until(what, lambda: same(game.win.shot(), picture), 10)


def advance_to_menu(game, region):
    deadline = time.monotonic() + 60
    while not game.win.shot().bands(region, menu_text):
        assert time.monotonic() < deadline, "no menu came"
        game.win.click(*ADVANCE_AT)
        time.sleep(0.5)


def hover_first(game, region):
    """Points at the menu's first item, so the cursor stands there whatever the
    pointer did before."""
    first, last = wait_until("the menu shows", lambda: game.stable_bands(region, True, 4), 15)[0]
    across = game.win.shot().bands((region[0], first, region[2], last + 1), menu_text, False)
    game.win.move((across[0][0] + across[-1][1]) // 2, (first + last) // 2)
    time.sleep(0.3)


def keys(game, *names):
    game.win.move(*ADVANCE_AT)
    time.sleep(0.25)
    game.win.key(*names)


def main(kura, demo_data):
    require_fonts(demo_data)
    title = setting(demo_data, "app_title")
    folder = setting(demo_data, "app_folder_name")
    cmd_x, cmd_y = int(setting(demo_data, "cmd_wind_x")), int(setting(demo_data, "cmd_wind_y"))
    menu = (cmd_x - 5, cmd_y - 5, cmd_x + 300, cmd_y + 200)
    work = tempfile.mkdtemp(prefix="kura-e2e-")
    try:
        data = os.path.join(work, "data")
        shutil.copytree(demo_data, data, ignore=shutil.ignore_patterns("save"))
        saves = os.path.join(data, folder, "save")

        # Slot 3 on the save screen, after the first choice.
        game = Game(kura, work, title)
        check_title(game, data, TITLE_MENU, 1)
        game.decide(TITLE_MENU, 0)
        advance_to_menu(game, menu)
        assert game.decide(menu, 1) == "1 ないしょ"
        saved = steady(game)
        keys(game, "F2")
        time.sleep(0.5)
        game.win.click(*row_at(2))
        wait_until("slot 3 is written", lambda: os.path.exists(os.path.join(saves, "slot03.png")), 5)
        keys(game, "x")
        shows(game, saved, "the save screen closes")
        game.win.click(*ADVANCE_AT)
        advance_to_menu(game, menu)
        hover_first(game, menu)
        after = steady(game)
        assert game.quit() == 0
        assert os.path.exists(os.path.join(saves, "auto1.json")), os.listdir(saves)

        # After a restart slot 3 loads from the title's load screen.
        game = Game(kura, work, title)
        check_title(game, data, TITLE_MENU, 1)
        keys(game, "F3")
        time.sleep(0.5)
        game.win.click(*row_at(2))
        shows(game, saved, "slot 3 shows the saved screen")
        game.win.click(*ADVANCE_AT)
        advance_to_menu(game, menu)
        hover_first(game, menu)
        shows(game, after, "the same message and menu follow")

        # Quick save, a choice, quick load.
        keys(game, "F5")
        wait_until("the quick save", lambda: os.path.exists(os.path.join(saves, "quick.png")), 5)
        assert game.decide(menu, 0) == "0 星を待つ"
        keys(game, "F9")
        hover_first(game, menu)
        shows(game, after, "the quick save shows again")

        # Three messages back and forward again, by keys and by the wheel.
        keys(game, "Prior", "Prior", "Prior")
        back = steady(game)
        assert not same(back, after)
        keys(game, "Next", "Next", "Next")
        shows(game, after, "rolling forward comes back")
        game.win.move(*ADVANCE_AT)
        for button in ("4", "4", "4", "5", "5", "5"):
            run("xdotool", "click", button)
            time.sleep(0.15)
        shows(game, after, "the wheel rolls back and forward")

        # Back past the first menu, and the other branch.
        # Each step is looked at once the screen has settled: a rollback replays
        # the story, which takes a moment on a loaded machine.
        for _ in range(8):
            keys(game, "Prior")
            if len(steady(game).bands(menu, menu_text)) == 2:
                break
        assert game.decide(menu, 0) == "0 見せる"
        assert game.decide(menu, 0) == "0 星座の本"
        assert "見せる-星座の本" in game.stdout()
        escaped = steady(game)
        assert game.quit() == 0

        # A damaged slot shows so; the auto-save made at Escape loads.
        open(os.path.join(saves, "slot05.json"), "w").write("{ not a save")
        game = Game(kura, work, title)
        check_title(game, data, TITLE_MENU, 1)
        keys(game, "F3")
        time.sleep(0.5)
        x0, y0 = 40 + 150, 66 + 4 * 90
        assert steady(game).count((x0, y0, x0 + 400, y0 + 30), DAMAGED_RED) > 20
        game.win.click(*row_at(4))
        game.win.click(*QUICK_TAB_AT)
        game.win.click(*row_at(2))
        shows(game, escaped, "the auto-save of the last Escape")
        assert game.quit() == 0

        # A message added before the saved place: slot 3 still loads at its
        # message, and log.txt says which file changed.
        scene = os.path.join(data, folder, "scenario", "001.kel")
        anchor = 'narrate("丘の上に、夕方の風が吹いている。");\n'
        text = open(scene, encoding="utf-8").read()
        assert anchor in text
        open(scene, "w", encoding="utf-8").write(
            text.replace(anchor, anchor + 'narrate("遠くで鳥が鳴いた。");\n'))
        game = Game(kura, work, title)
        check_title(game, data, TITLE_MENU, 1)
        keys(game, "F3")
        time.sleep(0.5)
        game.win.click(*row_at(2))
        shows(game, saved, "slot 3 shows its message after the edit")
        log = open(os.path.join(work, "log.txt"), encoding="utf-8").read()
        assert "001.kel changed since the save: has the saved message at another place" in log, log
        assert game.quit() == 0
    finally:
        stop_all()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
