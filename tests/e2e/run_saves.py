#!/usr/bin/env python3
"""Saves in the real program, with real keys and clicks: a save in slot 3 made
on the save screen after a choice, loaded after a restart, shows the saved
screen and goes on as before; quick save and load; rolling back and forward by
keys and wheel; rolling back past a menu to choose the other branch; the
auto-save made at Escape loads at the next start; a damaged slot shows as
damaged and the game goes on; a slot loads at its message after the scene file
was edited. Usage: run_saves.py <kura program> <demo data folder>"""

import os
import sys
import time

from run_demo import (ADVANCE_AT, advance_to_menu, at_title, demo_copy, in_game, keys, menu_region,
                      new_game, same, steady, wait_until)
from screen import menu_text, near, run

# Slot rows of the screens, and the tab of the quick and auto slots.
def row_at(row):
    return (480, 66 + row * 90 + 42)
QUICK_TAB_AT = (330 + 5 * 95 + 60, 34)
DAMAGED_RED = lambda r, g, b: near((r, g, b), (0xFF, 0x60, 0x60), 40)


def shows(game, picture, what):
    wait_until(what, lambda: same(game.win.shot(), picture), 10)


def hover_first(game, region):
    """Points at the menu's first item, so the cursor stands there whatever the
    pointer did before."""
    first, last = wait_until("the menu shows", lambda: game.stable_bands(region, True, 4), 15)[0]
    across = game.win.shot().bands((region[0], first, region[2], last + 1), menu_text, False)
    game.win.move((across[0][0] + across[-1][1]) // 2, (first + last) // 2)
    time.sleep(0.3)


def main(kura, demo_data):
    menu = menu_region(demo_data)
    with demo_copy(demo_data) as (work, data):
        saves = in_game(data, "save")

        # Slot 3 on the save screen, after the first choice.
        game = new_game(kura, work, data)
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
        game = at_title(kura, work, data)
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
        game = at_title(kura, work, data)
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
        scene = in_game(data, "scenario", "001.kel")
        anchor = 'narrate("丘の上に、夕方の風が吹いている。");\n'
        text = open(scene, encoding="utf-8").read()
        assert anchor in text
        open(scene, "w", encoding="utf-8").write(
            text.replace(anchor, anchor + 'narrate("遠くで鳥が鳴いた。");\n'))
        game = at_title(kura, work, data)
        keys(game, "F3")
        time.sleep(0.5)
        game.win.click(*row_at(2))
        shows(game, saved, "slot 3 shows its message after the edit")
        log = open(os.path.join(work, "log.txt"), encoding="utf-8").read()
        assert "001.kel changed since the save: has the saved message at another place" in log, log
        assert game.quit() == 0


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
