"""The shell's function keys and window fitting with the real binary under X."""
import os
import subprocess
import time
import unittest

from harness import ZENTROVE, Game, run_tests

SHOTS = os.environ.get("ZT_SCREENSHOTS")


def lit_pixels(path, box):
    """How many pixels of the screenshot inside box (x, y, w, h) are not black."""
    x, y, w, h = box
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", "-threshold", "8%",
                          "-format", "%[fx:mean*w*h]", "info:"], capture_output=True, text=True, check=True)
    return float(out.stdout)


class FunctionKeys(unittest.TestCase):
    def running_game(self, game):
        game.wait_line("^Highscores Loaded$")
        game.focus()
        time.sleep(1.5)  # loading finishes and the title slides in

    def test_f4_ends_at_once_with_status_zero_and_saves_nothing(self):
        with Game(ZENTROVE) as game:
            self.running_game(game)
            state = os.path.join(game.cwd, ".tarvikstate")
            if os.path.exists(state):
                os.remove(state)  # the save of the unfocused start
            game.key("F4")
            self.assertEqual(game.wait_exit(), 0)
            self.assertFalse(os.path.exists(state))

    def test_f11_switches_to_the_desktop_size_and_back(self):
        with Game(ZENTROVE) as game:
            self.running_game(game)
            game.key("F11")
            time.sleep(0.5)
            game.window = None
            game.find_window_by_pid()
            game.focus()
            time.sleep(2.0)  # the pictures reload for the new size
            x, y, width, height = game.geometry()
            screen = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True).stdout.split()
            self.assertEqual((width, height), (int(screen[0]), int(screen[1])))
            shot = os.path.join(game.cwd, "full.png")
            game.screenshot(shot)
            self.assertGreater(lit_pixels(shot, (0, 0, width, height)), 2000, "the game draws full-screen")
            if SHOTS:
                os.makedirs(SHOTS, exist_ok=True)
                os.replace(shot, os.path.join(SHOTS, "fullscreen.png"))

            game.key("F11")
            time.sleep(0.5)
            game.window = None
            game.find_window()
            game.focus()
            time.sleep(2.0)
            x, y, width, height = game.geometry()
            self.assertEqual((width, height), (640, 480))
            shot = os.path.join(game.cwd, "window.png")
            game.screenshot(shot)
            self.assertGreater(lit_pixels(shot, (x, y, width, height)), 2000, "the game draws in its window again")
            self.assertIsNone(game.proc.poll())

    def test_portrait_window_fills_with_the_fitted_virtual_screen(self):
        with Game(ZENTROVE) as game:
            self.running_game(game)
            game.resize(480, 640)
            time.sleep(2.5)  # reload at the new size, then the title again
            x, y, width, height = game.geometry()
            self.assertEqual((width, height), (480, 640))
            shot = os.path.join(game.cwd, "portrait.png")
            game.screenshot(shot)
            # The title fills the portrait window: both halves and the lower part are drawn on.
            self.assertGreater(lit_pixels(shot, (x, y, width // 2, height)), 1000)
            self.assertGreater(lit_pixels(shot, (x + width // 2, y, width // 2, height)), 1000)
            self.assertGreater(lit_pixels(shot, (x, y + height // 2, width, height // 2)), 1000)
            if SHOTS:
                os.makedirs(SHOTS, exist_ok=True)
                os.replace(shot, os.path.join(SHOTS, "portrait.png"))
            self.assertIsNone(game.proc.poll())


if __name__ == "__main__":
    run_tests()
