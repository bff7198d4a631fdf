#!/usr/bin/env python3
"""Plays the demo game end to end: the real program on a copy of the demo's
data folder, under the X server of DISPLAY, driven by real pointer clicks and
key presses and checked by reading the screen, standard output and the files
it writes. Usage: run_demo.py <kura program> <demo data folder>"""

import contextlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from screen import (SETTLE_SECONDS, Picture, Window, find_window, menu_text, message_text,
                    near)

MESSAGE_AREA = (100, 495, 900, 635)
TITLE_MENU = (300, 240, 660, 340)
# Where a click advances a message without landing on any menu.
ADVANCE_AT = (480, 600)
# Seconds between advancing clicks: a click freezes the story for 20 frames.
ADVANCE_EVERY = 0.5


def setting(data, key):
    text = open(os.path.join(data, "setting.kel"), encoding="utf-8").read()
    found = re.search(r"\b%s\s*=\s*\"?([^\";]*)\"?;" % re.escape(key), text)
    assert found, "setting %s missing" % key
    return found.group(1)


def wait_until(what, predicate, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError("timed out waiting until " + what)


# Every program started, with the file its output went to, so that a run that
# fails half-way leaves none behind and shows what each one printed.
STARTED = []


def stop_all():
    failing = sys.exc_info()[0] is not None
    for game in STARTED:
        if failing and game.proc.poll() is None and hasattr(game, "win"):
            # What the screen showed when the run failed, for a look afterwards.
            path = os.path.join(tempfile.gettempdir(), "kura-e2e-failed-%d.ppm" % os.getpid())
            game.win.shot().save(path)
            print("---- the screen at the failure: %s" % path)
        if game.proc.poll() is None:
            game.proc.kill()
            game.proc.wait()
        if failing:
            print("---- the program printed (status %r):" % game.proc.returncode)
            print(game.stdout())


class Game:
    """One run of the program in folder."""

    def __init__(self, kura, folder, title, options=()):
        self.folder = folder
        self.stdout_path = os.path.join(folder, "stdout.txt")
        self.started = time.monotonic()
        with open(self.stdout_path, "w") as out:
            self.proc = subprocess.Popen([kura, *options], cwd=folder, stdout=out,
                                         stderr=subprocess.STDOUT)
        STARTED.append(self)
        try:
            self.win = Window(find_window(title, 60, lambda: self.proc.poll() is None))
        except AssertionError:
            raise AssertionError("the program showed no window (status %r); it printed:\n%s"
                                 % (self.proc.poll(), self.stdout()))
        assert self.win.name() == title, self.win.name()

    def stdout(self):
        return open(self.stdout_path, encoding="utf-8", errors="replace").read()

    def decide(self, region, index, vertical=True, column_gap=4, patient=True):
        """Clicks item index of the menu in region once it shows; answers the
        decision the program reports. Not patient: answers None when no menu
        stands there or the click decides nothing."""
        kind = menu_text
        try:
            bands = wait_until("the menu shows",
                               lambda: self.stable_bands(region, vertical, column_gap),
                               15 if patient else 3)
        except AssertionError:
            if patient:
                raise
            return None
        if not patient and index >= len(bands):
            return None
        first, last = bands[index]
        x0, y0, x1, y1 = region
        if vertical:
            across = self.win.shot().bands((x0, first, x1, last + 1), kind, False)
            x, y = (across[0][0] + across[-1][1]) // 2, (first + last) // 2
        else:
            down = self.win.shot().bands((first, y0, last + 1, y1), kind, True)
            x, y = (first + last) // 2, (down[0][0] + down[-1][1]) // 2
        decided = self.stdout().count("result=")
        self.win.click(x, y)
        try:
            wait_until("the decision", lambda: self.stdout().count("result=") > decided, 5)
        except AssertionError:
            if patient:
                raise
            return None
        return self.stdout().rsplit("result=", 1)[1].splitlines()[0]

    def stable_bands(self, region, vertical, gap):
        """The menu's bands when two looks a moment apart agree (it is open)."""
        first = self.win.shot().bands(region, menu_text, vertical, gap)
        if not first:
            return None
        time.sleep(0.15)
        return first if self.win.shot().bands(region, menu_text, vertical, gap) == first else None

    def message_pixels(self):
        return self.win.shot().count(MESSAGE_AREA, message_text)

    def quit(self):
        self.win.move(*ADVANCE_AT)
        time.sleep(SETTLE_SECONDS)
        self.win.key("Escape")
        return self.proc.wait(20)


def check_title(game, data, menu_region, items):
    picture = Picture.from_file(os.path.join(data, "Default@2x.png"))
    # Points of the title picture away from the menu; the contents script fades
    # the title in, so wait until the picture shows as it is.
    points = [(x, y) for x in range(10, 960, 95) for y in range(10, 640, 70)
              if not (menu_region[0] - 20 <= x < menu_region[2] + 20 and
                      menu_region[1] - 20 <= y < menu_region[3] + 20)]

    def picture_shows():
        shot = game.win.shot()
        return all(near(shot.pixel(x, y), picture.pixel(x, y), 3) for x, y in points)
    # The fade counts frames, and a loaded machine draws few of them a second.
    wait_until("the title picture shows", picture_shows, 60)
    bands = wait_until("the title menu shows",
                       lambda: game.stable_bands(menu_region, True, 4), 10)
    assert len(bands) == items, "title menu rows %r, want %d" % (bands, items)
    return time.monotonic() - game.started


def play_to_next_scene(game, command_menu, save_path):
    """Advances by clicking, makes the demo's choices by clicking their items,
    until scene 1 names the next file; answers the decisions reported."""
    decisions = []
    # "見せる", then "温かいお茶" in its sub-menu, then "星を待つ".
    choices = [0, 1, 0]
    last_click = 0.0
    deadline = time.monotonic() + 60
    while not os.path.exists(save_path):
        assert time.monotonic() < deadline, "scene 1 never ended; decisions %r" % decisions
        shot = game.win.shot()
        if len(decisions) < len(choices) and shot.bands(command_menu, menu_text):
            # One look can catch a menu in the frame it closes, or colours in
            # passing that look like one: when no menu stays, clicking goes on.
            decided = game.decide(command_menu, choices[len(decisions)], patient=False)
            if decided:
                decisions.append(decided)
            else:
                print("a look at %.1f s saw a menu that did not stay"
                      % (time.monotonic() - game.started))
        elif time.monotonic() - last_click > ADVANCE_EVERY:
            game.win.click(*ADVANCE_AT)
            last_click = time.monotonic()
        else:
            time.sleep(0.05)
    return decisions


def first_message(game):
    """Waits for a message to be typed; answers the lit-pixel counts seen while
    it grew (more than one count means it was seen partly typed)."""
    counts = [wait_until("a message is typed", game.message_pixels, 20)]
    for _ in range(6):
        count = game.message_pixels()
        if count <= counts[-1]:
            break
        counts.append(count)
    return counts


def require_fonts(data):
    """Skips (status 77) when the demo's fonts are not in place."""
    for key in ("fontPathS", "fontPathM", "fontPathL"):
        if not os.path.exists(os.path.join(data, "font", setting(data, key))):
            print("skipped: data/font/%s is missing" % setting(data, key))
            sys.exit(77)


@contextlib.contextmanager
def demo_copy(demo_data, prefix="kura-e2e-"):
    """Answers (work folder, data folder): a copy of the demo's data folder
    without its saves in a temporary folder, removed afterwards with every
    program started stopped."""
    require_fonts(demo_data)
    work = tempfile.mkdtemp(prefix=prefix)
    try:
        data = os.path.join(work, "data")
        shutil.copytree(demo_data, data, ignore=shutil.ignore_patterns("save"))
        yield work, data
    finally:
        stop_all()
        shutil.rmtree(work, ignore_errors=True)


def menu_region(data):
    """Where the story's menus of choices show."""
    x, y = int(setting(data, "cmd_wind_x")), int(setting(data, "cmd_wind_y"))
    return (x - 5, y - 5, x + 300, y + 200)


def in_game(data, *rest):
    """A path in the game's own folder of the data folder."""
    return os.path.join(data, setting(data, "app_folder_name"), *rest)


def at_title(kura, work, data, options=()):
    """The program started and its title checked, with one item in its menu."""
    game = Game(kura, work, setting(data, "app_title"), options)
    check_title(game, data, TITLE_MENU, 1)
    return game


def new_game(kura, work, data, options=()):
    """The program at its title, and a new game chosen."""
    game = at_title(kura, work, data, options)
    assert game.decide(TITLE_MENU, 0) == "0 はじめから"
    return game


def keys(game, *names):
    game.win.move(*ADVANCE_AT)
    time.sleep(SETTLE_SECONDS)
    game.win.key(*names)


def same(a, b):
    return a.w == b.w and a.h == b.h and a.rgb == b.rgb


def steady(game):
    """The screen once two looks a moment apart agree (typing has ended)."""
    def look():
        first = game.win.shot()
        time.sleep(0.3)
        return first if same(first, game.win.shot()) else None
    return wait_until("the screen stops changing", look, 20)


def advance_to_menu(game, region):
    deadline = time.monotonic() + 60
    while not game.win.shot().bands(region, menu_text):
        assert time.monotonic() < deadline, "no menu came"
        game.win.click(*ADVANCE_AT)
        time.sleep(0.5)


def main(kura, demo_data):
    title = setting(demo_data, "app_title")
    scenes_menu = (30, 195, 900, 245)
    with demo_copy(demo_data) as (work, data):
        save_path = in_game(data, "save", "save.kel")

        # A new player: the title, a new game, scene 1 played to its end.
        game = Game(kura, work, title)
        to_title = check_title(game, data, TITLE_MENU, 1)
        assert game.decide(TITLE_MENU, 0) == "0 はじめから"
        counts = first_message(game)
        decisions = play_to_next_scene(game, menu_region(data), save_path)
        assert decisions == ["0 見せる", "1 温かいお茶", "0 星を待つ"], decisions
        assert "見せる-温かいお茶" in game.stdout(), "decided path not reported"
        progress = open(save_path, encoding="utf-8").read()
        assert progress == ('global string sd_now_scene="002";\n'
                            'global string sd_max_scene="002";\n'), repr(progress)
        wait_until("scene 2 types its first message", game.message_pixels, 20)
        assert game.quit() == 0
        assert open(save_path, encoding="utf-8").read() == progress

        # A restart: "つづきから" offers the reached scenes and continues there.
        game = Game(kura, work, title)
        check_title(game, data, TITLE_MENU, 2)
        rows = game.win.shot().bands(TITLE_MENU, menu_text)
        game.win.move(480, (rows[0][0] + rows[0][1]) // 2)
        time.sleep(SETTLE_SECONDS)
        game.win.key("Down", "z")
        scenes = wait_until("the reached scenes show",
                            lambda: game.stable_bands(scenes_menu, False, 12), 10)
        assert len(scenes) == 3, "want つづき, 1 and 2; columns %r" % scenes
        assert game.decide(scenes_menu, 0, vertical=False, column_gap=12) == "0 つづき"
        assert "つづきから-つづき" in game.stdout()
        wait_until("the continued scene types its first message", game.message_pixels, 20)
        assert game.quit() == 0
        assert open(save_path, encoding="utf-8").read() == progress
        log = os.path.join(work, "log.txt")
        assert not os.path.exists(log), "reports: " + open(log, encoding="utf-8").read()
        print("title after %.1f s; first message pixel counts %r" % (to_title, counts))


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
