"""End-to-end harness: runs the real binary on the X display and drives it
like a player (keys through xdotool, focus and close like a window manager)
while reading what it prints.

    from harness import Game, run_tests
    class Basic(unittest.TestCase):
        def test_title(self):
            with Game(ZENTROVE) as game:
                game.focus()
                game.key("Left")
                game.screenshot("/tmp/shot.png")

Every Game runs in a fresh temporary working directory (where the state file
lives), with OpenAL Soft on its null backend unless the test sets ALSOFT_CONF.
"""
import os
import queue
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from Xlib import X, Xatom, display, protocol

ZENTROVE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/zentrove")
PROBE = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "build/tests/zentrove_probe")
SOURCE_DIR = os.environ.get("ZT_SOURCE_DIR", os.path.dirname(os.path.dirname(os.path.dirname(
    os.path.abspath(__file__)))))
NULL_AUDIO = os.path.join(SOURCE_DIR, "tests", "alsoft-null.conf")


def xdotool(*args, check=True):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=30)
    if check and result.returncode != 0:
        raise RuntimeError("xdotool %s failed: %s" % (" ".join(map(str, args)), result.stderr))
    return result.stdout.strip()


class Game:
    """One run of a binary with its output collected line by line."""

    def __init__(self, binary=ZENTROVE, cwd=None, env=None, title="Zentrove"):
        self.binary = binary
        self.title = title
        self.own_dir = cwd is None
        self.cwd = cwd or tempfile.mkdtemp(prefix="zt-e2e-")
        self.env = dict(os.environ)
        self.env.setdefault("ALSOFT_CONF", NULL_AUDIO)
        self.env.update(env or {})
        self.lines = []
        self._new_lines = queue.Queue()
        self.proc = None
        self.window = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()
        if self.own_dir:
            shutil.rmtree(self.cwd, ignore_errors=True)

    def start(self):
        self.proc = subprocess.Popen([self.binary], cwd=self.cwd, env=self.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for raw in self.proc.stdout:
            line = raw.decode("utf-8", "replace").rstrip("\n")
            self.lines.append(line)
            self._new_lines.put(line)

    def wait_line(self, pattern, timeout=20):
        """Waits for an output line matching the regular expression; returns the match."""
        deadline = time.time() + timeout
        for line in list(self.lines):
            match = re.search(pattern, line)
            if match:
                return match
        while time.time() < deadline:
            try:
                line = self._new_lines.get(timeout=0.1)
            except queue.Empty:
                if self.proc.poll() is not None and self._new_lines.empty():
                    break
                continue
            match = re.search(pattern, line)
            if match:
                return match
        raise AssertionError("no line matching %r; output so far: %r" % (pattern, self.lines))

    def find_window(self, timeout=20):
        deadline = time.time() + timeout
        while time.time() < deadline:
            out = xdotool("search", "--name", "^%s$" % self.title, check=False)
            for wid in out.split():
                if xdotool("getwindowpid", wid, check=False) == str(self.proc.pid):
                    self.window = int(wid)
                    return self.window
            if self.proc.poll() is not None:
                raise AssertionError("the game ended before its window appeared: %r" % self.lines)
            time.sleep(0.1)
        raise AssertionError("no window titled %r" % self.title)

    def find_window_by_pid(self, timeout=20):
        """The game's visible window whatever its title (a full-screen window has none)."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            out = xdotool("search", "--onlyvisible", "--pid", self.proc.pid, check=False)
            if out.split():
                self.window = int(out.split()[-1])
                return self.window
            time.sleep(0.1)
        raise AssertionError("no visible window of the game")

    def focus(self):
        xdotool("windowfocus", self.window or self.find_window())
        time.sleep(0.2)

    def key(self, name, hold=0.15):
        """Holds a key long enough for several ticks to see it."""
        xdotool("keydown", name)
        time.sleep(hold)
        xdotool("keyup", name)
        time.sleep(0.05)

    def geometry(self):
        out = xdotool("getwindowgeometry", self.window or self.find_window())
        pos = re.search(r"Position: (-?\d+),(-?\d+)", out)
        size = re.search(r"Geometry: (\d+)x(\d+)", out)
        return int(pos.group(1)), int(pos.group(2)), int(size.group(1)), int(size.group(2))

    def resize(self, width, height):
        xdotool("windowsize", self.window or self.find_window(), width, height)

    def wm_close(self):
        """Asks the window to close as a window manager's close button does."""
        d = display.Display()
        window = d.create_resource_object("window", self.window or self.find_window())
        protocols = d.intern_atom("WM_PROTOCOLS")
        delete = d.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=window, client_type=protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=X.NoEventMask)
        d.flush()
        d.close()

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], check=True, timeout=60)

    def wait_exit(self, timeout=20):
        return self.proc.wait(timeout=timeout)

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(timeout=10)
        if self.proc and self.proc.stdout:
            self.proc.stdout.close()


class OtherWindow:
    """A plain X window that can take the focus away from the game."""

    def __enter__(self):
        self.display = display.Display()
        screen = self.display.screen()
        self.window = screen.root.create_window(0, 0, 100, 100, 0, screen.root_depth, X.InputOutput,
                                                X.CopyFromParent, background_pixel=screen.white_pixel)
        self.window.map()
        self.display.sync()
        time.sleep(0.2)
        return self

    def focus(self):
        self.window.set_input_focus(X.RevertToParent, X.CurrentTime)
        self.display.sync()
        time.sleep(0.2)

    def __exit__(self, *exc):
        self.window.destroy()
        self.display.close()


def run_tests():
    """Runs the unittest cases of the calling script; the exit status tells CTest."""
    if not os.environ.get("DISPLAY"):
        print("no X display: run under xvfb-run")
        sys.exit(1)
    argv = [sys.argv[0]] + [a for a in sys.argv[1:] if not os.path.exists(a)]
    unittest.main(argv=argv, verbosity=2)
