"""kura --check on the demo (clean, exit 0) and on a copy of it holding one
fault of every kind the checker finds: each must be reported exactly once, at
the file and line of the command that causes it, and the exit status is 1.
Also the story graph (DOT and SVG) and the command line: --help, --version,
unknown or contradictory options, a missing folder.

usage: check_game.py KURA DATA_FOLDER"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
SCENARIO = "data/demo/scenario/"

# (file, line the fault goes after, the fault, the problem reported at it)
FAULTS = [
    (SCENARIO + "001.kel", 'caption("第一話', 'callDispMesage("x", -1);',
     "call of a name that is no function"),
    (SCENARIO + "001.kel", 'caption("第一話', "callWindowOpen(42);",
     "window 42 out of range (8 windows): callWindowOpen"),
    (SCENARIO + "001.kel", 'caption("第一話', "callCharacterWindowAppearance(WND_MOON);",
     "callCharacterWindowAppearance on window 1, which is no character window"),
    (SCENARIO + "001.kel", 'caption("第一話', 'callWindowLoad(WND_MOON, "image/bg", "nite.png");',
     "picture not found: image/bg/nite.png"),
    (SCENARIO + "001.kel", 'caption("第一話', 'callWindowLoad(WND_MOON, "image/bg", "torn.png");',
     "picture does not decode: image/bg/torn.png"),
    (SCENARIO + "001.kel", 'caption("第一話', 'callSoundLoadSE(SE_WIND, "gust.wav");',
     "sound not found: sound/se/gust.wav"),
    (SCENARIO + "001.kel", 'caption("第一話', "callWindowSetPos(WND_MOON, 1);",
     "host command called with the wrong number of arguments: 2 given, 3 taken"),
    (SCENARIO + "001.kel", 'caption("第一話', "lists.sort(5);",
     "lists.sort: the argument is not a list"),
    (SCENARIO + "001.kel", 'caption("第一話', 'callGetGlobalFlag("weather");',
     "global flag read but set on no route: weather"),
    (SCENARIO + "001.kel", 'callSetGlobalFlagString("route", "home");', "while (1) {}",
     "scenario runs past the instruction budget without waiting"),
    (SCENARIO + "003.kel", '#include "story.kel"', '#include "weather.kel"',
     "can't open include file <weather.kel>"),
    (SCENARIO + "003.kel", 'callDispMessage("おしまい', 'callGotoNextScript("004.kel");',
     "next scene not found: 004.kel"),
    (SCENARIO + "003.kel", 'callDispMessage("おしまい',
     'callSetCommand("x", 0); callWaitSelectCommand(); yield;',
     "menu with every item hidden: the player is stuck"),
    # 21 characters a line and 4 lines a message: the 85th begins a fifth line.
    (SCENARIO + "003.kel", "気がつくと、空が白み", 'narrate("%s");' % ("あ" * 85),
     "message longer than the screen shows: 1 line below the canvas"),
]

# The demo's story graph: scenes with their message counts, and the edges that
# the choices take (menus are named by the scene line that shows them).
GRAPH_LINES = [
    '"001.kel" [label="001.kel\\n13 messages"];',
    '"001.kel" -> "data/demo/scenario/001.kel:38";',
    '"data/demo/scenario/001.kel:38" -> "data/demo/scenario/001.kel:58" [label="ないしょ"];',
    '"data/demo/scenario/001.kel:58" -> "002.kel" [label="星を待つ"];',
    '"data/demo/scenario/001.kel:58" -> "003.kel" [label="今日は帰る"];',
    '"data/demo/scenario/002.kel:32" -> "003.kel" [label="帰る"];',
    '"003.kel" -> "end";',
]


def run(kura, *arguments, cwd=None):
    return subprocess.run([kura, *arguments], cwd=cwd, capture_output=True, text=True,
                          timeout=600)


def insert_after(path, anchor, fault):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    index = next(i for i, line in enumerate(lines) if anchor in line)
    lines.insert(index + 1, fault)
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def break_game(game):
    """Puts every fault in and answers the lines the checker must print."""
    for name, anchor, fault, _ in reversed(FAULTS):
        insert_after(os.path.join(game, name), anchor, fault)
    # A fault's line is read back once all are in: later ones move earlier ones.
    expected = set()
    for name, anchor, fault, problem in FAULTS:
        with open(os.path.join(game, name), encoding="utf-8") as f:
            line = f.read().split("\n").index(fault) + 1
        expected.add(f"{name}:{line}: {problem}")
    with open(os.path.join(game, "data/demo/image/bg/torn.png"), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n not a picture")
    with open(os.path.join(game, SCENARIO + "extra.kel"), "w", encoding="utf-8") as f:
        f.write("// a scene no route goes to\nx = ;\n")
    expected.add(SCENARIO + "extra.kel:1: scene file never reached")
    expected.add(SCENARIO + "extra.kel:2: not term : ;")
    expected.add(SCENARIO + "extra.kel:2: There is no ; at expression end")
    setting = os.path.join(game, "data/setting.kel")
    with open(setting, encoding="utf-8") as f:
        text = f.read()
    with open(setting, "w", encoding="utf-8") as f:
        f.write(text.replace('fontPathS = "ipag.ttf"', 'fontPathS = "gothic.ttf"'))
    font_line = text[: text.index("fontPathS =")].count("\n") + 1
    expected.add(f"data/setting.kel:{font_line}: font not found: data/font/gothic.ttf")
    return expected


def problems(output):
    return [line for line in output.splitlines() if re.match(r"^\S+:\d+: ", line)]


def main():
    kura, data = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if not os.path.exists(os.path.join(data, "font", "ipam.ttf")):
        print("skipped: the demo's fonts are not in place (make fonts)")
        return SKIP
    failures = []

    for arguments, status, needle in [(["--help"], 0, "usage: kura"),
                                      (["--version"], 0, "kura "),
                                      (["--bogus"], 2, "unknown option: --bogus"),
                                      (["--check", "/nonexistent"], 2, "cannot enter"),
                                      (["--check", "--graph"], 2, "--graph needs a file"),
                                      (["--dev", "--check"], 2, "--check does not")]:
        result = run(kura, *arguments)
        if result.returncode != status or needle not in result.stdout + result.stderr:
            failures.append(f"{arguments}: status {result.returncode}\n{result.stderr}")

    with tempfile.TemporaryDirectory() as folder:
        game = os.path.join(folder, "game")
        shutil.copytree(data, os.path.join(game, "data"), ignore=shutil.ignore_patterns("save"))
        clean = run(kura, "--check", game, "--graph", "story.dot", cwd=folder)
        if clean.returncode != 0 or problems(clean.stdout):
            failures.append(f"demo: status {clean.returncode}\n{clean.stdout}{clean.stderr}")
        with open(os.path.join(folder, "story.dot"), encoding="utf-8") as f:
            graph = f.read()
        failures += [f"graph lacks: {line}" for line in GRAPH_LINES if line not in graph]
        drawn = run(kura, "--check", "--graph", "story.svg", game, cwd=folder)
        with open(os.path.join(folder, "story.svg"), encoding="utf-8") as f:
            if drawn.returncode != 0 or "<svg" not in f.read():
                failures.append(f"no SVG drawn: status {drawn.returncode}\n{drawn.stderr}")

        expected = break_game(game)
        broken = run(kura, "--check", game, cwd=folder)
        found = problems(broken.stdout)
        if broken.returncode != 1:
            failures.append(f"broken copy: status {broken.returncode}\n{broken.stderr}")
        for line in sorted(set(found) - expected):
            failures.append(f"not expected: {line}")
        for line in sorted(expected - set(found)):
            failures.append(f"missing: {line}")
        for line in sorted({l for l in found if found.count(l) > 1}):
            failures.append(f"reported more than once: {line}")

    for failure in failures:
        print(failure)
    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
