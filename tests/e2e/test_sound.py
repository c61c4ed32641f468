"""The real game under X with OpenAL Soft writing its mix to a WAVE file:
the first start plays the studio logo sound, once."""
import os
import shutil
import struct
import tempfile
import time
import unittest

from harness import ZENTROVE, Game, run_tests

WINDOW_SECONDS = 0.1  # loudness is judged per window of this length
HEARD = 0.01          # a window whose peak passes this is not silence


def read_mix(path):
    """The samples of OpenAL Soft's WAVE output as (rate, channels, list of floats -1 ... 1).
    The game is killed, so the header's sizes may never have been filled in: the data
    chunk is read to the end of the file."""
    with open(path, "rb") as wav:
        data = wav.read()
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE", "not a WAVE file"
    pos, fmt = 12, None
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        body = pos + 8
        if tag == b"fmt ":
            fmt = struct.unpack("<HHIIHH", data[body:body + 16])
            if fmt[0] == 0xFFFE:  # extensible: the real format tag opens the sub-format
                fmt = (struct.unpack("<H", data[body + 24:body + 26])[0],) + fmt[1:]
        if tag == b"data":
            samples = data[body:]
            break
        pos = body + size + (size & 1)
    else:
        raise AssertionError("no data chunk")
    tag, channels, rate, _, _, bits = fmt
    if tag == 3 and bits == 32:
        count = len(samples) // 4
        values = struct.unpack("<%df" % count, samples[:count * 4])
    elif tag == 1 and bits == 16:
        count = len(samples) // 2
        values = [v / 32768.0 for v in struct.unpack("<%dh" % count, samples[:count * 2])]
    else:
        raise AssertionError("unexpected sample format %r" % (fmt,))
    return rate, channels, values


def loud_windows(rate, channels, values):
    """Per window of WINDOW_SECONDS: whether anything in it is heard."""
    step = int(rate * WINDOW_SECONDS) * channels
    return [max(map(abs, values[i:i + step])) > HEARD for i in range(0, len(values), step)]


class LogoSound(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="zt-sound-")
        self.mix = os.path.join(self.folder, "mix.wav")
        self.conf = os.path.join(self.folder, "alsoft.conf")
        with open(self.conf, "w") as conf:
            conf.write("[general]\ndrivers=wave\n[wave]\nfile=%s\n" % self.mix)

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def test_the_first_start_plays_the_logo_sound_once(self):
        with Game(ZENTROVE, env={"ALSOFT_CONF": self.conf}) as game:
            game.wait_line("^opening openal device$")
            game.focus()  # an unfocused game is suspended and would not load
            time.sleep(5)
        rate, channels, values = read_mix(self.mix)
        self.assertGreater(len(values), rate * channels * 3, "the mix covers the run")
        loud = loud_windows(rate, channels, values)
        self.assertTrue(any(loud), "the mix is silent")
        first, last = loud.index(True), len(loud) - 1 - loud[::-1].index(True)
        heard = (last - first + 1) * WINDOW_SECONDS
        # The logo sound rings for about two seconds, then the title is quiet.
        self.assertGreater(heard, 1.0)
        self.assertLess(heard, 3.0)
        self.assertGreaterEqual((len(loud) - 1 - last) * WINDOW_SECONDS, 1.0, "silence after the sting")
        self.assertEqual(sum(loud[first:last + 1]), last - first + 1, "one sound, not two")


if __name__ == "__main__":
    run_tests()
