#!/usr/bin/env python3
"""Reading comfort in the real program, with real keys: the read marks of a
played scene survive a restart and an edit of other lines of the scene file;
Ctrl held skips the read messages and stops at the first unread one and at a
menu; Tab skips up to a menu; auto mode advances by itself and stops at a
menu; H hides the message until the next key; the player's text speed and
volumes come from the preferences file (instant text shows whole in its first
frame, music at volume 0 is silent in OpenAL's wave recording); a damaged
preferences file gives the defaults and one report. Usage: run_reading.py <kura program> <demo data folder>"""

import json
import os
import re
import sys
import time

from run_demo import (ADVANCE_AT, advance_to_menu, demo_copy, in_game, keys, menu_region,
                      new_game, steady, wait_until)
from screen import menu_text, run

WAVE_CONF = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "runtime",
                         "alsoft-wave.conf")
SIGN_CORNER = (760, 0, 960, 20)
# The signs are drawn warm yellow (255, 224, 128).
def sign(r, g, b):
    return r > 200 and g > 170 and b < 170 and r - b > 60
# Scene 1's fifth message, edited between runs, and a comment added above all.
FIFTH = "ううん、いま来たところ。"
FIFTH_EDITED = "ううん、さっき来たところ。"


def marks(saves):
    return json.load(open(os.path.join(saves, "read.json"), encoding="utf-8"))["read"]["001.kel"]


def spoken(texts, line):
    return any(line in text for text in texts)


def hold(game, key, seconds):
    game.win.move(*ADVANCE_AT)
    time.sleep(0.25)
    run("xdotool", "keydown", key)
    time.sleep(seconds)
    run("xdotool", "keyup", key)


def shows_menu(game, region):
    return bool(steady(game).bands(region, menu_text))


def message_counts(game, seconds):
    """The message area's lit pixels from its first lit frame on, for seconds."""
    counts = [wait_until("a message shows", game.message_pixels, 30)]
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        counts.append(game.message_pixels())
    return counts


def loudest(path):
    """The largest 16-bit sample after the data chunk's header; its size field
    is not trusted, as the recorder fills it in only when the device closes."""
    recording = open(path, "rb").read()
    start = recording.index(b"data") + 8
    samples = memoryview(recording[start:start + (len(recording) - start) // 2 * 2]).cast("h")
    return max((abs(sample) for sample in samples), default=0)


def play_recorded(kura, work, data, saves, preferences):
    """A run with the preferences file given, to its first message, recorded;
    answers the message's pixel counts and the loudest sample heard."""
    json.dump(preferences, open(os.path.join(saves, "preferences.json"), "w"))
    recording = os.path.join(work, "heard.wav")
    # Without dither silence records as zeros, not as noise of one step.
    conf = os.path.join(work, "alsoft.conf")
    open(conf, "w").write(open(WAVE_CONF).read().replace("[general]\n", "[general]\ndither = false\n"))
    os.environ.pop("ALSOFT_DRIVERS", None)
    os.environ.update(ALSOFT_CONF=conf, ALSOFT_WAVE_FILE=recording)
    game = new_game(kura, work, data)
    counts = message_counts(game, 0.6)
    time.sleep(1.0)
    assert game.quit() == 0
    return counts, loudest(recording)


def main(kura, demo_data):
    menu = menu_region(demo_data)
    with demo_copy(demo_data) as (work, data):
        saves = in_game(data, "save")
        scene = in_game(data, "scenario", "001.kel")
        log = os.path.join(work, "log.txt")

        # A damaged preferences file: the defaults, one report. Scene 1 read
        # up to its first menu.
        os.makedirs(saves)
        open(os.path.join(saves, "preferences.json"), "w").write('{"textSpeed": "fast"')
        game = new_game(kura, work, data)
        advance_to_menu(game, menu)
        assert game.quit() == 0
        assert open(log, encoding="utf-8").read().count("preferences unreadable") == 1
        read = marks(saves)
        assert len(read) == 7 and spoken(read, FIFTH), read

        # The fifth message edited, a line added above everything: the others
        # stay read. Ctrl skips to the fifth and stops there even while held;
        # read, it lets Ctrl pass the rest but not the menu.
        text = open(scene, encoding="utf-8").read()
        open(scene, "w", encoding="utf-8").write("// edited\n" + text.replace(FIFTH, FIFTH_EDITED))
        os.remove(os.path.join(saves, "preferences.json"))
        game = new_game(kura, work, data)
        hold(game, "Control_L", 4)
        stopped = steady(game)
        assert not stopped.bands(menu, menu_text), "skip passed the unread message"
        keys(game, "h")
        wait_until("H hides the message", lambda: game.message_pixels() == 0, 5)
        keys(game, "z")  # shows it again and does nothing else
        wait_until("a key shows the message again", game.message_pixels, 5)
        hold(game, "Control_L", 2)
        assert not shows_menu(game, menu), "Ctrl passed the unread message"
        game.win.click(*ADVANCE_AT)
        time.sleep(0.5)
        decided = game.stdout().count("result=")
        hold(game, "Control_L", 4)
        assert shows_menu(game, menu), "Ctrl did not skip the read messages to the menu"
        assert game.stdout().count("result=") == decided, "skip passed a menu"
        assert game.quit() == 0
        assert spoken(marks(saves), FIFTH_EDITED)

        # Tab: skip mode runs to the menu without a key held and stays there;
        # auto mode after a choice reads on to the next menu by itself.
        json.dump({"autoDelayMs": 300}, open(os.path.join(saves, "preferences.json"), "w"))
        game = new_game(kura, work, data)
        decided = game.stdout().count("result=")
        time.sleep(1.0)
        keys(game, "Tab")
        wait_until("Tab skips to the menu", lambda: shows_menu(game, menu), 15)
        time.sleep(1.0)
        assert shows_menu(game, menu) and game.stdout().count("result=") == decided
        assert game.decide(menu, 1) == "1 ないしょ"
        keys(game, "a")
        assert wait_until("the auto sign", lambda: game.win.shot().count(SIGN_CORNER, sign), 5)
        wait_until("auto mode reads to the next menu", lambda: shows_menu(game, menu), 30)
        time.sleep(2.0)
        assert shows_menu(game, menu) and game.stdout().count("result=") == decided + 1
        assert game.quit() == 0

        # Text speeds and volumes from the preferences: the slowest speed
        # types, the instant one shows the whole message at once; music heard
        # at full volume is silent at 0. The chapter title, which goes on by
        # itself, is taken out, so the first message stays until a click.
        text = open(scene, encoding="utf-8").read()
        text, taken = re.subn(r"\ncaption\(.*\);", "", text)
        assert taken == 1
        open(scene, "w", encoding="utf-8").write(text)
        slow, heard = play_recorded(kura, work, data, saves,
                                    {"textSpeed": 0, "musicVolume": 100, "soundVolume": 0})
        instant, silent = play_recorded(kura, work, data, saves,
                                        {"textSpeed": 4, "musicVolume": 0, "soundVolume": 0})
        assert slow[-1] > slow[0], slow
        assert instant.count(instant[0]) == len(instant), instant
        assert heard > 1000 and silent == 0, (heard, silent)
        print("slow typing %r; instant %r; loudest sample %d at full music, %d at none"
              % (slow[:4], instant[:4], heard, silent))


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
