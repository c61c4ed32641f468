#include "audio/sound_decode.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

// Debian's stb_vorbis.h carries the whole decoder; the library (libstb) holds
// the compiled code, so only the declarations are wanted here.
#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace {

// The most decoded PCM one sound may take: far beyond any effect or tune of
// the game, and small enough that a hostile file (an Ogg stream of tiny
// packets expands a thousandfold) cannot exhaust memory. Also below the int
// byte count OpenAL's buffers take.
constexpr size_t kMaxPcmBytes = size_t{256} << 20;

// A block for a WAVE data chunk starts at most this large and doubles as the
// bytes really arrive.
constexpr size_t kFirstReadBytes = size_t{64} << 10;

// Ogg output grows in decoder frames of up to this many samples per channel.
constexpr size_t kOggBlockFrames = 4096;

// All of stb_vorbis's own memory for one stream (codebooks, floors, window
// and channel buffers) comes from one block of this size. Stereo streams
// need about 220 KB, 5.1 at the encoder's top quality about 780 KB, so the
// bound is generous for any real file; yet a hostile setup header that
// declares millions of codebook entries is refused at once instead of being
// read bit by bit into a huge allocation. It also keeps stb_vorbis from
// leaking the temporary tables it forgets to free when it gives up on a
// broken setup header: the block goes back as a whole.
constexpr int kVorbisArenaBytes = 2 << 20;

bool ReadExactly(FILE* file, void* out, size_t count) { return fread(out, 1, count, file) == count; }

bool ReadU16(FILE* file, uint16_t* value) {
    unsigned char bytes[2];
    if (!ReadExactly(file, bytes, 2)) return false;
    *value = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
    return true;
}

uint32_t Le32(const unsigned char* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

bool ReadU32(FILE* file, uint32_t* value) {
    unsigned char bytes[4];
    if (!ReadExactly(file, bytes, 4)) return false;
    *value = Le32(bytes);
    return true;
}

bool ReadTagIs(FILE* file, const char expected[4]) {
    char tag[4];
    return ReadExactly(file, tag, 4) && memcmp(tag, expected, 4) == 0;
}

// Reads and drops count bytes; false when the file ends first.
bool SkipBytes(FILE* file, uint32_t count) {
    unsigned char scratch[4096];
    while (count > 0) {
        size_t step = std::min<size_t>(count, sizeof scratch);
        if (!ReadExactly(file, scratch, step)) return false;
        count -= static_cast<uint32_t>(step);
    }
    return true;
}

// Reads exactly size bytes into a malloc block, or null when the file ends
// first. The block grows only as bytes arrive, so a size field larger than
// the file costs no more memory than the file holds.
unsigned char* ReadBlock(FILE* file, size_t size) {
    size_t capacity = std::min(size, kFirstReadBytes);
    auto* block = static_cast<unsigned char*>(malloc(std::max<size_t>(capacity, 1)));
    size_t filled = 0;
    while (block) {
        filled += fread(block + filled, 1, capacity - filled, file);
        if (filled == size) return block;
        if (filled < capacity) break;  // the file ended
        capacity = std::min(size, capacity * 2);
        auto* grown = static_cast<unsigned char*>(realloc(block, capacity));
        if (!grown) break;
        block = grown;
    }
    free(block);
    return nullptr;
}

struct WaveFormat {
    uint16_t channels = 0;
    uint32_t rate = 0;
    int bytesPerSample = 0;
};

// "RIFF", size, "WAVE", then the "fmt " chunk, which must come first and
// describe integer PCM of at least 8 bits, one or more channels and a rate.
bool ReadWaveFormat(FILE* file, WaveFormat* format) {
    uint32_t riffSize = 0, fmtSize = 0, byteRate = 0;
    uint16_t formatTag = 0, blockAlign = 0, bitsPerSample = 0;
    if (!ReadTagIs(file, "RIFF") || !ReadU32(file, &riffSize) || !ReadTagIs(file, "WAVE")) return false;
    if (!ReadTagIs(file, "fmt ") || !ReadU32(file, &fmtSize) || fmtSize < 16) return false;
    if (!ReadU16(file, &formatTag) || formatTag != 1) return false;
    if (!ReadU16(file, &format->channels) || !ReadU32(file, &format->rate) || !ReadU32(file, &byteRate) ||
        !ReadU16(file, &blockAlign) || !ReadU16(file, &bitsPerSample)) {
        return false;
    }
    format->bytesPerSample = bitsPerSample / 8;
    if (format->channels == 0 || format->bytesPerSample == 0) return false;
    if (format->rate == 0 || format->rate > INT_MAX) return false;
    return SkipBytes(file, fmtSize - 16);
}

// --- Ogg headers -------------------------------------------------------------

// Reads an Ogg stream's packets in order, joining their segments across pages.
class OggPacketReader {
public:
    explicit OggPacketReader(FILE* source) : file(source) {}

    // The next whole packet; false when a page is broken or the file ends.
    bool Next(std::vector<unsigned char>* packet) {
        packet->clear();
        for (;;) {
            if (segment == segmentCount && !ReadPageHeader()) return false;
            if (segmentCount == 0) continue;
            int length = lacing[segment++];
            size_t at = packet->size();
            packet->resize(at + length);
            if (!ReadExactly(file, packet->data() + at, length)) return false;
            if (length < 255) return true;
        }
    }

private:
    bool ReadPageHeader() {
        unsigned char header[27];
        if (!ReadExactly(file, header, sizeof header) || memcmp(header, "OggS", 4) != 0) return false;
        segmentCount = header[26];
        segment = 0;
        return ReadExactly(file, lacing, segmentCount);
    }

    FILE* file;
    unsigned char lacing[255] = {};
    int segmentCount = 0;
    int segment = 0;
};

// Whether every length the Vorbis comment header states fits in the packet.
bool CommentLengthsFit(const std::vector<unsigned char>& packet) {
    size_t at = 7;  // packet type 3, "vorbis"
    if (packet.size() < at || packet[0] != 3 || memcmp(packet.data() + 1, "vorbis", 6) != 0) return false;
    auto readLength = [&](uint32_t* length) {
        if (packet.size() - at < 4) return false;
        *length = Le32(packet.data() + at);
        at += 4;
        return true;
    };
    uint32_t vendorLength = 0, count = 0;
    if (!readLength(&vendorLength) || vendorLength > packet.size() - at) return false;
    at += vendorLength;
    if (!readLength(&count) || count > (packet.size() - at) / 4) return false;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        if (!readLength(&length) || length > packet.size() - at) return false;
        at += length;
    }
    return true;
}

// stb_vorbis 1.22 sizes its blocks for the vendor text and the comments from
// the lengths the comment header states, in int arithmetic: a length near
// 2^31 or a count near 2^29 wraps around, and it then writes past the small
// block it got. The game reads no comments, so a stream whose comment header
// does not fit its own packet is refused before stb_vorbis reads it. The file
// is left where it was.
bool OggCommentHeaderFits(FILE* file) {
    long start = ftell(file);
    if (start < 0) return false;
    OggPacketReader reader(file);
    std::vector<unsigned char> packet;
    bool fits = reader.Next(&packet) && reader.Next(&packet) && CommentLengthsFit(packet);
    return fseek(file, start, SEEK_SET) == 0 && fits;
}

// --- Ogg decoding --------------------------------------------------------------

// Decodes every frame into a malloc block of 16-bit samples; null when the
// stream decodes to more than kMaxPcmBytes or memory runs out.
short* DecodeVorbisFrames(stb_vorbis* decoder, int channels, size_t* samplesWritten) {
    const size_t blockSamples = static_cast<size_t>(channels) * kOggBlockFrames;
    size_t capacity = blockSamples;
    size_t written = 0;
    auto* pcm = static_cast<short*>(malloc(capacity * sizeof(short)));
    while (pcm) {
        int room = static_cast<int>(std::min<size_t>(capacity - written, INT_MAX));
        int frames = stb_vorbis_get_frame_short_interleaved(decoder, channels, pcm + written, room);
        if (frames <= 0) {
            *samplesWritten = written;
            return pcm;
        }
        written += static_cast<size_t>(frames) * channels;
        if (capacity - written >= blockSamples) continue;
        if (capacity * 2 * sizeof(short) > kMaxPcmBytes) break;
        capacity *= 2;
        auto* grown = static_cast<short*>(realloc(pcm, capacity * sizeof(short)));
        if (!grown) break;
        pcm = grown;
    }
    free(pcm);
    return nullptr;
}

}  // namespace

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* bytesPerSample, int* rate) {
    WaveFormat format;
    if (!ReadWaveFormat(file, &format)) return nullptr;
    for (;;) {
        char tag[4];
        uint32_t size = 0;
        if (!ReadExactly(file, tag, 4) || !ReadU32(file, &size)) return nullptr;
        if (memcmp(tag, "data", 4) != 0) {
            if (!SkipBytes(file, size)) return nullptr;
            continue;
        }
        if (size > kMaxPcmBytes) return nullptr;
        // A short data chunk means the file has ended: nothing else can follow.
        unsigned char* block = ReadBlock(file, size);
        if (!block) return nullptr;
        *length = static_cast<int>(size / (format.channels * static_cast<uint32_t>(format.bytesPerSample)));
        *channels = format.channels;
        *bytesPerSample = format.bytesPerSample;
        *rate = static_cast<int>(format.rate);
        return block;
    }
}

unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* bytesPerSample, int* rate) {
    if (!OggCommentHeaderFits(file)) return nullptr;
    stb_vorbis_alloc arena{static_cast<char*>(malloc(kVorbisArenaBytes)), kVorbisArenaBytes};
    if (!arena.alloc_buffer) return nullptr;
    int error = 0;
    stb_vorbis* decoder = stb_vorbis_open_file(file, 0, &error, &arena);
    if (!decoder) {
        free(arena.alloc_buffer);
        return nullptr;
    }
    stb_vorbis_info info = stb_vorbis_get_info(decoder);
    short* pcm = nullptr;
    size_t samples = 0;
    if (info.channels > 0 && info.sample_rate > 0 && info.sample_rate <= INT_MAX) {
        pcm = DecodeVorbisFrames(decoder, info.channels, &samples);
    }
    stb_vorbis_close(decoder);
    free(arena.alloc_buffer);
    if (!pcm) return nullptr;
    // realloc to 0 bytes would free the block; an empty stream keeps one byte.
    auto* block = static_cast<unsigned char*>(realloc(pcm, std::max<size_t>(samples * sizeof(short), 1)));
    if (!block) block = reinterpret_cast<unsigned char*>(pcm);
    *length = static_cast<int>(samples / static_cast<size_t>(info.channels));
    *channels = info.channels;
    *bytesPerSample = 2;
    *rate = static_cast<int>(info.sample_rate);
    return block;
}
