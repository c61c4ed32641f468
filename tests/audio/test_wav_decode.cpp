// LoadWAV: the layouts it accepts, the ones it refuses, and files that lie
// about their sizes or end early.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/sound_decode.h"
#include "tests/audio/audio_test_support.h"

namespace {

struct Decoded {
    unsigned char* block = nullptr;
    int length = -7, channels = -7, bytesPerSample = -7, rate = -7;  // -7: not written

    ~Decoded() { free(block); }
    bool OutputsUntouched() const { return length == -7 && channels == -7 && bytesPerSample == -7 && rate == -7; }
};

void DecodeWav(const std::string& bytes, Decoded* out) {
    FilePtr file = FileWithBytes(bytes);
    ASSERT_TRUE(file);
    out->block = LoadWAV(file.get(), &out->length, &out->channels, &out->bytesPerSample, &out->rate);
}

std::string Bytes(size_t count) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<char>(i * 7 + 3));
    return bytes;
}

const std::string kData100 = Bytes(100);
const std::string kData4000 = Bytes(4000);

const std::string kFmt8 = FmtChunk(1, 8000, 8);
const std::string kList = Chunk("LIST", std::string("INFOISFT\x04\0\0\0zt\0\0", 16));

struct AcceptedWav {
    const char* name;
    std::string file;
    int length, channels, bytesPerSample, rate;
    std::string data;  // what the block must start with
};
void PrintTo(const AcceptedWav& c, std::ostream* os) { *os << c.name; }

class AcceptedWavs : public testing::TestWithParam<AcceptedWav> {};

TEST_P(AcceptedWavs, DecodeToTheirLayoutAndBytes) {
    const AcceptedWav& c = GetParam();
    Decoded out;
    DecodeWav(c.file, &out);
    ASSERT_NE(out.block, nullptr);
    EXPECT_EQ(out.length, c.length);
    EXPECT_EQ(out.channels, c.channels);
    EXPECT_EQ(out.bytesPerSample, c.bytesPerSample);
    EXPECT_EQ(out.rate, c.rate);
    EXPECT_EQ(memcmp(out.block, c.data.data(), c.data.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(
    LoadWAV, AcceptedWavs,
    testing::Values(
        AcceptedWav{"Mono8Bit", Wave({kFmt8, Chunk("data", kData100)}), 100, 1, 1, 8000, kData100},
        AcceptedWav{"Stereo16Bit4000BytesIs1000Frames", Wave({FmtChunk(2, 44100, 16), Chunk("data", kData4000)}),
                    1000, 2, 2, 44100, kData4000},
        AcceptedWav{"PartialLastFrameIsNotCounted", Wave({FmtChunk(2, 22050, 16), Chunk("data", Bytes(4003))}),
                    1000, 2, 2, 22050, Bytes(4003)},
        AcceptedWav{"ListBeforeDataIsSkipped", Wave({kFmt8, kList, Chunk("data", kData100)}), 100, 1, 1, 8000,
                    kData100},
        AcceptedWav{"Fmt18ExtraBytesAreSkipped",
                    Wave({FmtChunk(1, 11025, 16, 1, std::string(2, '\0')), Chunk("data", kData100)}), 50, 1, 2, 11025,
                    kData100},
        AcceptedWav{"TwentyFourBitPassesThrough", Wave({FmtChunk(2, 48000, 24), Chunk("data", Bytes(60))}), 10, 2, 3,
                    48000, Bytes(60)},
        AcceptedWav{"EmptyDataChunk", Wave({kFmt8, Chunk("data", "")}), 0, 1, 1, 8000, ""},
        AcceptedWav{"ChunksAfterDataAreIgnored", Wave({kFmt8, Chunk("data", kData100), kList}), 100, 1, 1, 8000,
                    kData100}),
    [](const testing::TestParamInfo<AcceptedWav>& info) { return std::string(info.param.name); });

struct RefusedWav {
    const char* name;
    std::string file;
};
void PrintTo(const RefusedWav& c, std::ostream* os) { *os << c.name; }

class RefusedWavs : public testing::TestWithParam<RefusedWav> {};

TEST_P(RefusedWavs, GiveNullAndLeaveTheOutputs) {
    Decoded out;
    DecodeWav(GetParam().file, &out);
    EXPECT_EQ(out.block, nullptr);
    EXPECT_TRUE(out.OutputsUntouched());
}

INSTANTIATE_TEST_SUITE_P(
    LoadWAV, RefusedWavs,
    testing::Values(
        RefusedWav{"ListBetweenWaveAndFmt", Wave({kList, kFmt8, Chunk("data", kData100)})},
        RefusedWav{"FloatFormatTag3", Wave({FmtChunk(1, 8000, 32, 3), Chunk("data", kData100)})},
        RefusedWav{"NotRiff", "RIFX" + Wave({kFmt8, Chunk("data", kData100)}).substr(4)},
        RefusedWav{"NotWave", Wave({kFmt8, Chunk("data", kData100)}).replace(8, 4, "AVI ")},
        RefusedWav{"NoDataChunk", Wave({kFmt8, kList})},
        RefusedWav{"EmptyFile", ""},
        // Layouts refused instead of dividing by zero, reading past the fmt
        // chunk or passing on a rate OpenAL cannot use.
        RefusedWav{"FourBitsPerSample", Wave({FmtChunk(1, 8000, 4), Chunk("data", kData100)})},
        RefusedWav{"ZeroChannels", Wave({FmtChunk(0, 8000, 16), Chunk("data", kData100)})},
        RefusedWav{"FmtShorterThan16", Wave({Chunk("fmt ", kFmt8.substr(8, 14)), Chunk("data", kData100)})},
        RefusedWav{"ZeroRate", Wave({FmtChunk(1, 0, 8), Chunk("data", kData100)})},
        // Sizes larger than the rest of the file.
        RefusedWav{"DataLongerThanFile", Wave({kFmt8, Chunk("data", kData100, 101)})},
        RefusedWav{"DataClaims4GiB", Wave({kFmt8, Chunk("data", "", 0xFFFFFFF0)})},
        RefusedWav{"ListClaims4GiB", Wave({kFmt8, Chunk("LIST", "", 0xFFFFFFFF), Chunk("data", kData100)})},
        RefusedWav{"FmtClaims4GiB", Wave({std::string(kFmt8).replace(4, 4, "\xff\xff\xff\xff"), Chunk("data", kData100)})}),
    [](const testing::TestParamInfo<RefusedWav>& info) { return std::string(info.param.name); });

TEST(LoadWAV, FileCutAnywhereBeforeItsEndIsRefused) {
    const std::string whole = Wave({FmtChunk(2, 22050, 16, 1, std::string(2, '\0')), kList, Chunk("data", Bytes(40))});
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        Decoded out;
        DecodeWav(whole.substr(0, cut), &out);
        EXPECT_EQ(out.block, nullptr) << "cut at " << cut;
        EXPECT_TRUE(out.OutputsUntouched()) << "cut at " << cut;
    }
    Decoded out;
    DecodeWav(whole, &out);
    EXPECT_NE(out.block, nullptr);
    EXPECT_EQ(out.length, 10);
}

TEST(LoadWAV, SizeFieldsThatLieCostNoMoreMemoryThanTheFileHolds) {
    const std::string lies[] = {
        Wave({kFmt8, Chunk("data", "", 0xFFFFFFF0)}),              // 44 bytes asking for 4 GiB
        Wave({kFmt8, Chunk("data", kData4000, 0x0FFFFFFF)}),        // a real block, then the file ends
        Wave({kFmt8, Chunk("data", "", 0x10000000)}),                // just at the size limit
    };
    for (const std::string& file : lies) {
        MallocProbe probe;
        Decoded out;
        DecodeWav(file, &out);
        EXPECT_EQ(out.block, nullptr);
        if (!MallocProbe::Available()) continue;
        EXPECT_GT(probe.Largest(), 0u) << "the probe sees the decoder's blocks";
        EXPECT_LT(probe.Largest(), size_t{1} << 20) << "a " << file.size() << "-byte file";
    }
}

}  // namespace
