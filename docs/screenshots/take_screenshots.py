"""Screenshots of the real game for the README: the title screen, the options
overlay, a game on Hard and its pause menu, at 640 x 480 (the window the game
opens), 1280 x 720 and 1920 x 1080 (the window resized as a player would, which
makes the game load its larger pictures). Each picture is the game's window
alone, as PNG.

    xvfb-run -a -s "-screen 0 1920x1080x24" /usr/bin/python3 \\
        docs/screenshots/take_screenshots.py build/zentrove /tmp/zentrove-shots

Play is not scripted to the tick, so two runs give slightly different pictures.
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
from harness import Game, xdotool  # noqa: E402

SIZES = [(640, 480), (1280, 720), (1920, 1080)]


def shoot(game, folder, name, width, height):
    path = os.path.join(folder, "%s-%dx%d.png" % (name, width, height))
    subprocess.run(["import", "-window", str(game.window), path], check=True, timeout=60)
    print(path)


def take(binary, folder, width, height):
    with Game(binary) as game:
        game.wait_line("^Highscores Loaded$")
        game.find_window()
        game.focus()
        if (width, height) != (640, 480):
            # Into the corner first: the capture holds only what is on the screen.
            xdotool("windowmove", game.window, 0, 0)
            game.resize(width, height)
            game.focus()
        time.sleep(2.0)  # loading (again, at the new size) and the title's slide-in
        shoot(game, folder, "title", width, height)

        game.key("Left")  # the options cog
        game.key("z")     # opens the options overlay
        time.sleep(1.0)   # it slides in
        shoot(game, folder, "options", width, height)
        game.key("z")     # closes it
        time.sleep(0.7)
        game.key("Right")  # back to the wheel

        game.key("Down")  # Hard
        time.sleep(0.5)
        game.key("space")  # starts the game
        time.sleep(4.0)    # the opening; the enemies reach the rim
        game.key("Right", hold=0.3)
        time.sleep(1.5)
        game.key("Left", hold=0.2)
        time.sleep(0.5)
        shoot(game, folder, "play", width, height)

        game.key("Escape")  # the pause menu
        time.sleep(0.8)
        shoot(game, folder, "pause", width, height)


def main():
    binary = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/zentrove")
    folder = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "screenshots")
    os.makedirs(folder, exist_ok=True)
    for width, height in SIZES:
        take(binary, folder, width, height)


if __name__ == "__main__":
    main()
