"""Keys and mouse buttons typed on the X display reach the game as the right
key codes, hits and characters (through the real GLFW host and input device)."""
import os
import time
import unittest

from harness import PROBE, Game, run_tests, xdotool

INPUT_PROBE = os.path.join(os.path.dirname(PROBE), "zentrove_input_probe")


class InputProbe(Game):
    """The input probe: each update prints "hit C N" and "char N" lines."""

    def __init__(self):
        super().__init__(INPUT_PROBE)

    def mark(self):
        return len(self.lines)

    def seen_since(self, mark):
        hits, chars = [], []
        for line in self.lines[mark:]:
            words = line.split()
            if words[0] == "hit":
                hits.append(int(words[1]))
            elif words[0] == "char":
                chars.append(int(words[1]))
        return hits, chars

    def seen_after(self, mark, wanted_hits, timeout=5):
        """Waits until every wanted hit has been printed, then a little more for stragglers."""
        deadline = time.time() + timeout
        while time.time() < deadline and not set(wanted_hits) <= set(self.seen_since(mark)[0]):
            time.sleep(0.05)
        time.sleep(0.15)
        return self.seen_since(mark)


class ReopenedWindow(unittest.TestCase):
    def test_a_key_held_across_a_reopening_is_released(self):
        with InputProbe() as game:
            game.wait_line("^create$")
            game.focus()
            xdotool("keydown", "a")
            game.wait_line("^down 65$")
            xdotool("key", "F11")
            game.wait_line("^reopen$")
            game.window = None
            game.focus()  # the new window
            mark = game.mark()
            game.wait_line("^up 65$")  # while the key is still held
            xdotool("keyup", "a")
            time.sleep(0.3)
            self.assertNotIn("down 65", game.lines[mark:], "no fresh press after the reopening")


class InputKeys(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.game = InputProbe()
        cls.game.start()
        cls.game.wait_line("^create$")
        cls.window = cls.game.find_window()
        cls.game.focus()

    @classmethod
    def tearDownClass(cls):
        cls.game.stop()

    def typed(self, keys, wanted_hits):
        mark = self.game.mark()
        xdotool("key", "--delay", "60", *keys.split())
        return self.game.seen_after(mark, wanted_hits)

    def test_printable_keys_hit_their_code_and_type_through_the_character_path(self):
        rows = [
            ("a", [65], [ord("a")]),
            ("shift+a", [16, 65], [ord("A")]),
            ("7", [55], [ord("7")]),
            ("space", [32], [32]),
            ("grave", [192], [ord("`")]),
            ("apostrophe", [222], [ord("'")]),
            ("comma", [188], [ord(",")]),
            ("minus", [189], [ord("-")]),
            ("period", [190], [ord(".")]),
            ("slash", [191], [ord("/")]),
            ("semicolon", [186], [ord(";")]),
            ("equal", [187], [ord("=")]),
            ("bracketleft", [219], [ord("[")]),
            ("backslash", [220], [ord("\\")]),
            ("bracketright", [221], [ord("]")]),
            ("KP_Multiply", [106], [ord("*")]),
            ("KP_Subtract", [109], [ord("-")]),
        ]
        for key, hits, chars in rows:
            with self.subTest(key=key):
                self.assertEqual(self.typed(key, hits), (hits, chars))

    def test_keys_without_character(self):
        rows = [("F1", [112]), ("F12", [123]), ("Control_R", [17]), ("Shift_R", [16])]
        for key, hits in rows:
            with self.subTest(key=key):
                self.assertEqual(self.typed(key, hits), (hits, []))

    def test_special_keys_type_their_own_characters(self):
        rows = [
            ("Return", 13, 13), ("Tab", 9, 9), ("BackSpace", 8, 8), ("Escape", 27, 27), ("Delete", 46, 127),
            ("Insert", 45, 65536 + 45), ("Prior", 33, 65536 + 33), ("Next", 34, 65536 + 34),
            ("End", 35, 65536 + 35), ("Home", 36, 65536 + 36), ("Left", 37, 65536 + 37),
            ("Up", 38, 65536 + 38), ("Right", 39, 65536 + 39), ("Down", 40, 65536 + 40),
        ]
        for key, code, char in rows:
            with self.subTest(key=key):
                self.assertEqual(self.typed(key, [code]), ([code], [char]))

    def test_keys_without_code_are_ignored(self):
        # "a" last marks the end: nothing before it may have made a hit.
        hits, _ = self.typed("Alt_L Super_L KP_Enter Pause Menu a", [65])
        self.assertEqual(hits, [65])

    def test_held_key_repeats_its_character_but_hits_once(self):
        mark = self.game.mark()
        xdotool("keydown", "BackSpace")
        time.sleep(1.0)
        xdotool("keyup", "BackSpace")
        hits, chars = self.game.seen_after(mark, [8])
        self.assertEqual(hits, [8])
        self.assertGreaterEqual(len(chars), 3)
        self.assertEqual(set(chars), {8})

    def test_mouse_buttons_hit_codes_one_to_three(self):
        xdotool("mousemove", "--window", self.window, 100, 80)
        rows = [("1", [1, 384]), ("3", [2]), ("2", [3]), ("8 1", [1, 384])]  # button 8 has no code
        for buttons, hits in rows:
            with self.subTest(buttons=buttons):
                mark = self.game.mark()
                for button in buttons.split():
                    xdotool("click", button)
                self.assertEqual(sorted(self.game.seen_after(mark, hits)[0]), hits)


if __name__ == "__main__":
    run_tests()
