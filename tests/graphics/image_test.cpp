// Images: frame layouts, flags, loading through the graphics module, the
// default font, and the runtime errors of a wrong layout.
#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

#include "tests/graphics/graphics_fixtures.h"

namespace {

std::shared_ptr<gxtkSurface> BlankSurface(int w, int h) {
    auto surface = std::make_shared<gxtkSurface>();
    surface->width = w;
    surface->height = h;
    return surface;
}

std::vector<std::pair<int, int>> Cells(const Image& image) {
    std::vector<std::pair<int, int>> cells;
    for (const Frame& frame : image.frames) cells.emplace_back(frame.x, frame.y);
    return cells;
}

using CellList = std::vector<std::pair<int, int>>;

struct GridCase {
    const char* name;
    int surfaceW, surfaceH, frameW, frameH, count, flags;
    CellList cells;
    int width, height;
};

void PrintTo(const GridCase& c, std::ostream* out) { *out << c.name; }

class GridLayout : public ::testing::TestWithParam<GridCase> {};

TEST_P(GridLayout, RunsLeftToRightAndWrapsWholeCells) {
    const GridCase& c = GetParam();
    Image image;
    image.Init2(BlankSurface(c.surfaceW, c.surfaceH), 0, 0, c.frameW, c.frameH, c.count, c.flags, nullptr, 0, 0,
                c.surfaceW, c.surfaceH);
    EXPECT_EQ(Cells(image), c.cells);
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridLayout,
    ::testing::Values(
        GridCase{"TwoRowsOf16", 64, 32, 16, 16, 8, 0,
                 CellList{{0, 0}, {16, 0}, {32, 0}, {48, 0}, {0, 16}, {16, 16}, {32, 16}, {48, 16}}, 16, 16},
        GridCase{"RestOfARowSkipped", 70, 16, 16, 16, 4, 0, CellList{{0, 0}, {16, 0}, {32, 0}, {48, 0}}, 16, 16},
        GridCase{"PaddedBothWays", 32, 16, 16, 16, 2, Image::PadX | Image::PadY, CellList{{1, 1}, {17, 1}}, 14, 14},
        GridCase{"NoFrames", 16, 16, 16, 16, 0, 0, CellList{}, 16, 16}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImageLayout, GridInsideASourceRectangleStartsAtItsOffset) {
    Image image;
    image.Init2(BlankSurface(100, 100), 8, 0, 8, 8, 3, 0, nullptr, 10, 20, 24, 16);
    EXPECT_EQ(Cells(image), (CellList{{18, 20}, {26, 20}, {10, 28}}));
}

TEST(ImageLayout, StripOfNinetySixPaddedCharacters) {
    Image image;
    image.Init(BlankSurface(960, 16), 96, Image::PadX);
    ASSERT_EQ(image.frames.size(), 96u);
    EXPECT_EQ(image.width, 8);
    EXPECT_EQ(image.height, 16);
    for (int i = 0; i < 96; ++i) {
        EXPECT_EQ(image.frames[i].x, 1 + 10 * i);
        EXPECT_EQ(image.frames[i].y, 0);
    }
}

TEST(ImageLayout, StripIgnoresTheRemainderAndAZeroCountGivesNoFrames) {
    Image image;
    image.Init(BlankSurface(50, 8), 3, 0);
    EXPECT_EQ(Cells(image), (CellList{{0, 0}, {16, 0}, {32, 0}}));
    Image none;
    none.Init(BlankSurface(50, 8), 0, 0);
    EXPECT_TRUE(none.frames.empty());
}

struct FlagsCase {
    const char* name;
    int surfaceW, surfaceH, frames, flags;
    int storedFlags;
    float handleX, handleY;
};

void PrintTo(const FlagsCase& c, std::ostream* out) { *out << c.name; }

class Flags : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(Flags, TrimCentreAndMarkTheWholeSurface) {
    const FlagsCase& c = GetParam();
    Image image;
    image.Init(BlankSurface(c.surfaceW, c.surfaceH), c.frames, c.flags);
    EXPECT_EQ(image.flags, c.storedFlags);
    EXPECT_FLOAT_EQ(image.handleX, c.handleX);
    EXPECT_FLOAT_EQ(image.handleY, c.handleY);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Flags,
    ::testing::Values(FlagsCase{"OneWholeFrame", 32, 32, 1, 0, Image::WholeSurface, 0, 0},
                      FlagsCase{"PaddedIsNotWhole", 32, 32, 1, Image::PadX, Image::PadX, 0, 0},
                      FlagsCase{"TwoFramesAreNotWhole", 32, 32, 2, 0, 0, 0, 0},
                      FlagsCase{"CentreBitNotStored", 20, 10, 1, Image::CentreHandle, Image::WholeSurface, 10, 5},
                      FlagsCase{"CentreOfTheTrimmedFrame", 20, 10, 1, Image::CentreHandle | Image::PadX | Image::PadY,
                                Image::PadX | Image::PadY, 9, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImageFlags, ApplyingAgainRecomputesWholeSurfaceAndTrimsAgain) {
    Image image;
    image.Init(BlankSurface(20, 10), 1, Image::PadX);
    EXPECT_EQ(image.width, 18);
    image.ApplyFlags(Image::PadX);
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.frames[0].x, 2);
    EXPECT_EQ(image.flags, Image::PadX);

    Image whole;
    whole.Init(BlankSurface(20, 10), 1, 0);
    whole.ApplyFlags(Image::CentreHandle);
    EXPECT_EQ(whole.flags, Image::WholeSurface);
    EXPECT_FLOAT_EQ(whole.handleX, 10);
}

// Runtime errors print to standard output and end the program with -1.
void ExpectRuntimeError(void (*statement)(), const char* message) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            statement();
        },
        ::testing::ExitedWithCode(255), std::string("Tarvik Runtime Error : ") + message);
}

TEST(ImageErrors, AFrameOutsideTheSurfaceStopsTheProgram) {
    ExpectRuntimeError([] { Image().Init2(BlankSurface(64, 32), 0, 0, 16, 16, 9, 0, nullptr, 0, 0, 64, 32); },
                       "Image frame outside surface");
    ExpectRuntimeError([] { Image().Init2(BlankSurface(70, 16), 0, 0, 16, 16, 5, 0, nullptr, 0, 0, 70, 16); },
                       "Image frame outside surface");
    ExpectRuntimeError([] { Image().Init2(BlankSurface(8, 64), 0, 0, 16, 16, 1, 0, nullptr, 0, 0, 8, 64); },
                       "Image frame outside surface");
}

TEST(ImageErrors, InitialisingTwiceStopsTheProgram) {
    ExpectRuntimeError(
        [] {
            Image image;
            image.Init(BlankSurface(8, 8), 1, 0);
            image.Init(BlankSurface(8, 8), 1, 0);
        },
        "Image already initialized");
    ExpectRuntimeError(
        [] {
            Image image;
            image.Init(BlankSurface(8, 8), 1, 0);
            image.Init2(BlankSurface(8, 8), 0, 0, 8, 8, 1, 0, nullptr, 0, 0, 8, 8);
        },
        "Image already initialized");
}

class ImageLoading : public ::testing::Test {
protected:
    RecordedGraphics g;
};

TEST_F(ImageLoading, LoadImageCutsAStripFromADataFile) {
    g.pictures.WritePng("strip.png", 32, 8, 4, std::vector<uint8_t>(32 * 8 * 4, 255));
    auto image = graphics::LoadImage(u"strip.png", 4, Image::CentreHandle);
    ASSERT_TRUE(image);
    EXPECT_EQ(Cells(*image), (CellList{{0, 0}, {8, 0}, {16, 0}, {24, 0}}));
    EXPECT_FLOAT_EQ(image->handleX, 4);
    EXPECT_EQ(image->surface->textureSeq, 1) << "its texture is made at once";

    auto whole = graphics::LoadImage(u"strip.png", 1, 0);
    EXPECT_TRUE(whole->flags & Image::WholeSurface);
}

TEST_F(ImageLoading, LoadImage2CutsAGridOverTheWholeFile) {
    g.pictures.WritePng("grid.png", 64, 32, 4, std::vector<uint8_t>(64 * 32 * 4, 255));
    auto image = graphics::LoadImage2(u"grid.png", 16, 16, 8, 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->frames.size(), 8u);
    EXPECT_EQ(image->frames[7].y, 16);
    EXPECT_EQ(image->source, nullptr);
}

TEST_F(ImageLoading, AMissingFileGivesNullAndNoError) {
    EXPECT_FALSE(graphics::LoadImage(u"missing.png", 1, 0));
    EXPECT_FALSE(graphics::LoadImage2(u"missing.png", 16, 16, 1, 0));
}

TEST_F(ImageLoading, CreateImageMakesOneBlankSurfaceForAllFrames) {
    auto image = graphics::CreateImage(16, 8, 4, Image::CentreHandle);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->surface->Width(), 64);
    EXPECT_EQ(image->surface->Height(), 8);
    EXPECT_EQ(Cells(*image), (CellList{{0, 0}, {16, 0}, {32, 0}, {48, 0}}));
    EXPECT_FLOAT_EQ(image->handleY, 4);
    EXPECT_FALSE(graphics::CreateImage(16, 8, 0, 0));
    EXPECT_FALSE(graphics::CreateImage(0, 8, 1, 0));
}

TEST_F(ImageLoading, WithoutTheDefaultFontFileTheContextHasNoFont) {
    graphics::SetFont(nullptr, 40);
    EXPECT_EQ(graphics::context->font, nullptr);
    EXPECT_EQ(graphics::context->firstChar, 32);
}

TEST_F(ImageLoading, TheDefaultFontIsNinetySixPaddedCharactersFromSpace) {
    g.pictures.WritePng("vondo_font.png", 960, 16, 4, std::vector<uint8_t>(960 * 16 * 4, 255));
    graphics::SetFont(nullptr, 40);
    std::shared_ptr<Image> font = graphics::context->font;
    ASSERT_TRUE(font);
    EXPECT_EQ(graphics::context->firstChar, 32);
    EXPECT_EQ(font->frames.size(), 96u);
    EXPECT_EQ(font->width, 8);
    EXPECT_EQ(graphics::context->defaultFont, font);

    auto other = std::make_shared<Image>();
    graphics::SetFont(other, 65);
    EXPECT_EQ(graphics::context->font, other);
    EXPECT_EQ(graphics::context->firstChar, 65);
    graphics::SetFont(nullptr, 0);
    EXPECT_EQ(graphics::context->font, font) << "the default font is loaded once";
}

}  // namespace
