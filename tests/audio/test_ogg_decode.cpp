// LoadOGG on small tones made by tools/make_audio_fixtures.py, and the host's
// LoadAudioData choosing the decoder by the file name's extension.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

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
