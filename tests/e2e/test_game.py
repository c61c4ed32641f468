"""A whole game with the real binary and the keyboard: start it from the title
screen, steer, pause, quit; the banner hands back to the title menu and the
state file then holds the score in the last-ten list with valid checksums.

Screenshots of the opening, of play, of the pause menu, of the game-over
banner and of the title menu after it are kept in $ZT_SHOTS when that is set
(otherwise they go to a scratch folder that is removed afterwards).
"""
import os
import shutil
import tempfile
import time
import unittest

from harness import Game, run_tests, xdotool

STATE_FILE = ".tarvikstate"
NORMAL = 1  # the high-score block of Normal, the title menu's first choice


def saved_fields(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    assert text.endswith("|"), text
    return [int(field) for field in text.split("|")[:-1]]


def block(fields, t):
    """High-score block t: (top ten, last ten, stored checksum, computed checksum)."""
    start = 35 + 21 * t
    top = fields[start:start + 20:2]
    last = fields[start + 1:start + 20:2]
    computed = sum((k + 4) * top[k] + (t + k + 3) * last[k] for k in range(10))
    return top, last, fields[start + 20], computed


class WholeGame(unittest.TestCase):
    def setUp(self):
        self.keep_shots = bool(os.environ.get("ZT_SHOTS"))
        self.shots = os.environ.get("ZT_SHOTS") or tempfile.mkdtemp(prefix="zentrove-game-shots-")
        os.makedirs(self.shots, exist_ok=True)
        self.work = tempfile.mkdtemp(prefix="zentrove-game-")

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)
        if not self.keep_shots:
            shutil.rmtree(self.shots, ignore_errors=True)

    def shot(self, game, name):
        game.screenshot(os.path.join(self.shots, name + ".png"))

    @staticmethod
    def hold(key, seconds):
        xdotool("keydown", key)
        time.sleep(seconds)
        xdotool("keyup", key)

    def play_and_quit(self, game):
        game.wait_line("^Highscores Loaded$")
        game.find_window()
        game.focus()
        time.sleep(1.5)  # the loader and the title menu's slide-in

        game.key("space")  # the wheel has the focus: a game on Normal
        time.sleep(0.4)
        self.shot(game, "1-opening")
        time.sleep(2.6)  # the opening (one second), then straight up the middle column of junk

        self.hold("Right", 0.2)
        time.sleep(0.3)
        self.hold("Left", 0.4)
        self.shot(game, "2-play")

        game.key("Escape")
        time.sleep(0.5)  # open within 13 ticks
        self.shot(game, "3-pause")
        game.key("Up")  # highlight quit
        time.sleep(0.2)
        game.key("space")
        time.sleep(0.6)
        self.shot(game, "4-game-over")

    def test_a_game_from_the_title_screen_to_the_saved_score(self):
        path = os.path.join(self.work, STATE_FILE)
        with Game(cwd=self.work) as game:
            self.play_and_quit(game)
            deadline = time.time() + 10
            # The banner hands over after 1.5 seconds and the score is saved.
            while not os.path.exists(path) and time.time() < deadline:
                time.sleep(0.1)
            time.sleep(0.3)
            self.assertTrue(os.path.exists(path), "no state file: %r" % game.lines)
            self.assertIsNone(game.proc.poll(), "the game runs on at the title menu")
            self.shot(game, "5-title")
            fields = saved_fields(path)

        self.assertEqual(len(fields), 203)
        self.assertEqual(fields[25], sum(i * fields[i] for i in range(25)), "settings checksum")
        for t in range(8):
            _, _, stored, computed = block(fields, t)
            self.assertEqual(stored, computed, "block %d checksum" % t)
        top, last, _, _ = block(fields, NORMAL)
        self.assertGreater(last[0], 0, "flying up the middle collects junk")
        self.assertEqual(top[0], last[0], "a first score also tops the table")
        self.assertEqual(last[1:], [0] * 9)


if __name__ == "__main__":
    run_tests()
