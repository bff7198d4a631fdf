"""Reading and driving the program's window under an X server: find the window,
capture it as the screen shows it (ImageMagick's import of the root window,
cropped to the window), count pixels of a kind in a region, and send real
pointer and key events with xdotool."""

import subprocess
import time

# Long enough for several frames to pass, even on a loaded machine.
SETTLE_SECONDS = 0.25


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def find_window(name, timeout, alive=lambda: True):
    """The id of the window whose name is exactly name, while alive(). Names are
    compared here, not by xdotool's pattern, which misses non-ASCII names."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline and alive():
        named = subprocess.run(["xdotool", "search", "--name", "."],
                               capture_output=True, text=True).stdout.split()
        for wid in named:
            if subprocess.run(["xdotool", "getwindowname", wid], capture_output=True,
                              text=True).stdout.rstrip("\n") == name:
                return wid
        time.sleep(0.1)
    raise AssertionError("no window named %r within %d s" % (name, timeout))


class Window:
    def __init__(self, wid):
        self.wid = wid

    def geometry(self):
        """x, y, w, h on the screen, asked anew: the program moves its window
        after it first appears."""
        fields = dict(line.split("=", 1) for line in
                      run("xdotool", "getwindowgeometry", "--shell", self.wid).split())
        return tuple(int(fields[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def name(self):
        return run("xdotool", "getwindowname", self.wid).strip()

    def shot(self):
        """The window as the screen shows it now."""
        x, y, w, h = self.geometry()
        data = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                               "+repage", "-depth", "8", "ppm:-"],
                              check=True, capture_output=True).stdout
        return Picture.from_ppm(data)

    # With no window manager the keyboard follows the pointer, so every event
    # first puts the pointer where it is meant to be.
    def move(self, x, y):
        run("xdotool", "mousemove", "--window", self.wid, str(x), str(y))

    # A menu reads a pointer move and a press in the same frame as the move
    # only, so a click waits a few frames after the pointer has come to rest.
    def click(self, x, y):
        self.move(x, y)
        time.sleep(SETTLE_SECONDS)
        run("xdotool", "click", "1")

    def key(self, *names):
        run("xdotool", "key", "--delay", "120", *names)


class Picture:
    def __init__(self, w, h, rgb):
        self.w, self.h, self.rgb = w, h, rgb

    @staticmethod
    def from_ppm(data):
        # P6 header: magic, width, height, maximum, then one blank.
        fields, at = [], 0
        while len(fields) < 4:
            while data[at:at + 1].isspace():
                at += 1
            start = at
            while not data[at:at + 1].isspace():
                at += 1
            fields.append(data[start:at])
        assert fields[0] == b"P6" and fields[3] == b"255", fields
        return Picture(int(fields[1]), int(fields[2]), data[at + 1:])

    @staticmethod
    def from_file(path):
        return Picture.from_ppm(subprocess.run(["convert", path, "-depth", "8", "ppm:-"],
                                               check=True, capture_output=True).stdout)

    def save(self, path):
        with open(path, "wb") as out:
            out.write(b"P6 %d %d 255\n" % (self.w, self.h) + self.rgb)

    def pixel(self, x, y):
        at = 3 * (y * self.w + x)
        return tuple(self.rgb[at:at + 3])

    def count(self, region, kind):
        """Pixels of region (x0, y0, x1, y1) for which kind(r, g, b) holds."""
        x0, y0, x1, y1 = region
        return sum(1 for y in range(y0, y1) for x in range(x0, x1) if kind(*self.pixel(x, y)))

    def bands(self, region, kind, vertical=True, gap=4):
        """Runs of rows (or columns) of region holding pixels of a kind, as
        (first, last) pairs; runs closer than gap join, so glyphs make one band."""
        x0, y0, x1, y1 = region
        if vertical:
            hits = [y for y in range(y0, y1)
                    if any(kind(*self.pixel(x, y)) for x in range(x0, x1))]
        else:
            hits = [x for x in range(x0, x1)
                    if any(kind(*self.pixel(x, y)) for y in range(y0, y1))]
        runs = []
        for at in hits:
            if runs and at - runs[-1][1] <= gap:
                runs[-1][1] = at
            else:
                runs.append([at, at])
        return [tuple(r) for r in runs]


def near(a, b, tolerance):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


# Menu item texts: enabled items in 0xFF998877 (red 0x77, green 0x88, blue
# 0x99); the cursor item white under the red highlight at alpha 34.
def enabled_item(r, g, b):
    return near((r, g, b), (0x77, 0x88, 0x99), 1)


def cursor_item(r, g, b):
    return near((r, g, b), (255, 221, 221), 2)


def menu_text(r, g, b):
    return enabled_item(r, g, b) or cursor_item(r, g, b)


# The message is drawn white.
def message_text(r, g, b):
    return min(r, g, b) >= 200
