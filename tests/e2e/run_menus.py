#!/usr/bin/env python3
"""The system menu, the backlog and the preferences in the real program, with
real keys and clicks: a right click in a choice's sub-menu still goes back to
its parent; the backlog after ten messages and two choices lists them in
order with their speakers' names; a click on its fifth entry rolls the story
back there, and the backlog then holds five entries; every item of the system
menu is reached by keys and by the mouse; the preferences change and are kept;
Quit asks, a right click in its question goes back to the menu, and Yes ends
the program with an auto-save. Usage: run_menus.py <kura program> <demo data folder>"""

import json
import os
import sys
import time

from run_demo import (ADVANCE_AT, MESSAGE_AREA, TITLE_MENU, check_title, demo_copy, in_game, keys,
                      menu_region, new_game, wait_until)
from screen import SETTLE_SECONDS, menu_text, near, run

# The fills the screens draw with, as the window shows them.
ROW_FILL = (0x20, 0x30, 0x40)
CURSOR_FILL = (0x5A, 0x3A, 0x3A)
PANEL_FILL = (0x10, 0x18, 0x28)
NO_PICTURE = (0x10, 0x10, 0x10)
NAME = (0xFF, 0xE0, 0x80)
CHOICE = (0x80, 0xC0, 0xFF)
MENU_ITEMS = ["save", "load", "backlog", "preferences", "auto", "skip", "title", "quit"]


def item_at(item):
    return (480, 96 + item * 52 + 22)


def backlog_row(row):
    return (40, 66 + row * 90, 920, 66 + row * 90 + 84)


def filled(shot, x, y):
    return near(shot.pixel(x, y), ROW_FILL, 4) or near(shot.pixel(x, y), CURSOR_FILL, 4)


def screen_of(shot):
    """Which screen is up, read from the fills only it has at those points."""
    if near(shot.pixel(165, 235), PANEL_FILL, 4):
        return "question"
    if filled(shot, 42, 68) and near(shot.pixel(100, 106), NO_PICTURE, 4):
        return "load" if filled(shot, 950, 18) else "save"
    if filled(shot, 42, 68):
        return "backlog"
    if filled(shot, 142, 78):
        return "preferences"
    if filled(shot, 352, 98):
        return "menu"
    return "story"


def shows(game, screen):
    return wait_until("the %s shows" % screen,
                      lambda: screen_of(game.win.shot()) == screen or None, 10)


def menu_cursor(shot):
    return [item for item in range(8) if near(shot.pixel(352, 98 + item * 52), CURSOR_FILL, 4)]


def press(game, key, screen):
    keys(game, key)
    shows(game, screen)


def right_click(game, at=ADVANCE_AT):
    game.win.move(*at)
    time.sleep(SETTLE_SECONDS)
    run("xdotool", "click", "3")


def message_crop(game):
    shot = game.win.shot()
    x0, y0, x1, y1 = MESSAGE_AREA
    return b"".join(shot.rgb[3 * (y * shot.w + x0):3 * (y * shot.w + x1)] for y in range(y0, y1))


def steady_message(game):
    """The message area once it stops changing (its text typed whole)."""
    def look():
        first = message_crop(game)
        time.sleep(0.4)
        return first if first == message_crop(game) else None
    return wait_until("the message is typed", look, 20)


def backlog_page(game):
    """For each row of the page: "choice", or by the width of the speaker's
    name "3" for the three-character name and "2" for the two-character ones."""
    shot = game.win.shot()
    rows = []
    for row in range(6):
        x0, y0, x1, y1 = backlog_row(row)
        if not filled(shot, x0 + 2, y0 + 2):
            break
        if shot.count((x0 + 170, y0, x1, y1), lambda *p: near(p, CHOICE, 40)) > 20:
            rows.append("choice")
            continue
        name = shot.bands((x0, y0, x0 + 170, y1), lambda *p: near(p, NAME, 50), False, 20)
        assert name, "row %d has no name" % row
        rows.append("3" if name[-1][1] - name[0][0] > 52 else "2")
    return rows


def play_to_last_message(game, menu):
    """Advances by clicks through scene 1 and its two choices, the first made
    after a right click in its sub-menu; stops at the message after the
    second choice. Answers the message area, as it stood once typed, of the
    fifth message: the third before the first choice (the chapter title
    before it goes on by itself and may pass unseen)."""
    messages, decisions = [], []
    deadline = time.monotonic() + 120
    while True:
        assert time.monotonic() < deadline, "scene 1 stalled after %r" % decisions
        if game.win.shot().bands(menu, menu_text):
            if not decisions:
                fifth = messages[-3]
                assert game.decide(menu, 0) == "0 見せる"
                time.sleep(0.5)
                right_click(game, (menu[2] + 100, menu[1] + 40))
                time.sleep(0.5)
                assert screen_of(game.win.shot()) == "story", "a system screen opened"
                assert game.decide(menu, 0) == "0 見せる", "the sub-menu did not go back"
            decisions.append(game.decide(menu, 0))
            continue
        crop = steady_message(game)
        if game.win.shot().bands(menu, menu_text) or (messages and messages[-1] == crop and
                                                      len(decisions) == 2):
            continue
        if not messages or messages[-1] != crop:
            messages.append(crop)
        if len(decisions) == 2:
            break
        game.win.click(*ADVANCE_AT)
        time.sleep(0.3)
    assert decisions == ["0 星座の本", "0 星を待つ"], decisions
    assert len(messages) >= 9, len(messages)
    return fifth


def move_cursor(game, key, want):
    """One key at a time, each seen on the screen before the next: a key let
    go between two frames of a busy program would not be seen at all."""
    while menu_cursor(game.win.shot()) != [want]:
        before = menu_cursor(game.win.shot())
        keys(game, key)
        wait_until("the cursor moves", lambda: menu_cursor(game.win.shot()) != before, 5)


def reach_by_keys(game, item):
    press(game, "F1", "menu")
    move_cursor(game, "Down", item)
    keys(game, "z")


def reach_by_mouse(game, item, opener="F1"):
    if opener == "F1":
        keys(game, "F1")
    else:
        right_click(game)
    shows(game, "menu")
    game.win.click(*item_at(item))


def on_mark(game, item):
    x, y = item_at(item)
    return game.win.shot().count((x + 70, y - 20, x + 128, y + 20), lambda *p: min(p) > 200)


def title_to_story(game, data):
    check_title(game, data, TITLE_MENU, 1)
    assert game.decide(TITLE_MENU, 0) == "0 はじめから"
    wait_until("a message shows", game.message_pixels, 20)


def main(kura, demo_data):
    menu = menu_region(demo_data)
    with demo_copy(demo_data) as (work, data):
        saves = in_game(data, "save")
        game = new_game(kura, work, data)
        wait_until("a message shows", game.message_pixels, 20)
        fifth = play_to_last_message(game, menu)

        # Newest at the bottom; the wheel turned away shows the oldest.
        press(game, "l", "backlog")
        time.sleep(0.3)
        assert backlog_page(game) == ["2", "choice", "3", "2", "choice", "3"], backlog_page(game)
        game.win.move(*ADVANCE_AT)
        for _ in range(6):
            run("xdotool", "click", "4")
            time.sleep(0.1)
        time.sleep(0.5)
        assert backlog_page(game) == ["2", "2", "3", "2", "3", "2"], backlog_page(game)

        # The fifth entry, confirmed by a click on "Yes".
        x0, y0, x1, y1 = backlog_row(4)
        game.win.click((x0 + x1) // 2, (y0 + y1) // 2)
        shows(game, "question")
        game.win.click(300 + 70, 340 + 22)
        wait_until("the fifth message shows again", lambda: message_crop(game) == fifth, 20)
        press(game, "l", "backlog")
        time.sleep(0.3)
        assert backlog_page(game) == ["2", "2", "3", "2", "3"], backlog_page(game)
        press(game, "x", "story")

        # Each item by keys and by the mouse; the screens opened from the
        # menu go back to it.
        for item, screen in enumerate(MENU_ITEMS[:4]):
            for by_keys in (True, False):
                if by_keys:
                    reach_by_keys(game, item)
                else:
                    reach_by_mouse(game, item, "right")
                shows(game, screen)
                if by_keys:
                    keys(game, "x")
                else:
                    right_click(game)
                if screen in ("backlog", "preferences"):
                    shows(game, "menu")
                    keys(game, "x")
                shows(game, "story")
        reach_by_keys(game, 4)
        shows(game, "story")
        press(game, "F1", "menu")
        assert on_mark(game, 4) > 20, "auto mode is not on"
        game.win.click(*item_at(4))
        shows(game, "story")
        press(game, "F1", "menu")
        assert on_mark(game, 4) == 0, "auto mode is still on"
        press(game, "x", "story")
        # Skipping passes the messages read before and stops at the next menu.
        reach_by_keys(game, 5)
        wait_until("skipping reaches the first menu",
                   lambda: game.win.shot().bands(menu, menu_text), 20)
        assert game.decide(menu, 0) == "0 見せる"
        assert game.decide(menu, 0) == "0 星座の本"
        steady_message(game)
        reach_by_mouse(game, 5, "right")
        wait_until("skipping reaches the second menu",
                   lambda: game.win.shot().bands(menu, menu_text), 20)

        # The preferences: Right makes the text speed instant, kept at once.
        reach_by_keys(game, 3)
        shows(game, "preferences")
        keys(game, "Right")
        wait_until("the preferences are kept", lambda: os.path.exists(
            os.path.join(saves, "preferences.json")), 5)
        assert json.load(open(os.path.join(saves, "preferences.json")))["textSpeed"] == 4
        press(game, "x", "menu")
        press(game, "x", "story")

        # Title, by keys (Left moves to "Yes") and by the mouse.
        reach_by_keys(game, 6)
        shows(game, "question")
        keys(game, "Left")
        wait_until("Yes is chosen", lambda: near(game.win.shot().pixel(302, 342), CURSOR_FILL, 4), 5)
        keys(game, "z")
        title_to_story(game, data)
        reach_by_mouse(game, 6, "right")
        shows(game, "question")
        game.win.click(300 + 70, 340 + 22)
        title_to_story(game, data)

        # Quit asks; a right click in the question goes back to the menu.
        press(game, "F1", "menu")
        move_cursor(game, "Up", 7)
        press(game, "z", "question")
        right_click(game)
        shows(game, "menu")
        assert menu_cursor(game.win.shot()) == [7]
        game.win.click(*item_at(7))
        shows(game, "question")
        game.win.click(300 + 70, 340 + 22)
        assert game.proc.wait(20) == 0
        assert any(name.startswith("auto") for name in os.listdir(saves)), os.listdir(saves)
        log = os.path.join(work, "log.txt")
        assert not os.path.exists(log), "reports: " + open(log, encoding="utf-8").read()


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
