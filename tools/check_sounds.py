#!/usr/bin/python3
"""Checks the game's sound files and prints what they measure.

Usage:
    /usr/bin/python3 tools/check_sounds.py [SFX_DIR]        (default: data/sfx of this repository)

Exits 0 when every check passes, 1 otherwise. Needs only Python's standard library and `oggdec`
(vorbis-tools) for the tunes.

Effects (SFX_DIR/NNN.wav): present; laid out as the game's own WAVE reader wants it ("RIFF",
"WAVE", "fmt " as the first chunk, PCM tag 1, 16-bit, mono or stereo, 22050 or 44100 Hz, then a
"data" chunk); loud enough to hear; no sample at full scale; starting and ending on silence.
Tunes (SFX_DIR/NAME.ogg): decode to stereo 44100 Hz of at least their length, no sample at full
scale, and the loop point (last frame back to the first) joins without a jump: both the step and
the change of slope across the join are no larger than the 90th percentile of those near it.
"""

import array
import math
import os
import struct
import subprocess
import sys
import tempfile

EFFECT_IDS = (1, 2, 3, 4, 5, 6, 7, 95, 96, 98, 99)
TUNE_MIN_SECONDS = {"fish": 2.0, "clustered": 60.0}
FULL_SCALE = 32767
MIN_PEAK = 0.25            # about -12 dBFS
MIN_RMS = 0.005            # about -46 dBFS over the whole file
EDGE_LIMIT = 64            # first and last sample: a step larger than this clicks
JOIN_WINDOW = 0.5          # seconds on each side of the loop point used as reference


class Wave:
    def __init__(self, channels, rate, bits, samples):
        self.channels = channels
        self.rate = rate
        self.bits = bits
        self.samples = samples          # interleaved ints

    @property
    def frames(self):
        return len(self.samples) // self.channels

    def channel(self, c):
        return self.samples[c::self.channels]


def read_wave(path):
    """Reads a WAVE the way the game does: "fmt " must come first; chunks follow until "data"."""
    with open(path, "rb") as f:
        blob = f.read()
    if blob[0:4] != b"RIFF" or blob[8:12] != b"WAVE" or blob[12:16] != b"fmt ":
        raise ValueError("not RIFF/WAVE with \"fmt \" as the first chunk")
    size, tag, channels, rate, _, _, bits = struct.unpack_from("<IHHIIHH", blob, 16)
    if tag != 1:
        raise ValueError("format tag %d, not PCM" % tag)
    at = 20 + size
    while at + 8 <= len(blob):
        chunk, length = blob[at:at + 4], struct.unpack_from("<I", blob, at + 4)[0]
        if chunk == b"data":
            data = blob[at + 8:at + 8 + length]
            if len(data) != length:
                raise ValueError("data chunk cut short")
            if bits != 16:
                raise ValueError("%d bits per sample, not 16" % bits)
            samples = array.array("h")
            samples.frombytes(data)
            if sys.byteorder == "big":
                samples.byteswap()
            return Wave(channels, rate, bits, samples)
        at += 8 + length
    raise ValueError("no data chunk")


def decibels(level):
    return 20.0 * math.log10(level) if level > 0 else float("-inf")


def measure(wave):
    peak = max(abs(s) for s in wave.samples) / FULL_SCALE
    rms = math.sqrt(sum(s * s for s in wave.samples) / max(len(wave.samples), 1)) / FULL_SCALE
    return peak, rms, wave.frames / wave.rate


def level_problems(wave, peak, rms):
    problems = []
    if peak < MIN_PEAK or rms < MIN_RMS:
        problems.append("too quiet (peak %.1f dBFS, rms %.1f dBFS)" % (decibels(peak), decibels(rms)))
    clipped = sum(1 for s in wave.samples if abs(s) >= FULL_SCALE)
    if clipped:
        problems.append("%d samples at full scale" % clipped)
    return problems


def check_effect(path):
    wave = read_wave(path)
    problems = []
    if wave.channels not in (1, 2) or wave.rate not in (22050, 44100):
        problems.append("%d channels at %d Hz" % (wave.channels, wave.rate))
    if wave.frames == 0:
        return ["empty"], "empty"
    peak, rms, seconds = measure(wave)
    problems += level_problems(wave, peak, rms)
    edges = [abs(s) for s in wave.samples[:wave.channels] + wave.samples[-wave.channels:]]
    if max(edges) > EDGE_LIMIT:
        problems.append("does not start and end on silence (edge sample %d)" % max(edges))
    summary = "%5.3f s  peak %6.1f dBFS  rms %6.1f dBFS" % (seconds, decibels(peak), decibels(rms))
    return problems, summary


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def join_problems(wave):
    """Compares the jump from the last frame to the first with the steps on both sides of it."""
    problems = []
    window = int(JOIN_WINDOW * wave.rate)
    notes = []
    for c in range(wave.channels):
        x = wave.channel(c)
        around = list(x[-window:]) + list(x[:window])      # the loop as the player hears it
        steps = [abs(b - a) for a, b in zip(around, around[1:])]
        bends = [abs(around[i + 1] - 2 * around[i] + around[i - 1]) for i in range(1, len(around) - 1)]
        join_step = steps[window - 1]
        join_bend = max(bends[window - 2], bends[window - 1])
        step_limit = percentile(steps, 0.9)
        bend_limit = percentile(bends, 0.9)
        notes.append("ch%d step %d (p90 %d) bend %d (p90 %d)" % (c, join_step, step_limit, join_bend, bend_limit))
        if join_step > step_limit or join_bend > bend_limit:
            problems.append("loop join jumps on channel %d" % c)
    return problems, "; ".join(notes)


def decode_ogg(path):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "decoded.wav")
        subprocess.run(["oggdec", "-Q", "-o", out, path], check=True)
        return read_wave(out)


def check_tune(path, min_seconds):
    wave = decode_ogg(path)
    problems = []
    if wave.channels != 2 or wave.rate != 44100:
        problems.append("%d channels at %d Hz, not stereo 44100 Hz" % (wave.channels, wave.rate))
    peak, rms, seconds = measure(wave)
    if seconds < min_seconds:
        problems.append("%.2f s, shorter than %.0f s" % (seconds, min_seconds))
    problems += level_problems(wave, peak, rms)
    joins, join_note = join_problems(wave)
    problems += joins
    summary = "%6.3f s (%d frames)  peak %6.1f dBFS  rms %6.1f dBFS\n        join: %s" % (
        seconds, wave.frames, decibels(peak), decibels(rms), join_note)
    return problems, summary


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "sfx")
    checks = [("%03d.wav" % i, check_effect) for i in EFFECT_IDS]
    checks += [(name + ".ogg", lambda p, s=seconds: check_tune(p, s)) for name, seconds in TUNE_MIN_SECONDS.items()]
    failed = 0
    for name, check in checks:
        path = os.path.join(folder, name)
        try:
            problems, summary = check(path) if os.path.isfile(path) else (["missing"], "")
        except (ValueError, OSError, subprocess.CalledProcessError) as error:
            problems, summary = [str(error)], ""
        print("%-4s %-14s %s" % ("ok" if not problems else "FAIL", name, summary))
        for problem in problems:
            print("        " + problem)
        failed += bool(problems)
    print("%d passed, %d failed" % (len(checks) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
