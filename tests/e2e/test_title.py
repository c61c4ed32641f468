"""The title screen under X with the keyboard only: the options overlay saves
the first-start settings when it closes, and the next start loads them back.
With ZT_SCREENSHOTS set to a folder, pictures of the title screen, the options
overlay and the credits page are left there for a look."""
import os
import shutil
import tempfile
import time
import unittest

from harness import ZENTROVE, Game, run_tests

STATE = ".tarvikstate"
SHOTS = os.environ.get("ZT_SCREENSHOTS")


def first_start_text():
    settings = [0] * 25
    settings[5] = 1                     # effects and music on
    settings[10] = settings[11] = 64    # the pad corrections
    settings[12] = 10
    settings[14] = 1                    # no overscan
    fields = settings + [sum(i * v for i, v in enumerate(settings))] + [0] * (9 + 8 * 21)
    return "".join("%d|" % field for field in fields)


class TitleScreen(unittest.TestCase):
    def setUp(self):
        self.cwd = tempfile.mkdtemp(prefix="zt-title-")

    def tearDown(self):
        shutil.rmtree(self.cwd, ignore_errors=True)

    def shot(self, game, name):
        if SHOTS:
            os.makedirs(SHOTS, exist_ok=True)
            game.screenshot(os.path.join(SHOTS, name + ".png"))

    def wait_for_file(self, path, timeout=10):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if os.path.exists(path):
                time.sleep(0.2)  # let the write finish
                return
            time.sleep(0.05)
        self.fail("%s was not written" % path)

    def test_closing_the_options_saves_and_the_next_start_loads(self):
        state = os.path.join(self.cwd, STATE)
        with Game(ZENTROVE, cwd=self.cwd) as game:
            game.wait_line("^Highscores Loaded$")
            self.assertNotIn("Settings Loaded", game.lines)
            game.focus()
            time.sleep(1.5)  # loading and the slide-in
            self.shot(game, "title")
            game.key("Left")  # the cog
            game.key("z")     # opens the options overlay
            time.sleep(1.0)   # it slides in
            self.shot(game, "options")
            if os.path.exists(state):
                os.remove(state)  # so that the file seen next is the close's
            game.key("z")     # a button on the cog closes it and saves
            self.wait_for_file(state)
            with open(state, encoding="utf-8") as file:
                self.assertEqual(file.read(), first_start_text())
            time.sleep(0.7)
            game.key("Right")  # the wheel
            game.key("Right")  # the side panel
            game.key("z")      # the credits page
            time.sleep(2.0)
            self.shot(game, "credits")
            self.assertIsNone(game.proc.poll(), "the game is still running")

        with Game(ZENTROVE, cwd=self.cwd) as game:
            game.wait_line("^Settings Loaded$")
            game.wait_line("^Badges Loaded$")
            game.wait_line("^Highscores Loaded$")
            for line in ("Settings Checksum Invalid", "Badge Checksum Invalid"):
                self.assertNotIn(line, game.lines)

    def test_back_on_the_title_screen_ends_the_program(self):
        with Game(ZENTROVE, cwd=self.cwd) as game:
            game.wait_line("^Highscores Loaded$")
            game.focus()
            time.sleep(1.0)
            game.key("Escape")
            self.assertEqual(game.wait_exit(), 0)


if __name__ == "__main__":
    run_tests()
