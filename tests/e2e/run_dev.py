#!/usr/bin/env python3
"""Developer mode on screen: a scene with a run-time fault shows a banner over
the top of the canvas with --dev and none without; the fault still reaches
standard output; after the current message's text is edited, Shift+R shows
the new text at the same message, not from the scene's start.
Usage: run_dev.py <kura program> <demo data folder>"""

import os
import sys

from run_demo import ADVANCE_AT, MESSAGE_AREA, demo_copy, in_game, new_game, wait_until
from screen import message_text, near

SCENE = """callWindowManagerClearAll();
lists.sort(5);
callDispMessage("あ", -1);
yield;
callDispMessage("%s", -1);
yield;
"""
SECOND, EDITED = "いい", "うううううううううう"
BANNER = (0, 0, 960, 20)


# The banner's dark red over the black stage.
def banner_red(r, g, b):
    return near((r, g, b), (144, 0, 0), 12)


def message_width(game):
    columns = game.win.shot().bands(MESSAGE_AREA, message_text, vertical=False)
    return columns[-1][1] - columns[0][0] if columns else 0


def start(kura, work, data, options):
    game = new_game(kura, work, data, options)
    wait_until("the first message shows", game.message_pixels, 20)
    return game


def main(kura, demo_data):
    with demo_copy(demo_data, "kura-dev-") as (work, data):
        scene = in_game(data, "scenario", "001.kel")
        with open(scene, "w", encoding="utf-8") as f:
            f.write(SCENE % SECOND)

        game = start(kura, work, data, [])
        assert game.win.shot().count(BANNER, banner_red) == 0, "a banner without --dev"
        assert game.quit() == 0

        game = start(kura, work, data, ["--dev"])
        wait_until("the banner shows", lambda: game.win.shot().count(BANNER, banner_red) > 5000,
                   10)
        assert "lists.sort: the argument is not a list" in game.stdout(), game.stdout()
        one = message_width(game)
        game.win.click(*ADVANCE_AT)
        two = wait_until("the second message shows",
                         lambda: (lambda w: w if w > one else 0)(message_width(game)), 10)
        with open(scene, "w", encoding="utf-8") as f:
            f.write(SCENE % EDITED)
        game.win.move(*ADVANCE_AT)
        game.win.key("shift+r")
        # Ten characters where two were: the edited message, not the first one.
        edited = wait_until("the edited message shows",
                            lambda: (lambda w: w if w > 2 * two else 0)(message_width(game)), 10)
        assert game.win.shot().count(BANNER, banner_red) > 5000, "the banner went away"
        assert game.quit() == 0
        print("message widths: first %d, second %d, edited %d" % (one, two, edited))


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
