// LoadOGG on small tones made by tools/make_audio_fixtures.py, and the host's
// LoadAudioData choosing the decoder by the file name's extension.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "audio/sound_decode.h"
#include "host/qvgame.h"
#include "tests/audio/audio_test_support.h"

namespace {

struct Pcm {
    unsigned char* block = nullptr;
    int length = -7, channels = -7, bytesPerSample = -7, rate = -7;  // -7: not written

    ~Pcm() { free(block); }
    // The largest magnitude of the 16-bit samples of one channel.
    int Peak(int channel) const {
        int peak = 0;
        auto* samples = reinterpret_cast<const int16_t*>(block);
        for (int i = 0; i < length; ++i) peak = std::max(peak, std::abs(int{samples[i * channels + channel]}));
        return peak;
    }
};

// Stands for the comment length that fills the header's room exactly.
constexpr uint32_t kWholeRoom = 0xFEEDF00D;

void DecodeOgg(const std::string& bytes, Pcm* out) {
    FilePtr file = FileWithBytes(bytes);
    ASSERT_TRUE(file);
    out->block = LoadOGG(file.get(), &out->length, &out->channels, &out->bytesPerSample, &out->rate);
}

struct OggFixture {
    const char* file;
    int channels, rate, length;
};

void PrintTo(const OggFixture& f, std::ostream* os) { *os << f.file; }

class OggFixtures : public testing::TestWithParam<OggFixture> {};

TEST_P(OggFixtures, DecodeToTheirLayoutAndLength) {
    const OggFixture& f = GetParam();
    Pcm out;
    DecodeOgg(ReadFileBytes(FixturePath(f.file)), &out);
    ASSERT_NE(out.block, nullptr);
    EXPECT_EQ(out.channels, f.channels);
    EXPECT_EQ(out.rate, f.rate);
    EXPECT_EQ(out.length, f.length);
    EXPECT_EQ(out.bytesPerSample, 2);
    // The tones are sines of amplitude 0.5: lossy, but nowhere near silence or clipping.
    for (int c = 0; c < out.channels; ++c) {
        EXPECT_GT(out.Peak(c), 12000) << "channel " << c;
        EXPECT_LT(out.Peak(c), 22000) << "channel " << c;
    }
}

INSTANTIATE_TEST_SUITE_P(LoadOGG, OggFixtures,
                         testing::Values(OggFixture{"tone-stereo-44100.ogg", 2, 44100, 44100},
                                         OggFixture{"tone-mono-22050.ogg", 1, 22050, 5512}));

TEST(LoadOGG, DamagedStreamsGiveNull) {
    const std::string good = ReadFileBytes(FixturePath("tone-mono-22050.ogg"));
    ASSERT_GT(good.size(), 200u);
    std::string noVorbisHeader = good;
    std::fill(noVorbisHeader.begin() + 28, noVorbisHeader.begin() + 58, '\0');  // the identification packet
    std::string notOgg = good;
    notOgg.replace(0, 4, "RIFF");
    const std::string damaged[] = {"", good.substr(0, 27), good.substr(0, 100), noVorbisHeader, notOgg,
                                   SineWave(0.01, 1, 8000)};
    for (const std::string& bytes : damaged) {
        Pcm out;
        DecodeOgg(bytes, &out);
        EXPECT_EQ(out.block, nullptr) << bytes.size() << " bytes";
        EXPECT_EQ(out.length, -7);
    }
}

// The fixture with its comment header rewritten in place: the given 32-bit
// fields (vendor length, comment count, comment lengths ...) from the vendor
// length on, zero bytes after them up to the framing bit. The page's checksum
// goes stale, which neither the pre-check nor stb_vorbis reads.
std::string WithCommentFields(const std::string& ogg, const std::vector<uint32_t>& fields) {
    const size_t header = ogg.find(std::string("\x03vorbis", 7));
    if (header == std::string::npos || ogg.size() < header + 11) return "";
    uint32_t vendorLength = 0;
    memcpy(&vendorLength, ogg.data() + header + 7, 4);
    const size_t room = 4 + vendorLength + 4;  // vendor length, vendor, comment count
    std::string body;
    for (uint32_t field : fields) body.append(reinterpret_cast<const char*>(&field), 4);
    body.resize(room, '\0');
    return std::string(ogg).replace(header + 7, room, body);
}

struct CommentHeader {
    const char* name;
    std::vector<uint32_t> fields;
    bool decodes;
};
void PrintTo(const CommentHeader& c, std::ostream* os) { *os << c.name; }

class CommentHeaders : public testing::TestWithParam<CommentHeader> {};

// stb_vorbis sizes its blocks from these lengths with int arithmetic that
// wraps: a length of 2^31 - 1 asks malloc for 2^64 - 2^31 bytes, and a count
// of 2^29 + 1 gets an 8-byte block that the comments are written past (the
// fuzzers' seed comment-count-wraps.ogg shows that one under AddressSanitizer).
// Lengths that do not fit the packet are refused before stb_vorbis reads them.
TEST_P(CommentHeaders, LengthsMustFitThePacket) {
    const std::string good = ReadFileBytes(FixturePath("tone-mono-22050.ogg"));
    uint32_t vendorLength = 0;
    memcpy(&vendorLength, good.data() + good.find(std::string("\x03vorbis", 7)) + 7, 4);
    std::vector<uint32_t> fields = GetParam().fields;
    for (uint32_t& field : fields) field = field == kWholeRoom ? vendorLength - 4 : field;
    const std::string ogg = WithCommentFields(good, fields);
    MallocProbe probe;
    Pcm out;
    DecodeOgg(ogg, &out);
    EXPECT_EQ(out.block != nullptr, GetParam().decodes);
    EXPECT_LT(probe.Largest(), size_t{64} << 20) << "no wrapped size reached malloc";
}

INSTANTIATE_TEST_SUITE_P(
    LoadOGG, CommentHeaders,
    testing::Values(CommentHeader{"OneCommentFillingTheRoom", {0, 1, kWholeRoom}, true},
                    CommentHeader{"CountThatWrapsTheBlockSize", {0, 0x20000001}, false},
                    CommentHeader{"CountBeyondThePacket", {0, 14}, false},
                    CommentHeader{"VendorLengthOfMinusOne", {0xFFFFFFFF}, false},
                    CommentHeader{"VendorBeyondThePacket", {0x7FFFFFFF}, false},
                    CommentHeader{"CommentBeyondThePacket", {0, 1, 0x7FFFFFFF}, false}),
    [](const testing::TestParamInfo<CommentHeader>& info) { return std::string(info.param.name); });

// The fixture with its first codebook declaring the most entries the 24-bit
// field holds (16,777,215). stb_vorbis would take a 16 MB table for their
// code lengths and read them one by one from a packet that holds a few
// hundred bytes; its memory for a stream is one bounded block, so the stream
// is refused at once. Under LeakSanitizer this also shows that nothing of a
// refused setup header stays behind.
TEST(LoadOGG, CodebookLargerThanTheDecoderMemoryIsRefused) {
    std::string ogg = ReadFileBytes(FixturePath("tone-mono-22050.ogg"));
    const size_t setup = ogg.find(std::string("\x05vorbis", 7));
    ASSERT_NE(setup, std::string::npos);
    ASSERT_EQ(ogg.substr(setup + 8, 3), "BCV") << "the first codebook's sync pattern";
    ogg.replace(setup + 13, 3, "\xFF\xFF\xFF");  // the entry count, after 16 bits of dimensions
    MallocProbe probe;
    Pcm out;
    DecodeOgg(ogg, &out);
    EXPECT_EQ(out.block, nullptr);
    EXPECT_LT(probe.Largest(), size_t{8} << 20);
}

// --- LoadAudioData ------------------------------------------------------------

struct NamedFile {
    const char* name;
    const char* content;  // "wav", "ogg" or "none" (not written)
    bool decodes;
    int rate;
};

void PrintTo(const NamedFile& f, std::ostream* os) { *os << f.name << " holding " << f.content; }

class AudioDataByExtension : public testing::TestWithParam<NamedFile> {};

TEST_P(AudioDataByExtension, PicksTheDecoderByCaseInsensitiveExtension) {
    const NamedFile& f = GetParam();
    ScratchDir dir;
    std::string content = std::string(f.content) == "wav"   ? SineWave(0.05, 1, 11025)
                          : std::string(f.content) == "ogg" ? ReadFileBytes(FixturePath("tone-mono-22050.ogg"))
                                                            : "";
    std::string path = std::string(f.content) == "none" ? dir.Path(f.name) : dir.Write(f.name, content);
    QvGame host;
    int length = -7, channels = -7, bytesPerSample = -7, rate = -7;
    unsigned char* pcm = host.LoadAudioData(FromUtf8(path), &length, &channels, &bytesPerSample, &rate);
    EXPECT_EQ(pcm != nullptr, f.decodes);
    if (f.decodes) {
        EXPECT_EQ(rate, f.rate);
    }
    free(pcm);
}

INSTANTIATE_TEST_SUITE_P(LoadAudioData, AudioDataByExtension,
                         testing::Values(NamedFile{"boom.wav", "wav", true, 11025},
                                         NamedFile{"BOOM.WAV", "wav", true, 11025},
                                         NamedFile{"tune.ogg", "ogg", true, 22050},
                                         NamedFile{"tune.OgG", "ogg", true, 22050},
                                         NamedFile{"boom.ogg", "wav", false, 0},   // content decides nothing
                                         NamedFile{"boom.mp3", "wav", false, 0},
                                         NamedFile{"wav", "wav", false, 0},
                                         NamedFile{"missing.wav", "none", false, 0}),
                         [](const testing::TestParamInfo<NamedFile>& info) {
                             std::string name;
                             for (char c : std::string(info.param.name)) name += isalnum(c) ? c : '_';
                             return name + "_" + info.param.content;
                         });

}  // namespace
