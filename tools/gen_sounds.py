#!/usr/bin/python3
"""Synthesises every sound effect and tune of Zentrove.

Usage:
    /usr/bin/python3 tools/gen_sounds.py [--out DIR]

Writes into DIR (default: data/sfx of this repository):
    001.wav ... 007.wav, 095.wav, 096.wav, 098.wav, 099.wav   mono 16-bit 44100 Hz PCM WAVE
    fish.ogg, clustered.ogg                                  stereo 44100 Hz Ogg Vorbis (oggenc)

Needs Debian's python3-numpy and vorbis-tools. Everything is pure synthesis from fixed numbers;
noise comes from a counter hash rather than a stateful generator, so the same command writes the
same bytes. The tunes are rendered as loops: every buffer wraps around at the loop length, so
note releases, echoes and reverb tails that run past the end continue at the start, and the
loop point joins without a step.
"""

import argparse
import functools
import os
import struct
import subprocess
import sys
import tempfile

import numpy as np

RATE = 44100
TAU = 2.0 * np.pi
MASK64 = (1 << 64) - 1
GOLDEN64 = 0x9E3779B97F4A7C15


# ---------------------------------------------------------------------------------------------
# Primitives: time, pitch, noise, oscillators, envelopes, filters
# ---------------------------------------------------------------------------------------------

def secs(seconds):
    return int(round(seconds * RATE))


def times(n):
    return np.arange(n) / RATE


def midi_hz(midi):
    return 440.0 * 2.0 ** ((midi - 69) / 12.0)


NOTE_CLASSES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note(name):
    """'A4' -> 69, 'C#5' -> 73, 'Bb3' -> 58."""
    pitch = NOTE_CLASSES[name[0]]
    rest = name[1:]
    while rest and rest[0] in "#b":
        pitch += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return pitch + 12 * (int(rest) + 1)


def cents(c):
    return 2.0 ** (c / 1200.0)


def noise(n, seed):
    """Uniform noise in [-1, 1) from a splitmix64 hash of the sample index: no hidden state."""
    state = np.uint64(seed & MASK64) + np.arange(1, n + 1, dtype=np.uint64) * np.uint64(GOLDEN64)
    z = (state ^ (state >> np.uint64(30))) * np.uint64(0xBF58476D1CE4E5B9)
    z = (z ^ (z >> np.uint64(27))) * np.uint64(0x94D049BB133111EB)
    z = z ^ (z >> np.uint64(31))
    return (z >> np.uint64(11)).astype(np.float64) * (2.0 / 2.0 ** 53) - 1.0


def rand01(*key):
    """One deterministic number in [0, 1) for a small integer key (humanising, phases)."""
    z = 0
    for part in key:
        z = (z * 1000003 + part + GOLDEN64) & MASK64
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & MASK64
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & MASK64
        z ^= z >> 31
    return (z >> 11) / 2.0 ** 53


def phase(freq, n, start=0.0):
    """Phase in cycles and per-sample increment of an oscillator of scalar or per-sample freq."""
    step = np.broadcast_to(np.asarray(freq, dtype=np.float64), (n,)) / RATE
    cycles = start + np.concatenate(([0.0], np.cumsum(step[:-1])))
    return cycles, step


def _blep(t, dt):
    """PolyBLEP correction that rounds off a saw's jump so that high notes do not alias."""
    out = np.zeros_like(t)
    rising = t < dt
    x = t[rising] / dt[rising]
    out[rising] = x + x - x * x - 1.0
    falling = t > 1.0 - dt
    x = (t[falling] - 1.0) / dt[falling]
    out[falling] = x * x + x + x + 1.0
    return out


def _saw_at(cycles, step):
    t = cycles % 1.0
    return 2.0 * t - 1.0 - _blep(t, step)


def saw(freq, n, start=0.0):
    return _saw_at(*phase(freq, n, start))


def pulse(freq, n, width=0.5, start=0.0):
    cycles, step = phase(freq, n, start)
    return _saw_at(cycles, step) - _saw_at(cycles + width, step) + (2.0 * width - 1.0)


def sine(freq, n, start=0.0):
    cycles, _ = phase(freq, n, start)
    return np.sin(TAU * cycles)


def triangle(freq, n, start=0.0):
    cycles, _ = phase(freq, n, start)
    return 4.0 * np.abs((cycles + 0.25) % 1.0 - 0.5) - 1.0


def attack(t, seconds):
    """A linear rise from 0 so that no sound starts with a step."""
    return np.clip(t / seconds, 0.0, 1.0)


def decay(t, tau):
    return np.exp(-t / tau)


def gate(t, length, release):
    """1 while the note is held, then an exponential release."""
    return np.where(t < length, 1.0, np.exp(-(t - length) / release))


def svf(x, cutoff, q=0.707, mode="lp"):
    """Zero-delay state-variable filter with a per-sample cutoff (for sweeps and plucks)."""
    n = len(x)
    fc = np.clip(np.broadcast_to(np.asarray(cutoff, dtype=np.float64), (n,)), 20.0, 0.45 * RATE)
    g = np.tan(np.pi * fc / RATE)
    k = 1.0 / q
    a1 = 1.0 / (1.0 + g * (g + k))
    a2 = g * a1
    a3 = g * a2
    low = [0.0] * n
    band = [0.0] * n
    ic1 = ic2 = 0.0
    for i, (v0, b1, b2, b3) in enumerate(zip(x.tolist(), a1.tolist(), a2.tolist(), a3.tolist())):
        v3 = v0 - ic2
        v1 = b1 * ic1 + b2 * v3
        v2 = ic2 + b2 * ic1 + b3 * v3
        ic1 = 2.0 * v1 - ic1
        ic2 = 2.0 * v2 - ic2
        low[i] = v2
        band[i] = v1
    low = np.array(low)
    band = np.array(band)
    if mode == "lp":
        return low
    if mode == "bp":
        return band
    return x - k * band - low


def lowpass(fc, order=2):
    return lambda f: 1.0 / np.sqrt(1.0 + (f / fc) ** (2 * order))


def highpass(fc, order=2):
    return lambda f: 1.0 / np.sqrt(1.0 + (fc / np.maximum(f, 1e-3)) ** (2 * order))


def bandpass(lo, hi, order=2):
    return lambda f: lowpass(hi, order)(f) * highpass(lo, order)(f)


def spectral(x, response, circular=False):
    """Zero-phase filter by FFT along the last axis; circular for loops, zero-padded otherwise."""
    n = x.shape[-1]
    size = n if circular else n + min(n, RATE // 4)
    spectrum = np.fft.rfft(x, size)
    freqs = np.fft.rfftfreq(size, 1.0 / RATE)
    return np.fft.irfft(spectrum * response(freqs), size)[..., :n]


def convolve(x, ir, circular=False):
    """Convolution by FFT; the result keeps x's length when circular, else gets the tail."""
    if circular:
        n = x.shape[-1]
        return np.fft.irfft(np.fft.rfft(x, n) * np.fft.rfft(ir, n), n)
    size = x.shape[-1] + ir.shape[-1] - 1
    return np.fft.irfft(np.fft.rfft(x, size) * np.fft.rfft(ir, size), size)


def reverb_ir(seconds, rt60, seed, predelay=0.015):
    """A room made of decaying noise whose high end dies first, normalised to unit energy."""
    n = secs(seconds)
    t = times(n)
    raw = noise(n, seed)
    bright = spectral(raw, bandpass(200, 7000))
    dark = spectral(raw, bandpass(150, 2200))
    darkening = np.exp(-t / (0.25 * rt60))
    ir = (bright * darkening + dark * (1.0 - darkening)) * np.exp(-6.91 * t / rt60)
    ir *= 1.0 - np.exp(-t / 0.004)
    ir = np.concatenate((np.zeros(secs(predelay)), ir))[:n]
    return ir / np.sqrt(np.sum(ir * ir))


def mix_into(out, start, sig, gain=1.0):
    """Adds sig into out from sample start; its edges, and a cut where out ends, are faded."""
    end = min(len(out), start + len(sig))
    if end > start:
        out[start:end] += gain * fade_edges(sig[:end - start], 0.0005, 0.005)


def fade_edges(x, fade_in=0.001, fade_out=0.008):
    """Raised-cosine edges so that a sound starts and ends on silence without a click."""
    x = x.copy()
    n_in, n_out = secs(fade_in), secs(fade_out)
    x[..., :n_in] *= 0.5 - 0.5 * np.cos(np.pi * np.arange(n_in) / n_in)
    x[..., -n_out:] *= 0.5 + 0.5 * np.cos(np.pi * np.arange(1, n_out + 1) / n_out)
    return x


def faded(render):
    """Every note and hit is cut to a fixed length: fade that cut so that it does not click."""
    @functools.wraps(render)
    def wrapper(*args, **kwargs):
        return fade_edges(render(*args, **kwargs), 0.0005, 0.01)
    return wrapper


def trim_tail(x, floor_db=-60.0):
    """Drops the end of an effect once it has faded below floor_db under its peak."""
    loud = np.nonzero(np.abs(x) > np.max(np.abs(x)) * 10.0 ** (floor_db / 20.0))[0]
    return x[:loud[-1] + secs(0.01)]


def normalise(x, peak):
    return x * (peak / np.max(np.abs(x)))


def soft_clip(x, drive):
    return np.tanh(drive * x) / np.tanh(drive)


# ---------------------------------------------------------------------------------------------
# Sound effects (mono)
# ---------------------------------------------------------------------------------------------

@functools.lru_cache(maxsize=None)
def room_ir(seconds, rt60):
    return reverb_ir(seconds, rt60, seed=96)


def room(x, wet, seconds=1.4, rt60=1.0):
    """Adds a small room to an effect, its tail peaking at wet times the dry peak; the result
    is longer by the room's tail."""
    tail = convolve(x, room_ir(seconds, rt60))
    dry = np.concatenate((x, np.zeros(len(tail) - len(x))))
    return dry + wet * tail * (np.max(np.abs(x)) / max(np.max(np.abs(tail)), 1e-9))


def echo(x, delay, feedback, repeats):
    out = np.concatenate((x, np.zeros(secs(delay) * repeats)))
    for k in range(1, repeats + 1):
        mix_into(out, secs(delay) * k, x, feedback ** k)
    return out


@faded
def pluck(freq, seconds, bright=6000.0, body=900.0, snap=0.06, ring=0.1, width=0.3):
    """A resonant square pluck: the filter opens at the strike and closes as it rings."""
    n = secs(seconds)
    t = times(n)
    wave = 0.6 * pulse(freq, n, width) + 0.4 * saw(freq * cents(6), n)
    wave = svf(wave, body + bright * decay(t, snap), q=1.4)
    return wave * attack(t, 0.002) * decay(t, ring)


@faded
def fm_bell(freq, seconds, ratio=3.5, index=2.5, ring=0.3):
    """A glassy bell: a sine carrier whose inharmonic modulation fades faster than the tone."""
    n = secs(seconds)
    t = times(n)
    modulator = sine(freq * ratio, n) * index * decay(t, ring * 0.4)
    cycles, _ = phase(freq, n)
    return np.sin(TAU * cycles + modulator) * attack(t, 0.001) * decay(t, ring)


def sfx_level_opens():
    """001: a rising A-minor arpeggio over a noise riser, landing on a shimmering held A."""
    out = np.zeros(secs(1.25))
    notes = ["A4", "C5", "E5", "A5", "C6", "E6"]
    spacing = 0.055
    for i, name in enumerate(notes):
        mix_into(out, secs(i * spacing), pluck(midi_hz(note(name)), 0.4), 0.55 + 0.05 * i)
    start = secs(len(notes) * spacing)
    n = len(out) - start
    t = times(n)
    wobble = 2.0 ** (0.15 / 12 * np.sin(TAU * 6.0 * t) * (1.0 - decay(t, 0.2)))
    freq = midi_hz(note("A5")) * wobble
    held = 0.5 * saw(freq * cents(8), n) + 0.5 * saw(freq * cents(-8), n)
    held = svf(held, 1200 + 3500 * decay(t, 0.25), q=0.9)
    mix_into(out, start, held * attack(t, 0.01) * decay(t, 0.3), 0.6)
    riser_n = start + secs(0.1)
    rt = times(riser_n)
    riser = svf(noise(riser_n, 1), 500 * 16 ** (rt / rt[-1]), q=2.0, mode="bp")
    mix_into(out, 0, riser * np.sin(np.pi * rt / rt[-1]) ** 2, 1.4)
    return room(echo(out, 0.11, 0.3, 3), 0.25)


def sfx_level_cleared():
    """002: a bright A-major fanfare: a quick run up, a held brass chord and sparkling bells."""
    out = np.zeros(secs(2.2))
    run = ["E4", "A4", "C#5", "E5"]
    for i, name in enumerate(run):
        mix_into(out, secs(i * 0.075), pluck(midi_hz(note(name)), 0.3, ring=0.12), 0.6)
    start = secs(len(run) * 0.075)
    n = secs(1.5)
    t = times(n)
    chord = np.zeros(n)
    for name in ["A3", "E4", "A4", "C#5", "E5", "A5"]:
        vib = 2.0 ** (0.12 / 12 * np.sin(TAU * 5.5 * t) * (1.0 - decay(t, 0.3)))
        freq = midi_hz(note(name)) * vib
        chord += saw(freq * cents(7), n) + saw(freq * cents(-7), n)
    chord = svf(chord, 600 + 4200 * (1.0 - decay(t, 0.08)) * decay(t, 0.6), q=1.1)
    chord *= attack(t, 0.015) * gate(t, 0.55, 0.3)
    mix_into(out, start, chord / 6.0, 1.0)
    bells = ["E6", "A6", "C#7", "E7", "C#7", "A6"]
    for i, name in enumerate(bells):
        mix_into(out, start + secs(0.15 + 0.07 * i), fm_bell(midi_hz(note(name)), 0.6, ring=0.22), 0.22)
    return room(echo(out, 0.16, 0.28, 3), 0.3)


def sfx_bonus_piece():
    """003: a sparkle: a fast bell arpeggio up an A-major chord with a bright top."""
    out = np.zeros(secs(0.75))
    notes = ["A5", "C#6", "E6", "A6", "C#7"]
    for i, name in enumerate(notes):
        bell = fm_bell(midi_hz(note(name)), 0.5, ratio=3.5, index=1.8, ring=0.16 + 0.02 * i)
        mix_into(out, secs(i * 0.035), bell, 0.5)
        mix_into(out, secs(i * 0.035), pluck(midi_hz(note(name)), 0.12, ring=0.04), 0.25)
    return echo(out, 0.09, 0.25, 2)


def sfx_junk_piece():
    """004: a short bright blip gliding up a fifth; pitched so that 0.7x to 1.4x all sit well."""
    n = secs(0.11)
    t = times(n)
    freq = midi_hz(note("C6")) * 2.0 ** ((1.0 - decay(t, 0.012)) * 7.0 / 12.0)
    tone = 0.6 * pulse(freq, n, 0.5) + 0.4 * sine(2.0 * freq, n)
    tone = spectral(tone, lowpass(5000, 2))
    return tone * attack(t, 0.0015) * decay(t, 0.032)


def sfx_ship_hit():
    """005: an arcade explosion: a crunchy zap, a noise burst closing down and a deep thump."""
    n = secs(0.95)
    t = times(n)
    crunch = np.repeat(noise(n // 4 + 1, 5), 4)[:n]
    burst = svf(crunch, 160 + 6000 * decay(t, 0.1), q=1.2) * attack(t, 0.001) * decay(t, 0.22)
    thump = sine(38 + 110 * decay(t, 0.05), n) * attack(t, 0.002) * decay(t, 0.16)
    zap_freq = 60 + 1100 * decay(t, 0.045)
    zap = svf(pulse(zap_freq, n, 0.3), 3000, q=0.8) * attack(t, 0.001) * decay(t, 0.07)
    return soft_clip(0.9 * burst + 0.9 * thump + 0.45 * zap, 1.6)


def sfx_last_life_lost():
    """006: a sad falling line that dives away over a long rumble (plays on top of 005)."""
    out = np.zeros(secs(2.6))
    line = [("E5", 0.2), ("C5", 0.2), ("A4", 0.2), ("A4", 1.3)]
    at = secs(0.2)
    for i, (name, length) in enumerate(line):
        n = secs(length + 0.15)
        t = times(n)
        freq = midi_hz(note(name)) * np.ones(n)
        if i == len(line) - 1:
            freq *= 2.0 ** (-24.0 / 12.0 * np.clip((t - 0.25) / 1.1, 0.0, 1.0) ** 1.5)
        freq *= 2.0 ** (0.2 / 12 * np.sin(TAU * 5.0 * t))
        voice = saw(freq * cents(10), n) + saw(freq * cents(-10), n) + 0.6 * pulse(freq * 0.5, n)
        voice = spectral(voice, lowpass(2200, 2)) * attack(t, 0.01) * gate(t, length, 0.06)
        mix_into(out, at, voice, 0.35)
        at += secs(length)
    n = len(out)
    t = times(n)
    rumble = svf(noise(n, 6), 90 + 900 * decay(t, 0.4), q=0.9) * attack(t, 0.05) * decay(t, 0.7)
    out += 1.6 * rumble
    return room(echo(out, 0.19, 0.3, 3), 0.3, seconds=1.2)


def sfx_enemy_shot():
    """007: a laser 'pew' falling fast through a resonant filter that follows the pitch."""
    n = secs(0.2)
    t = times(n)
    freq = 260 + 1500 * decay(t, 0.035)
    tone = svf(pulse(freq, n, 0.25), 2.5 * freq, q=2.5)
    tone += 0.25 * sine(freq * 0.5, n)
    return tone * attack(t, 0.001) * decay(t, 0.055)


def sfx_whoosh():
    """095: a soft whoosh: band-passed noise sweeping up and back down."""
    n = secs(0.9)
    t = times(n)
    shape = np.sin(np.pi * t / t[-1])
    cutoff = 300 * 10.0 ** (shape ** 1.5)
    air = svf(noise(n, 95), cutoff, q=1.8, mode="bp")
    return air * shape ** 2


def sfx_logo_sting():
    """096: the studio sting: a detuned A-major-add9 chord opening up, crowned by two bells."""
    n = secs(1.5)
    t = times(n)
    chord = np.zeros(n)
    for i, name in enumerate(["A2", "E3", "A3", "C#4", "E4", "B4", "C#5"]):
        freq = midi_hz(note(name))
        start = rand01(96, i)
        chord += saw(freq * cents(9), n, start) + saw(freq * cents(-9), n, start + 0.5)
    cutoff = 250 + 4500 * (1.0 - decay(t, 0.25)) * (0.4 + 0.6 * decay(t, 0.8))
    chord = svf(chord, cutoff, q=1.6) / 7.0
    chord *= (1.0 - decay(t, 0.12)) * gate(t, 0.7, 0.35)
    out = np.zeros(n + secs(0.3))
    mix_into(out, 0, chord)
    mix_into(out, secs(0.42), fm_bell(midi_hz(note("E6")), 1.0, index=1.5, ring=0.35), 0.3)
    mix_into(out, secs(0.56), fm_bell(midi_hz(note("A6")), 1.0, index=1.5, ring=0.45), 0.3)
    return room(out, 0.35)


def sfx_confirm():
    """098: two quick rising plucks (A5 then E6); also used at half speed for 'quit'."""
    out = np.zeros(secs(0.24))
    mix_into(out, 0, pluck(midi_hz(note("A5")), 0.12, ring=0.04, width=0.5), 0.8)
    mix_into(out, secs(0.055), pluck(midi_hz(note("E6")), 0.18, ring=0.06, width=0.5), 1.0)
    n = secs(0.15)
    t = times(n)
    mix_into(out, secs(0.055), sine(midi_hz(note("E7")), n) * attack(t, 0.002) * decay(t, 0.05), 0.15)
    return out


def sfx_menu_move():
    """099: a short soft tick."""
    n = secs(0.07)
    t = times(n)
    freq = 1320 * (1.0 + 0.08 * decay(t, 0.004))
    tone = 0.7 * triangle(freq, n) + 0.3 * sine(2.0 * freq, n)
    return tone * attack(t, 0.001) * decay(t, 0.016)


# id -> (renderer, peak): effects that play often or are only accents sit lower.
EFFECTS = {
    1: (sfx_level_opens, 0.89),
    2: (sfx_level_cleared, 0.89),
    3: (sfx_bonus_piece, 0.8),
    4: (sfx_junk_piece, 0.7),
    5: (sfx_ship_hit, 0.89),
    6: (sfx_last_life_lost, 0.8),
    7: (sfx_enemy_shot, 0.55),
    95: (sfx_whoosh, 0.5),
    96: (sfx_logo_sting, 0.89),
    98: (sfx_confirm, 0.75),
    99: (sfx_menu_move, 0.6),
}


def render_effect(effect_id):
    renderer, peak = EFFECTS[effect_id]
    sound = renderer()
    sound = spectral(sound, highpass(40, 2))  # no DC or sub-bass rumble the speakers can't play
    return normalise(fade_edges(trim_tail(sound)), peak)


# ---------------------------------------------------------------------------------------------
# Music: a loop of whole bars on which every bus wraps around
# ---------------------------------------------------------------------------------------------

MUSIC_RMS = 10.0 ** (-14.0 / 20.0)     # leaves the effects room on top of the music
MUSIC_PEAK = 0.85                       # headroom for the encoder's overshoot
STEP = 5292               # one sixteenth note: 125 beats a minute at 44100 Hz
BAR = 16 * STEP

MAJOR = (0, 4, 7)
MINOR = (0, 3, 7)


def chord_tones(name):
    """'Am' -> (9, (0, 3, 7)); 'C#' -> (1, (0, 4, 7))."""
    root = note(name.rstrip("m") + "0") % 12
    return root, MINOR if name.endswith("m") else MAJOR


def tones_in_range(chord, low, high):
    root, shape = chord_tones(chord)
    classes = {(root + i) % 12 for i in shape}
    return [m for m in range(low, high) if m % 12 in classes]


def parse_line(text):
    """'A4:4 C5:2 -:2' -> [(step, length, midi or None)] within one bar of 16 steps."""
    at = 0
    notes = []
    for token in text.split():
        name, length = token.split(":")
        notes.append((at, int(length), None if name == "-" else note(name)))
        at += int(length)
    assert at == 16, text
    return notes


def pan_gains(pan):
    """Equal-power pan: -1 left, 0 centre (both at 1), +1 right."""
    angle = (pan + 1.0) * np.pi / 4.0
    return np.sqrt(2.0) * np.cos(angle), np.sqrt(2.0) * np.sin(angle)


class Loop:
    """A stereo bus of exactly n samples; whatever is placed past the end wraps to the start."""

    def __init__(self, n):
        self.n = n
        self.buf = np.zeros((2, n))

    def place(self, start, sig, pan=0.0, gain=1.0):
        if sig.ndim == 1:
            left, right = pan_gains(pan)
            sig = np.stack((left * sig, right * sig))
        pos = start % self.n
        done = 0
        while done < sig.shape[1]:
            take = min(sig.shape[1] - done, self.n - pos)
            self.buf[:, pos:pos + take] += gain * sig[:, done:done + take]
            done += take
            pos = 0


def loop_delay(x, delay, feedback):
    """Ping-pong echoes of a whole loop: tap k is the loop rolled by k delays, sides alternating."""
    out = np.zeros_like(x)
    mono = x.mean(axis=0)
    level = 1.0
    k = 1
    while level > 0.002:
        out[(k + 1) % 2] += np.roll(mono, k * delay) * level * np.sqrt(2.0)
        level *= feedback
        k += 1
    return out


def loop_reverb(x, ir_left, ir_right):
    mono = x.mean(axis=0)
    return np.stack((convolve(mono, ir_left, circular=True), convolve(mono, ir_right, circular=True)))


# --- drum one-shots, rendered once and placed many times ---------------------------------------

@faded
def kick():
    n = secs(0.6)
    t = times(n)
    body = sine(52 + 110 * decay(t, 0.032), n) * decay(t, 0.17)
    click = spectral(noise(n, 11), bandpass(1500, 8000)) * decay(t, 0.003)
    return soft_clip((body + 0.35 * click) * attack(t, 0.0008), 1.5)


@faded
def snare():
    n = secs(0.5)
    t = times(n)
    tone = 0.5 * sine(185, n) * decay(t, 0.06) + 0.3 * sine(330, n) * decay(t, 0.035)
    rattle = spectral(noise(n, 12), bandpass(1200, 9000)) * decay(t, 0.12)
    return (tone + 1.1 * rattle) * attack(t, 0.0008)


def metal(n, seed_shift=0.0):
    """Six detuned squares like an analogue drum machine's cymbal source."""
    out = np.zeros(n)
    for i, freq in enumerate((205.3, 304.4, 369.6, 522.7, 540.0, 800.0)):
        out += pulse(freq * (1.0 + seed_shift), n, 0.5, start=rand01(7, i))
    return out


@faded
def hat(length):
    n = secs(length * 4 + 0.02)
    t = times(n)
    source = 0.6 * metal(n) + 0.8 * noise(n, 13)
    return spectral(source, highpass(7000, 3)) * attack(t, 0.0005) * decay(t, length)


@faded
def crash():
    n = secs(2.2)
    t = times(n)
    source = 0.5 * metal(n, 0.13) + noise(n, 14)
    wash = spectral(source, bandpass(3500, 12000, 2)) * decay(t, 0.55)
    return wash * attack(t, 0.001)


@faded
def tom(freq):
    n = secs(0.5)
    t = times(n)
    body = sine(freq * (1.0 + 0.6 * decay(t, 0.03)), n) * decay(t, 0.16)
    skin = spectral(noise(n, 15), bandpass(400, 3000)) * decay(t, 0.02)
    return (body + 0.25 * skin) * attack(t, 0.0008)


# --- pitched instruments -------------------------------------------------------------------------

@functools.lru_cache(maxsize=None)
@faded
def bass_note(midi, steps):
    """Synth-wave bass: two detuned saws and a sub sine through a plucked filter."""
    length = steps * STEP / RATE - 0.012
    n = secs(length + 0.09)
    t = times(n)
    freq = midi_hz(midi)
    wave = saw(freq * cents(5), n) + saw(freq * cents(-5), n, 0.5) + 0.8 * sine(freq, n)
    wave = svf(wave, 140 + 2.5 * freq + 1800 * decay(t, 0.07), q=1.1)
    return soft_clip(wave * attack(t, 0.003) * gate(t, length, 0.02) * 0.45, 1.3)


@functools.lru_cache(maxsize=None)
@faded
def arp_note(midi):
    """A short glassy pluck for the sixteenth-note arpeggio."""
    n = secs(0.4)
    t = times(n)
    freq = midi_hz(midi)
    wave = pulse(freq, n, 0.25) + 0.5 * saw(freq * cents(7), n)
    wave = svf(wave, 700 + 5500 * decay(t, 0.04), q=1.3)
    return wave * attack(t, 0.002) * decay(t, 0.09)


@faded
def pad_note(midi, length, seed):
    """One pad voice: detuned saw pairs spread left and right, slow to rise and fall."""
    n = secs(length + 1.0)
    t = times(n)
    freq = midi_hz(midi)
    env = (1.0 - decay(t, 0.12)) * gate(t, length, 0.25)
    left = saw(freq * cents(-9), n, rand01(seed, 1)) + 0.7 * saw(freq * cents(4), n, rand01(seed, 2))
    right = saw(freq * cents(9), n, rand01(seed, 3)) + 0.7 * saw(freq * cents(-4), n, rand01(seed, 4))
    return np.stack((left * env, right * env))


@faded
def lead_note(midi, length, glide_from=None):
    """The lead: detuned saws and a sub-octave square, vibrato that grows, a brightness swell."""
    n = secs(length + 0.4)
    t = times(n)
    pitch = np.full(n, float(midi))
    if glide_from is not None:
        pitch += (glide_from - midi) * decay(t, 0.012)
    pitch += 0.18 * np.sin(TAU * 5.6 * t) * np.clip((t - 0.16) / 0.25, 0.0, 1.0)
    freq = midi_hz(pitch)
    raw = saw(freq * cents(7), n) + saw(freq * cents(-7), n, 0.33) + 0.5 * pulse(freq * 0.5, n)
    dark = spectral(raw, lowpass(1100, 2))
    tone = dark + (raw - dark) * (0.3 + 0.7 * decay(t, 0.2))
    env = attack(t, 0.008) * (0.78 + 0.22 * decay(t, 0.25)) * gate(t, length, 0.09)
    return tone * env


# --- arrangement ---------------------------------------------------------------------------------

class Section:
    """Bars of one song section: chords (one per bar, 'F G' for two per bar), melody lines and
    the instruments' patterns."""

    def __init__(self, chords, melody, drums="full", bass="octaves", arp=False, double=None,
                 open_hats=False, fill=None, crash=True, pad="dark"):
        assert len(chords) == len(melody)
        self.chords = chords
        self.melody = melody
        self.drums = drums
        self.bass = bass
        self.arp = arp
        self.double = double
        self.open_hats = open_hats
        self.fill = fill
        self.crash = crash
        self.pad = pad


def chord_at(bar_chords, step):
    names = bar_chords.split()
    return names[step * len(names) // 16]


@functools.lru_cache(maxsize=None)
def drum_kit():
    """Instrument name -> (one-shot, pan, gain)."""
    kit = {"kick": (kick(), 0.0, 0.65), "snare": (snare(), 0.0, 0.55),
           "hat": (hat(0.028), 0.25, 0.22), "open_hat": (hat(0.17), -0.2, 0.2),
           "crash": (crash(), -0.3, 0.3)}
    for i, (freq, pan) in enumerate(((196, 0.45), (147, 0.15), (110, -0.15), (82, -0.45))):
        kit["tom%d" % i] = (tom(freq), pan, 0.5)
    return kit


def drum_hits(section, bar_index, bar_count):
    """(step, instrument, velocity) for one bar."""
    hits = []
    if section.drums == "half":
        hits += [(0, "kick", 1.0), (10, "kick", 0.8), (8, "snare", 1.0)]
        hits += [(s, "hat", 0.45 if s % 4 == 2 else 0.28) for s in range(16)]
    else:
        hits += [(s, "kick", 1.0) for s in (0, 4, 8, 12)]
        hits += [(4, "snare", 1.0), (12, "snare", 1.0)]
        hits += [(s, "hat", 0.55 if s % 4 == 2 else 0.3) for s in range(0, 16, 2)]
        hits += [(s, "hat", 0.16) for s in range(1, 16, 2)]
        if section.open_hats:
            hits += [(s, "open_hat", 0.35) for s in (2, 6, 10, 14)]
    if bar_index == 0 and section.crash:
        hits.append((0, "crash", 0.8))
    if bar_index == bar_count - 1 and section.fill == "snare":
        hits = [h for h in hits if h[0] < 8 or h[1] == "hat"]
        hits += [(s, "snare", 0.35 + 0.6 * (s - 8) / 7) for s in range(8, 16)]
        hits += [(8, "kick", 0.9), (12, "kick", 0.9)]
    if bar_index == bar_count - 1 and section.fill == "toms":
        hits = [h for h in hits if h[0] < 12 or h[1] == "hat"]
        hits += [(12 + i, "tom%d" % i, 0.9) for i in range(4)]
        hits += [(12, "kick", 0.9)]
    return hits


def bass_line(section, bar_chords):
    """(step, length, midi) for one bar, on the chord's root between A1 and G#2 (low enough to
    carry, high enough for small speakers)."""
    def root(step):
        r, _ = chord_tones(chord_at(bar_chords, step))
        return 33 + (r - 9) % 12
    if section.bass == "pulse":
        return [(s, 1, root(s) + (12 if s % 4 == 2 else 0)) for s in range(16)]
    if section.bass == "syncopated":
        pattern = [(0, 3, 0), (3, 3, 0), (6, 2, 12), (8, 3, 0), (11, 3, 0), (14, 2, 12)]
        return [(s, length, root(s) + up) for s, length, up in pattern]
    return [(s, 2, root(s) + (12 if s % 4 == 2 else 0)) for s in range(0, 16, 2)]


def harmony_below(melody_midi, chord):
    """The highest chord tone at least a minor third under the melody note."""
    return max(m for m in tones_in_range(chord, melody_midi - 10, melody_midi - 2))


class Song:
    def __init__(self, sections, seed):
        self.sections = sections
        self.seed = seed
        self.bars = sum(len(s.chords) for s in sections)
        self.n = self.bars * BAR
        names = ["drums", "bass", "pad", "pad_bright", "arp", "lead", "reverb_send"]
        self.bus = {name: Loop(self.n) for name in names}
        self.kick_starts = []

    def bars_in_order(self):
        bar = 0
        for section in self.sections:
            for i, chords in enumerate(section.chords):
                yield bar, i, section, chords, section.melody[i]
                bar += 1

    def human(self, *key):
        """A small deterministic variation so that repeated hits are not machine-identical."""
        return 1.0 + 0.08 * (rand01(self.seed, *key) - 0.5)

    def render_drums(self):
        kit = drum_kit()
        names = list(kit)
        for bar, index, section, _, _ in self.bars_in_order():
            for step, name, velocity in drum_hits(section, index, len(section.chords)):
                start = bar * BAR + step * STEP
                sound, pan, level = kit[name]
                gain = level * velocity * self.human(bar, step, names.index(name))
                self.bus["drums"].place(start, sound, pan, gain)
                if name == "kick":
                    self.kick_starts.append(start)
                if name == "snare" or name.startswith("tom"):
                    self.bus["reverb_send"].place(start, sound, 0.0, 0.3 * gain)

    def render_bass(self):
        for bar, _, section, chords, _ in self.bars_in_order():
            for step, length, midi in bass_line(section, chords):
                velocity = 1.0 if step % 4 == 0 else 0.85
                self.bus["bass"].place(bar * BAR + step * STEP, bass_note(midi, length), 0.0,
                                       0.6 * velocity * self.human(bar, step, 3))

    def render_pad(self):
        for bar, _, section, chords, _ in self.bars_in_order():
            names = chords.split()
            length = BAR // len(names)
            for i, name in enumerate(names):
                for voice, midi in enumerate(tones_in_range(name, 55, 67)):
                    sound = pad_note(midi, length / RATE - 0.02, self.seed + bar * 8 + voice)
                    bus = "pad_bright" if section.pad == "bright" else "pad"
                    self.bus[bus].place(bar * BAR + i * length, sound, gain=0.16)

    def render_arp(self):
        for bar, _, section, chords, _ in self.bars_in_order():
            if not section.arp:
                continue
            for step in range(16):
                tones = tones_in_range(chord_at(chords, step), 64, 86)
                run = tones + tones[-2:0:-1]
                midi = run[(bar * 16 + step) % len(run)]
                velocity = (1.0 if step % 4 == 0 else 0.7) * self.human(bar, step, 5)
                pan = 0.3 * np.sin(TAU * (bar * 16 + step) / 32.0)
                self.bus["arp"].place(bar * BAR + step * STEP, arp_note(midi), pan, 0.16 * velocity)

    def lead_notes(self):
        """(start step, length in steps, midi, previous midi if legato, chord, section)."""
        notes = []
        previous = None
        previous_end = None
        for bar, _, section, chords, line in self.bars_in_order():
            for step, length, midi in parse_line(line):
                start = bar * 16 + step
                if midi is None:
                    previous = None
                    continue
                legato = previous if previous_end == start else None
                notes.append((start, length, midi, legato, chord_at(chords, step), section))
                previous, previous_end = midi, start + length
        return notes

    def render_lead(self):
        for start, length, midi, legato, chord, section in self.lead_notes():
            seconds = length * STEP / RATE - 0.02
            self.bus["lead"].place(start * STEP, lead_note(midi, seconds, legato), 0.0, 0.3)
            if section.double == "octave":
                glide = legato - 12 if legato is not None else None
                self.bus["lead"].place(start * STEP, lead_note(midi - 12, seconds, glide), 0.0, 0.15)
            if section.double == "harmony":
                below = harmony_below(midi, chord)
                self.bus["lead"].place(start * STEP, lead_note(below, seconds), 0.0, 0.14)

    def sidechain(self, depth, release=0.12):
        """Gain that dips at every kick and recovers: the pumping of synth-wave."""
        duck = np.zeros(self.n)
        n = secs(0.35)
        t = times(n)
        shape = depth * (1.0 - decay(t, 0.004)) * decay(t, release)
        for start in self.kick_starts:
            pos = np.arange(start, start + n) % self.n
            duck[pos] = np.maximum(duck[pos], shape)
        return 1.0 - duck

    def render(self):
        self.render_drums()
        self.render_bass()
        self.render_pad()
        self.render_arp()
        self.render_lead()
        b = {name: loop.buf for name, loop in self.bus.items()}
        pad = spectral(b["pad"], bandpass(160, 1500), circular=True)
        pad += spectral(b["pad_bright"], bandpass(160, 3200), circular=True)
        arp = spectral(b["arp"], bandpass(250, 7000), circular=True)
        lead = spectral(b["lead"], bandpass(180, 6500), circular=True)
        bass = spectral(b["bass"], highpass(40, 2), circular=True)
        arp = arp + 0.55 * loop_delay(arp, 3 * STEP, 0.42)
        lead = lead + 0.28 * loop_delay(lead, 3 * STEP, 0.35)
        pad = pad * self.sidechain(0.55)
        bass = bass * self.sidechain(0.35, 0.08)
        arp = arp * self.sidechain(0.3)
        send = b["reverb_send"] + 0.5 * pad + 0.35 * lead + 0.3 * arp
        ir_left = reverb_ir(min(2.5, self.n / RATE * 0.6), 1.9, seed=self.seed + 1)
        ir_right = reverb_ir(min(2.5, self.n / RATE * 0.6), 1.9, seed=self.seed + 2)
        wet = loop_reverb(send, ir_left, ir_right)
        mix = b["drums"] + bass + pad + arp + lead + 0.35 * wet
        mix = spectral(mix, highpass(35, 2), circular=True)
        mix = soft_clip(mix / np.max(np.abs(mix)), 1.0)    # rounds off only the highest peaks
        return mix * min(MUSIC_RMS / np.sqrt(np.mean(mix * mix)), MUSIC_PEAK / np.max(np.abs(mix)))


# A minor; A sections are "Am F C G Am F G E", the bridge leans on D minor and E major.
A_MELODY = ["A4:4 C5:2 E5:4 D5:2 C5:4", "A4:6 C5:2 F5:4 E5:4", "E5:4 G5:4 E5:2 D5:2 C5:4",
            "D5:6 B4:2 G4:8", "A4:4 C5:2 E5:4 A5:6", "G5:2 F5:2 E5:4 C5:4 A4:4",
            "B4:4 D5:4 G5:4 F5:4", "E5:6 G#4:2 B4:8"]
A_MELODY_TO_BRIDGE = A_MELODY[:7] + ["D5:6 B4:2 G4:8"]
A_CHORDS = ["Am", "F", "C", "G", "Am", "F", "G", "E"]
A_CHORDS_TO_BRIDGE = A_CHORDS[:7] + ["G"]
B_MELODY = ["F5:8 A5:8", "C6:12 A5:4", "G5:8 E5:8", "D5:8 G5:8",
            "F5:8 A5:4 D6:4", "C6:8 A5:4 F5:4", "G#5:8 B5:8", "E5:12 -:4"]
B_CHORDS = ["Dm", "F", "C", "G", "Dm", "F", "E", "E"]


def clustered():
    """The in-game tune: A A B A, 32 bars at 125 beats a minute, 61.44 seconds."""
    return Song([
        Section(A_CHORDS, A_MELODY),
        Section(A_CHORDS_TO_BRIDGE, A_MELODY_TO_BRIDGE, arp=True, double="octave", open_hats=True,
                fill="snare"),
        Section(B_CHORDS, B_MELODY, drums="half", bass="syncopated", arp=True, pad="bright",
                fill="snare"),
        Section(A_CHORDS, A_MELODY, arp=True, double="harmony", open_hats=True, fill="toms"),
    ], seed=2024)


def fish():
    """The get-ready sting: two driving bars that loop while a game starts."""
    return Song([
        Section(["Am", "F G"], ["A4:2 C5:2 E5:2 A5:2 E5:2 C5:2 E5:2 A5:2", "F5:4 A5:4 G5:4 B5:4"],
                bass="pulse", arp=True, open_hats=True, fill="snare", pad="bright"),
    ], seed=77)


TUNES = {"fish": fish, "clustered": clustered}


# ---------------------------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------------------------

def to_pcm16(x):
    return np.clip(np.round(x * 32767.0), -32767, 32767).astype("<i2")


def write_wav(path, samples):
    """PCM WAVE with "fmt " as the first chunk (16 bytes), 16-bit, mono or stereo (2 x n)."""
    channels = 1 if samples.ndim == 1 else samples.shape[0]
    frames = to_pcm16(samples if samples.ndim == 1 else samples.T.reshape(-1))
    data = frames.tobytes()
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, channels, RATE, RATE * channels * 2, channels * 2, 16)
    header += b"data" + struct.pack("<I", len(data))
    with open(path, "wb") as f:
        f.write(header + data)


def write_ogg(path, samples, serial):
    """oggenc with a fixed stream serial and no comments, so that the bytes repeat."""
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "tune.wav")
        write_wav(wav, samples)
        subprocess.run(["oggenc", "-Q", "-q", "4", "--serial", str(serial), "-o", path, wav],
                       check=True)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(root, "data", "sfx"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for effect_id in EFFECTS:
        path = os.path.join(args.out, "%03d.wav" % effect_id)
        write_wav(path, render_effect(effect_id))
        print("wrote", path)
    for serial, (name, song) in enumerate(TUNES.items(), start=5100):
        path = os.path.join(args.out, name + ".ogg")
        write_ogg(path, song().render(), serial)
        print("wrote", path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
