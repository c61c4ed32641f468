"""The real game in environments a new player might hand it: no sound device,
no data folder, damaged pictures and sounds, a state file of random bytes, a
working directory it cannot write. Each time the game must start, draw, take
keys into a game and out to the pause menu, and quit with F4 and status 0,
printing the lines it has for what it could not do.

Screenshots of each run are kept in $ZT_SHOTS when that is set.
"""
import os
import random
import shutil
import subprocess
import tempfile
import time
import unittest

from harness import SOURCE_DIR, ZENTROVE, Game, OtherWindow, run_tests

SHOTS = os.environ.get("ZT_SHOTS")
STATE_FILE = ".tarvikstate"


def lit_pixels(path, box):
    """How many pixels of the screenshot inside box (x, y, w, h) are not black."""
    x, y, w, h = box
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", "-threshold", "8%",
                          "-format", "%[fx:mean*w*h]", "info:"], capture_output=True, text=True, check=True)
    return float(out.stdout)


def damage(path, how):
    """Spoils one data file: cut in half, emptied, overwritten with noise, its header garbled, or
    (how 4) left whole."""
    with open(path, "rb") as f:
        data = f.read()
    rng = random.Random(path)
    if how == 0:
        data = data[:len(data) // 2]
    elif how == 1:
        data = b""
    elif how == 2:
        data = bytes(rng.randrange(256) for _ in range(len(data) or 64))
    elif how == 3:
        data = bytes(rng.randrange(256) for _ in range(64)) + data[64:]
    with open(path, "wb") as f:
        f.write(data)


class Hostile(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="zt-hostile-")

    def tearDown(self):
        for root, dirs, _ in os.walk(self.scratch):
            for d in dirs:
                os.chmod(os.path.join(root, d), 0o755)
        shutil.rmtree(self.scratch, ignore_errors=True)

    def game_without_data(self, data=None):
        """A copy of the binary in a folder of its own, with the given data folder beside it (or none)."""
        folder = os.path.join(self.scratch, "game")
        os.makedirs(folder)
        binary = shutil.copy(ZENTROVE, folder)
        if data:
            shutil.copytree(data, os.path.join(folder, "data"))
        return binary

    def play(self, game, name, saves=True, pictures=True):
        """Start-up, a look at the title, a game, the pause menu, F4: as a player would. Without
        pictures the title still has its background; the game and its pause menu are sprites and text."""
        game.wait_line("^Highscores Loaded$")
        game.focus()
        time.sleep(1.5)  # the loader and the title's slide-in
        x, y, width, height = game.geometry()
        title = self.shot(game, name + "-title")
        self.assertGreater(lit_pixels(title, (x, y, width, height)), 2000, "the title screen is drawn")
        game.key("Left")
        game.key("Right")
        game.key("space")  # the wheel: a game on the selected difficulty
        time.sleep(2.0)
        game.key("Up", hold=0.3)
        game.key("Left", hold=0.3)
        self.shot(game, name + "-play")
        game.key("Escape")
        time.sleep(0.5)
        paused = self.shot(game, name + "-pause")
        if pictures:
            self.assertGreater(lit_pixels(paused, (x, y, width, height)), 2000, "the pause menu is drawn")
        if saves:
            with OtherWindow() as other:  # the focus goes away: the game saves (if it can)
                other.focus()
                time.sleep(0.5)
            game.focus()
            time.sleep(0.3)
        self.assertIsNone(game.proc.poll(), "the game still runs: %r" % game.lines)
        game.key("F4")
        self.assertEqual(game.wait_exit(), 0, "F4 ends the game with status 0: %r" % game.lines)
        self.assertFalse([line for line in game.lines if "Runtime Error" in line], game.lines)

    def shot(self, game, name):
        path = os.path.join(SHOTS or self.scratch, "hostile-%s.png" % name)
        if SHOTS:
            os.makedirs(SHOTS, exist_ok=True)
        game.screenshot(path)
        return path

    def test_no_sound_device(self):
        conf = os.path.join(self.scratch, "alsoft.conf")
        with open(conf, "w") as f:
            f.write("[general]\ndrivers=no-such-driver\n")
        with Game(ZENTROVE, env={"ALSOFT_CONF": conf}) as game:
            self.play(game, "no-sound")
        self.assertIn("opening openal device", game.lines)
        self.assertIn("OpenAl error: alcOpenDevice failed", game.lines)
        self.assertLess(game.lines.index("opening openal device"), game.lines.index("Highscores Loaded"))

    def test_no_data_folder(self):
        with Game(self.game_without_data()) as game:
            self.play(game, "no-data", pictures=False)
        self.assertIn("opening openal device", game.lines)

    def test_damaged_pictures_and_sounds(self):
        data = os.path.join(self.scratch, "damaged-data")
        shutil.copytree(os.path.realpath(os.path.join(SOURCE_DIR, "data")), data)
        files = sorted(os.path.join(root, name) for root, _, names in os.walk(data) for name in names)
        self.assertTrue(any(f.endswith(".ogg") for f in files) and any(f.endswith(".wav") for f in files))
        for index, path in enumerate(files):
            damage(path, index % 5)
        with Game(self.game_without_data(data)) as game:
            self.play(game, "damaged-data", pictures=False)

    def test_state_file_of_random_bytes(self):
        cwd = os.path.join(self.scratch, "cwd")
        os.makedirs(cwd)
        state = os.path.join(cwd, STATE_FILE)
        rng = random.Random(1)
        # Random bytes in fields, most opening with a number (fields without one read as 0, and a
        # text of zeros passes every checksum), so that every section is there to be refused.
        junk = [b for b in range(256) if b != ord("|")]
        fields = [b"%d" % rng.randrange(-10 ** 9, 10 ** 9) * (rng.random() < 0.8)
                  + bytes(rng.choice(junk) for _ in range(rng.randrange(0, 12))) for _ in range(240)]
        with open(state, "wb") as f:
            f.write(b"|".join(fields))
        with Game(ZENTROVE, cwd=cwd) as game:
            self.play(game, "random-state")
        self.assertIn("Settings Checksum Invalid", game.lines)
        self.assertIn("Badge Checksum Invalid", game.lines)
        self.assertIn("Highscores Loaded", game.lines)
        # Losing the focus saved good data over the bad.
        with open(state, encoding="utf-8") as f:
            text = f.read()
        values = [int(v) for v in text.split("|")[:-1]]
        self.assertEqual(len(values), 203)
        self.assertEqual(values[25], sum(i * values[i] for i in range(25)))
        self.assertEqual(values[5], 1, "the settings are back to their start values")

    def test_read_only_working_directory(self):
        cwd = os.path.join(self.scratch, "read-only")
        os.makedirs(cwd)
        os.chmod(cwd, 0o555)
        binary = ZENTROVE
        if os.geteuid() == 0:
            # Root writes anywhere; without these capabilities it meets the permissions as a player would.
            setpriv = shutil.which("setpriv")
            drop = "--bounding-set", "-dac_override,-dac_read_search,-fowner"
            if not setpriv or subprocess.run([setpriv, *drop, "--", "true"]).returncode != 0:
                self.skipTest("running as root without a way to drop the file capabilities")
            binary = os.path.join(self.scratch, "as-player")
            with open(binary, "w") as f:
                f.write("#!/bin/sh\nexec %s %s %s -- %s\n" % (setpriv, *drop, ZENTROVE))
            os.chmod(binary, 0o755)
        with Game(binary, cwd=cwd) as game:
            self.play(game, "read-only-cwd")
        self.assertEqual(os.listdir(cwd), [], "nothing could be written")


if __name__ == "__main__":
    run_tests()
