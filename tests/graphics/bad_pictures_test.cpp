// Pictures that cannot be used load as null: no crash, no error, and no
// allocation sized by what a damaged file claims.
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>
#include <sys/resource.h>

#include <vector>

#include "host/image_decode.h"
#include "tests/graphics/graphics_fixtures.h"

namespace {

long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A PNG of a size it claims, with a few bytes of image data.
std::vector<uint8_t> PngClaiming(uint32_t width, uint32_t height) {
    return Concat({kPngSignature, PngHeaderChunk(width, height), PngChunk("IDAT", {0x78, 0x9c, 0x03, 0x00}),
                   PngChunk("IEND", {})});
}

// A 1 x 1 PNG whose data chunk claims two gigabytes.
std::vector<uint8_t> PngWithHugeDataChunk() {
    std::vector<uint8_t> png = Concat({kPngSignature, PngHeaderChunk(1, 1), PngChunk("IDAT", {1, 2, 3, 4})});
    const size_t lengthAt = kPngSignature.size() + 25;  // after the 25-byte header chunk
    png[lengthAt] = 0x7f;
    png[lengthAt + 1] = png[lengthAt + 2] = png[lengthAt + 3] = 0xf0;
    return png;
}

// A 1 x 1 PNG that ends inside the header of a data chunk claiming 800 MB.
std::vector<uint8_t> PngCutInAChunkHeader() {
    return Concat({kPngSignature, PngHeaderChunk(1, 1), {0x32, 0x08, 0xc1, 0xf7, 'I', 'D', 'A', 'T'}});
}

// A 2 x 2 PNG whose first data chunk is empty.
std::vector<uint8_t> PngWithEmptyDataChunk() {
    return Concat({kPngSignature, PngHeaderChunk(2, 2), PngChunk("IDAT", {}),
                   PngChunk("IDAT", {0x78, 0x9c, 0x03, 0x00}), PngChunk("IEND", {})});
}

class BadPictures : public ::testing::Test {
protected:
    void SetUp() override {
        g.pictures.WritePng("good.png", 16, 16, 4, std::vector<uint8_t>(16 * 16 * 4, 128));
        std::vector<uint8_t> good = g.pictures.ReadBytes("good.png");
        g.pictures.WriteBytes("truncated.png", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2));
        g.pictures.WriteBytes("header-only.png", std::vector<uint8_t>(good.begin(), good.begin() + 33));
        g.pictures.WriteBytes("text.png", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
        g.pictures.WriteBytes("empty.png", {});
        g.pictures.WriteBytes("huge.png", PngClaiming(30000, 30000));
        g.pictures.WriteBytes("tall.png", PngClaiming(1, 20000));
        g.pictures.WriteBytes("huge-chunk.png", PngWithHugeDataChunk());
        g.pictures.WriteBytes("cut-chunk.png", PngCutInAChunkHeader());
        g.pictures.WriteBytes("empty-data.png", PngWithEmptyDataChunk());
        // A sound JPEG: only PNGs are decoded, other decoders being unsafe.
        const uint8_t grey[4] = {10, 20, 30, 40};
        stbi_write_jpg((g.pictures.path + "/photo.jpg").c_str(), 2, 2, 1, grey, 90);
    }

    RecordedGraphics g;
};

TEST_F(BadPictures, LoadAsNullWithoutAskingForTheClaimedMemory) {
    ASSERT_TRUE(graphics::LoadImage(u"good.png", 1, 0)) << "the folder works";
    const long before = PeakResidentKb();
    for (const char16_t* name : {u"missing.png", u"truncated.png", u"header-only.png", u"text.png", u"empty.png",
                                 u"huge.png", u"tall.png", u"huge-chunk.png", u"cut-chunk.png", u"empty-data.png", u"photo.jpg"}) {
        EXPECT_FALSE(graphics::LoadImage(name, 1, 0)) << ToUtf8(name);
        EXPECT_FALSE(graphics::LoadImage2(name, 8, 8, 1, 0)) << ToUtf8(name);
    }
    EXPECT_LT(PeakResidentKb() - before, 64 * 1024) << "kilobytes";
    EXPECT_EQ(g.recorder.Count(GlFn::GenTextures), 1) << "only the good picture made a texture";
}

TEST_F(BadPictures, TheSurfaceIsLeftAsItWasWhenDecodingFails) {
    auto surface = g.device->LoadSurface(u"tarvik://data/good.png");
    ASSERT_TRUE(surface);
    unsigned char* pixels = surface->pixels;
    EXPECT_FALSE(g.device->LoadSurface__UNSAFE__(surface.get(), u"tarvik://data/truncated.png"));
    EXPECT_EQ(surface->pixels, pixels);
    EXPECT_EQ(surface->width, 16);
}

unsigned char* DecodeBytesFrom(std::vector<uint8_t> bytes, long offset, int* w, int* h, int* depth) {
    FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
    fseek(file, offset, SEEK_SET);
    unsigned char* pixels = DecodeImageFile(file, w, h, depth);
    fclose(file);
    return pixels;
}

TEST_F(BadPictures, DecodingStartsWhereTheFileStands) {
    int w = 0, h = 0, depth = 0;
    unsigned char* pixels = DecodeBytesFrom(Concat({{'x', 'y', 'z'}, g.pictures.ReadBytes("good.png")}), 3, &w, &h, &depth);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 16);
    EXPECT_EQ(depth, 4);
    free(pixels);
    EXPECT_EQ(DecodeBytesFrom(Concat({{'x', 'y', 'z'}, PngWithHugeDataChunk()}), 3, &w, &h, &depth), nullptr);
}

}  // namespace
