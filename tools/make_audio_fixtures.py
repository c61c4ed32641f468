#!/usr/bin/python3
"""Writes the small sound files the audio tests, benchmark and fuzzers read.

    tools/make_audio_fixtures.py        (from the repository root; needs oggenc from vorbis-tools)

tests/audio/data/  Ogg Vorbis tones with known channels, rate and length
fuzz/corpus/wav/   seed WAVE files: the layouts the reader accepts and a few it refuses
fuzz/corpus/ogg/   seed Ogg files (short copies of the tones)

The output is deterministic (fixed Ogg serial numbers), so re-running the
script only changes files when the script changes.
"""
import math
import os
import struct
import subprocess
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def pcm16(frames, channels, rate, freqs):
    out = bytearray()
    for i in range(frames):
        for c in range(channels):
            value = 0.5 * math.sin(2 * math.pi * freqs[c] * i / rate)
            out += struct.pack('<h', int(value * 32767))
    return bytes(out)


def fmt_chunk(channels, rate, bits, tag=1, extra=b''):
    block = channels * bits // 8
    body = struct.pack('<HHIIHH', tag, channels, rate, rate * block, block, bits) + extra
    return b'fmt ' + struct.pack('<I', len(body)) + body


def chunk(tag, body, size=None):
    return tag + struct.pack('<I', len(body) if size is None else size) + body


def wave(chunks):
    body = b'WAVE' + b''.join(chunks)
    return b'RIFF' + struct.pack('<I', len(body)) + body


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def make_ogg(path, seconds, channels, rate, freqs, serial):
    frames = int(seconds * rate)
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, 'tone.wav')
        write(source, wave([fmt_chunk(channels, rate, 16), chunk(b'data', pcm16(frames, channels, rate, freqs))]))
        subprocess.run(['oggenc', '-Q', '-q', '0', '--serial', str(serial), '-o', path, source], check=True)


def with_comment_fields(path, fields):
    """The Ogg file with its comment header's fields rewritten in place from the
    vendor length on (zeros after them): a comment count of 2^29 + 1 with room
    for a few empty comments makes stb_vorbis 1.22 write past a block it sized
    with wrapped int arithmetic, unless the decoder refuses the header first."""
    with open(path, 'rb') as f:
        data = f.read()
    header = data.find(b'\x03vorbis')
    room = 4 + struct.unpack('<I', data[header + 7:header + 11])[0] + 4
    body = b''.join(struct.pack('<I', field) for field in fields).ljust(room, b'\0')
    return data[:header + 7] + body + data[header + 7 + room:]


def main():
    data = os.path.join(ROOT, 'tests', 'audio', 'data')
    make_ogg(os.path.join(data, 'tone-stereo-44100.ogg'), 1.0, 2, 44100, [440, 660], 1)
    make_ogg(os.path.join(data, 'tone-mono-22050.ogg'), 0.25, 1, 22050, [330], 2)

    ogg_seeds = os.path.join(ROOT, 'fuzz', 'corpus', 'ogg')
    make_ogg(os.path.join(ogg_seeds, 'mono.ogg'), 0.05, 1, 8000, [300], 3)
    make_ogg(os.path.join(ogg_seeds, 'stereo.ogg'), 0.05, 2, 11025, [300, 500], 4)
    write(os.path.join(ogg_seeds, 'comment-count-wraps.ogg'),
          with_comment_fields(os.path.join(ogg_seeds, 'mono.ogg'), [0, 0x20000001]))

    seeds = os.path.join(ROOT, 'fuzz', 'corpus', 'wav')
    tone8 = bytes(128 + int(60 * math.sin(i / 3)) for i in range(64))
    tone16 = pcm16(32, 2, 11025, [500, 700])
    write(os.path.join(seeds, 'mono8.wav'), wave([fmt_chunk(1, 8000, 8), chunk(b'data', tone8)]))
    write(os.path.join(seeds, 'stereo16.wav'), wave([fmt_chunk(2, 11025, 16), chunk(b'data', tone16)]))
    write(os.path.join(seeds, 'list-before-data.wav'),
          wave([fmt_chunk(1, 8000, 8), chunk(b'LIST', b'INFOtest'), chunk(b'data', tone8)]))
    write(os.path.join(seeds, 'fmt18.wav'),
          wave([fmt_chunk(1, 8000, 16, extra=b'\0\0'), chunk(b'data', tone16[:64])]))
    write(os.path.join(seeds, 'float.wav'), wave([fmt_chunk(1, 8000, 32, tag=3), chunk(b'data', bytes(16))]))
    write(os.path.join(seeds, 'huge-claim.wav'), wave([fmt_chunk(1, 8000, 8), chunk(b'data', b'', 0xFFFFFFF0)]))


if __name__ == '__main__':
    main()
