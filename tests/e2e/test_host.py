"""The real host under X: the window, closing, focus, resizing, no display."""
import os
import subprocess
import time
import unittest

from harness import PROBE, Game, OtherWindow, run_tests


class HostWindow(unittest.TestCase):
    def test_window_is_titled_sized_and_centred(self):
        with Game(PROBE) as game:
            game.wait_line("^create$")
            game.find_window()
            x, y, width, height = game.geometry()
            self.assertEqual((width, height), (640, 480))
            screen = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True).stdout.split()
            self.assertEqual((x, y), ((int(screen[0]) - 640) // 2, (int(screen[1]) - 480) // 2))

    def test_window_manager_close_ends_with_status_zero(self):
        with Game(PROBE) as game:
            game.wait_line("^create$")
            game.focus()
            game.wm_close()
            self.assertEqual(game.wait_exit(), 0)

    def test_focus_loss_suspends_and_focus_back_resumes(self):
        with Game(PROBE) as game, OtherWindow() as other:
            game.wait_line("^create$")
            game.focus()
            game.wait_line("^size 640 480$")
            other.focus()
            game.wait_line("^suspend$")
            game.focus()
            game.wait_line("^resume$")

    def test_user_resize_reaches_the_next_update(self):
        with Game(PROBE) as game:
            game.wait_line("^create$")
            game.focus()
            game.wait_line("^size 640 480$")
            game.resize(1000, 700)
            game.wait_line("^size 1000 700$")


class NoDisplay(unittest.TestCase):
    def test_no_display_says_glfw_init_failed(self):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        result = subprocess.run([PROBE], env=env, capture_output=True, text=True, timeout=30)
        self.assertEqual(result.returncode, 255)
        self.assertEqual(result.stdout, "glfwInit failed\n")


if __name__ == "__main__":
    run_tests()
