// Image banks and the loading screen: the stages, the resolution the window
// size picks, reloading after a resize, the logo sound, and the data files
// themselves as the game's own loaders read them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "graphics/image.h"
#include "host/qvstring.h"
#include "shell/globals.h"
#include "tests/shell/audio_log.h"
#include "tests/shell/shell_test.h"
#include "tests/support/fake_host.h"

namespace {

// The picture banks as the game lays them out: cell in virtual pixels, frames,
// and the loader stage that fills the bank.
struct Bank {
    int bank;
    const char* name;
    int cellW, cellH, frames, stage;
};

constexpr Bank kBanks[] = {
    {1, "gfx", 36, 36, 49, 9},
    {80, "BadgesA", 64, 64, 64, 7},
    {85, "common/circle", 256, 256, 4, 8},
    {86, "common/light", 32, 32, 4, 8},
    {90, "fonts/shadow_editundo", 16, 16, 128, 5},
    {93, "common/ObloLogo", 256, 256, 1, 4},
    {94, "common/dpad", 32, 32, 16, 3},
    {95, "common/Buttons", 64, 64, 16, 2},
    {96, "parts", 8, 8, 256, 7},
    {97, "common/icons", 32, 32, 16, 1},
    {98, "logo", 256, 128, 1, 6},
    {99, "menu", 256, 256, 4, 6},
};
constexpr int kFontBank = 90, kLogoBank = 93, kBlankBank = 81;

// The sound effects and the stage that loads each first.
struct Effect {
    int id, stage;
};
constexpr Effect kEffects[] = {{96, 1}, {1, 2}, {98, 3}, {99, 5}, {95, 6}, {2, 11},
                               {3, 12}, {4, 13}, {5, 14}, {6, 15}, {7, 16}};

constexpr int kFullLoadTicks = 17;

class LoaderTest : public ::testing::Test {
protected:
    // Creates the game in a window of this size; its audio device is then the log.
    void Start(int width, int height) {
        host.SetWindowSize(width, height);
        game = host.CreateApp<MyApp>();
        audio = std::make_unique<AudioLog>();
    }
    int TicksToFinish() {
        int ticks = 0;
        while (game->loadStage > 0 && ticks < 100) host.Tick(), ++ticks;
        return ticks;
    }
    // Frame width of a bank as loaded (its surface is cut into these).
    int FrameWidth(int bank) const { return game->images[bank] ? game->images[bank]->width : 0; }
    int LogoSoundsPlayed() const {
        int played = 0;
        constexpr std::u16string_view kLogoSound = u"sfx/096.wav";
        for (const AudioCall& call : audio->Of("play")) {
            if (call.path.ends_with(kLogoSound)) played += 1;
        }
        return played;
    }

    FakeHost host;
    MyApp* game = nullptr;
    std::unique_ptr<AudioLog> audio;
};

TEST_F(LoaderTest, SeventeenTicksFromReloadToIdleOneStageATick) {
    Start(640, 480);
    ASSERT_EQ(game->loadStage, 1);
    // Reload itself loads what the loading screen draws.
    EXPECT_TRUE(game->images[kFontBank]);
    EXPECT_TRUE(game->images[kLogoBank]);
    EXPECT_EQ(game->currentFont, kFontBank);
    for (int tick = 1; tick <= kFullLoadTicks; ++tick) {
        game->mode = 11;  // a screen that would start a game must not run meanwhile
        host.Tick();
        SCOPED_TRACE(testing::Message() << "tick " << tick);
        EXPECT_EQ(game->loadStage, tick < kFullLoadTicks ? tick + 1 : 0);
        EXPECT_EQ(game->mode, 11);
        EXPECT_GT(game->drawLength, 0) << "the loading screen";
        for (const Bank& b : kBanks) {
            if (b.bank == kFontBank || b.bank == kLogoBank) continue;
            EXPECT_EQ(game->images[b.bank] != nullptr, b.stage <= tick) << b.name;
        }
        EXPECT_TRUE(game->images[kBlankBank]);
        for (const Effect& e : kEffects) EXPECT_EQ(game->sounds[e.id] != nullptr, e.stage <= tick) << e.id;
    }
}

// Window sides either side of the thresholds, and the resolution they load.
struct SizeCase {
    int width, height, hdFactor;
};

class ResolutionTest : public LoaderTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ResolutionTest, TheWindowPicksThePictureResolution) {
    const SizeCase c = GetParam();
    Start(c.width, c.height);
    EXPECT_EQ(game->hdFactor, c.hdFactor);
    EXPECT_FLOAT_EQ(game->hdScale, 1.0f / static_cast<float>(c.hdFactor));
    // Reload's banks, and the loader's first stage, in that resolution.
    EXPECT_EQ(FrameWidth(kLogoBank), 256 * c.hdFactor);
    EXPECT_EQ(game->imageSizes[3 * kLogoBank], 256 * c.hdFactor);
    EXPECT_EQ(FrameWidth(kFontBank), 16 * c.hdFactor);
    EXPECT_EQ(game->imageSizes[3 * kFontBank], 7) << "the font's advance stays in virtual pixels";
    host.Tick();
    EXPECT_EQ(FrameWidth(97), 32 * c.hdFactor);
    EXPECT_EQ(game->imageSizes[3 * 97 + 1], 32 * c.hdFactor);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, ResolutionTest,
                         ::testing::Values(SizeCase{630, 480, 1}, SizeCase{631, 480, 2}, SizeCase{480, 631, 2},
                                           SizeCase{640, 480, 2}, SizeCase{1230, 720, 2},
                                           SizeCase{1231, 720, 4}, SizeCase{720, 1231, 4},
                                           SizeCase{1920, 1080, 4}));

TEST_F(LoaderTest, AResizeLoadsEverythingAgainInTheNewResolution) {
    Start(640, 480);
    TicksToFinish();
    ASSERT_EQ(FrameWidth(1), 72);
    host.SetWindowSize(1280, 1024);
    host.Frame();
    ASSERT_EQ(game->loadStage, 1);
    EXPECT_EQ(FrameWidth(1), 72) << "a bank keeps its picture until its stage replaces it";
    EXPECT_EQ(TicksToFinish(), kFullLoadTicks);
    EXPECT_FLOAT_EQ(game->hdScale, 0.25f);
    for (const Bank& b : kBanks) EXPECT_EQ(FrameWidth(b.bank), 4 * b.cellW) << b.name;
}

TEST_F(LoaderTest, AResizeDuringLoadingStartsItOver) {
    Start(640, 480);
    for (int i = 0; i < 5; ++i) host.Tick();
    ASSERT_EQ(game->loadStage, 6);
    host.SetWindowSize(500, 400);
    host.Frame();
    EXPECT_EQ(game->loadStage, 1);
    EXPECT_EQ(TicksToFinish(), kFullLoadTicks);
    EXPECT_EQ(FrameWidth(1), 36);
}

TEST_F(LoaderTest, TheLogoSoundPlaysOncePerRun) {
    Start(640, 480);
    for (int i = 0; i < 3; ++i) host.Tick();
    EXPECT_EQ(LogoSoundsPlayed(), 0);
    host.Tick();  // stage 4, the logo
    ASSERT_EQ(LogoSoundsPlayed(), 1);
    EXPECT_EQ(audio->Of("play")[0].channel, 1) << "the first effect of the run";
    EXPECT_EQ(game->logoSoundPlayed, 1);
    TicksToFinish();
    host.SetWindowSize(1280, 720);
    host.Frame();
    EXPECT_EQ(TicksToFinish(), kFullLoadTicks);
    EXPECT_EQ(LogoSoundsPlayed(), 1) << "not again after a reload";
}

// Every picture the banks name, in every resolution, goes through the game's
// own picture loading and is exactly the grid of cells its frames need.
class DataFilesTest : public LoaderTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(DataFilesTest, EveryBankLoadsAndIsExactlyItsCellLayout) {
    const SizeCase c = GetParam();
    Start(c.width, c.height);
    TicksToFinish();
    ASSERT_EQ(game->hdFactor, c.hdFactor);
    for (const Bank& b : kBanks) {
        SCOPED_TRACE(b.name);
        const std::shared_ptr<Image>& image = game->images[b.bank];
        ASSERT_TRUE(image);
        int cellW = b.cellW * c.hdFactor, cellH = b.cellH * c.hdFactor;
        EXPECT_EQ(image->width, cellW);
        EXPECT_EQ(image->height, cellH);
        EXPECT_EQ(static_cast<int>(image->frames.size()), b.frames);
        EXPECT_FLOAT_EQ(image->handleX, cellW / 2.0f) << "centred handles";
        int sheetW = image->surface->Width(), sheetH = image->surface->Height();
        ASSERT_EQ(sheetW % cellW, 0) << sheetW;
        ASSERT_EQ(sheetH % cellH, 0) << sheetH;
        int columns = sheetW / cellW, rows = sheetH / cellH;
        EXPECT_GE(columns * rows, b.frames) << "room for every frame";
        EXPECT_LT((rows - 1) * columns, b.frames) << "no spare row";
        if (b.bank != kFontBank) {
            EXPECT_EQ(game->imageSizes[3 * b.bank], cellW);
            EXPECT_EQ(game->imageSizes[3 * b.bank + 1], cellH);
            EXPECT_EQ(game->imageSizes[3 * b.bank + 2], b.frames);
        }
    }
    EXPECT_EQ(game->imageSizes[3 * kFontBank], 7);
    EXPECT_EQ(game->imageSizes[3 * kFontBank + 1], 10);
    EXPECT_EQ(game->imageSizes[3 * kFontBank + 2], 128);
    for (const Effect& e : kEffects) EXPECT_TRUE(game->sounds[e.id]) << e.id;
}

INSTANTIATE_TEST_SUITE_P(AllResolutions, DataFilesTest,
                         ::testing::Values(SizeCase{600, 400, 1}, SizeCase{640, 480, 2}, SizeCase{1280, 1024, 4}));

TEST_F(LoaderTest, EffectsAreSixteenBitWaveAndTunesAreLongEnough) {
    Start(640, 480);
    struct SoundFile {
        const char* file;
        int channels;
        double minSeconds;
        int bytesPerSample;
    } sounds[] = {
        {"001.wav", 1, 0.05, 2}, {"002.wav", 1, 0.05, 2}, {"003.wav", 1, 0.05, 2}, {"004.wav", 1, 0.05, 2},
        {"005.wav", 1, 0.05, 2}, {"006.wav", 1, 0.05, 2}, {"007.wav", 1, 0.05, 2}, {"095.wav", 1, 0.05, 2},
        {"096.wav", 1, 0.05, 2}, {"098.wav", 1, 0.05, 2}, {"099.wav", 1, 0.05, 2},
        {"fish.ogg", 2, 2.0, 2},  {"clustered.ogg", 2, 60.0, 2},
    };
    for (const SoundFile& s : sounds) {
        int length = 0, channels = 0, bytesPerSample = 0, rate = 0;
        unsigned char* pcm = host.LoadAudioData(FromUtf8(std::string("tarvik://data/sfx/") + s.file), &length,
                                                &channels, &bytesPerSample, &rate);
        ASSERT_NE(pcm, nullptr) << s.file;
        free(pcm);
        EXPECT_EQ(channels, s.channels) << s.file;
        EXPECT_EQ(bytesPerSample, s.bytesPerSample) << s.file;
        EXPECT_EQ(rate, 44100) << s.file;
        EXPECT_GE(length, static_cast<int>(s.minSeconds * rate)) << s.file;
    }
}

TEST_F(LoaderTest, MissingFilesLeaveTheirBanksEmptyAndLoadingGoesOn) {
    char folder[] = "/tmp/zt-nodata-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    host.dataFolder = folder;
    Start(640, 480);
    EXPECT_EQ(TicksToFinish(), kFullLoadTicks);
    for (const Bank& b : kBanks) EXPECT_FALSE(game->images[b.bank]) << b.name;
    EXPECT_EQ(game->imageSizes[3 * 97], 64) << "the sizes are recorded all the same";
    EXPECT_TRUE(game->images[kBlankBank]) << "made, not read";
    for (const Effect& e : kEffects) EXPECT_FALSE(game->sounds[e.id]) << e.id;
    EXPECT_TRUE(audio->Of("play").empty());
    EXPECT_GT(game->drawLength, 0);
    host.Frame();  // empty banks draw nothing
    rmdir(folder);
}

TEST_F(LoaderTest, ReserveImgMakesABlankCentredFrameOrNothing) {
    Start(640, 480);
    game->ReserveImg(kBlankBank, 2048, 2048);
    ASSERT_TRUE(game->images[kBlankBank]);
    EXPECT_EQ(game->images[kBlankBank]->width, 2048);
    EXPECT_EQ(game->images[kBlankBank]->frames.size(), 1u);
    EXPECT_FLOAT_EQ(game->images[kBlankBank]->handleY, 1024);
    EXPECT_EQ(game->lastReserved, kBlankBank);

    game->ReserveImg(5, 1 << 20, 16);  // no texture can be that wide
    EXPECT_FALSE(game->images[5]);
    EXPECT_EQ(game->imageSizes[3 * 5], 1 << 20);
    EXPECT_EQ(game->imageSizes[3 * 5 + 2], 1);
    EXPECT_EQ(game->lastReserved, 5);
}

TEST_F(LoaderTest, BanksOutsideTheTableAreIgnored) {
    Start(640, 480);
    for (int bank : {-1, 100}) {
        game->LoadImg(bank, u"gfx", 36, 36, 49, 1);
        game->LoadFont(bank, u"fonts/shadow_editundo", 7, 10);
        game->ReserveImg(bank, 16, 16);
    }
    EXPECT_EQ(game->currentFont, kFontBank);
    EXPECT_EQ(game->lastReserved, 0);
}

// The loading screen: three comet tails of 11 dots around the logo, and the text.
class LoadingScreenTest : public ShellTest {
protected:
    const float* OvalNumber(int n) const {
        for (int k = 0, seen = 0; k < Commands(); ++k) {
            if (Command(k)[0] == MyApp::kCodeOval && seen++ == n) return Command(k);
        }
        return nullptr;
    }
};

TEST_F(LoadingScreenTest, DrawsTheSpinnerTheLogoAndTheText) {
    struct Case {
        float screenW, screenH;
    } cases[] = {{640, 480}, {540, 720}};
    struct Ring {
        float red, offset, factor, radius;
    } rings[] = {{0, 0, 0.45f, 16}, {255, 120, 0.4f, 12}, {255, 240, 0.35f, 8}};
    for (const Case& c : cases) {
        jscrw = c.screenW;
        jscrh = c.screenH;
        int spinBefore = game->spinAngle;
        game->WaitStart(1);
        SCOPED_TRACE(testing::Message() << c.screenW << " x " << c.screenH);
        EXPECT_EQ(game->spinAngle, spinBefore + 3);
        EXPECT_FLOAT_EQ(game->backAlpha, 1);
        float side = std::fmin(c.screenW, c.screenH);
        for (int r = 0; r < 3; ++r) {
            for (int i : {0, 10}) {  // the faint tail end and the solid head
                const float* dot = OvalNumber(11 * r + i);
                ASSERT_NE(dot, nullptr);
                float angle = static_cast<float>(game->spinAngle + 4 * i) + rings[r].offset;
                EXPECT_NEAR(dot[1], c.screenW / 2 + side * rings[r].factor * std::sin(angle * M_PI / 180), 1e-3);
                EXPECT_NEAR(dot[2], c.screenH / 2 - side * rings[r].factor * std::cos(angle * M_PI / 180), 1e-3);
                EXPECT_FLOAT_EQ(dot[4], rings[r].radius);
                EXPECT_FLOAT_EQ(dot[7], i / 10.0f) << "alpha";
                EXPECT_FLOAT_EQ(dot[10], rings[r].red);
                EXPECT_FLOAT_EQ(dot[11], 125);
            }
        }
        EXPECT_EQ(OvalNumber(33), nullptr) << "33 dots in all";
        int logos = 0, glyphs = 0;
        for (int k = 0; k < Commands(); ++k) {
            const float* command = Command(k);
            if (command[0] == kLogoBank) {
                logos += 1;
                EXPECT_FLOAT_EQ(command[1], c.screenW * 0.5f);
                EXPECT_FLOAT_EQ(command[2], c.screenH * 0.48f);
                EXPECT_FLOAT_EQ(command[4], 2) << "drawn at twice its size";
                EXPECT_FLOAT_EQ(command[7], 1);
            }
            if (command[0] == kFontBank) {
                glyphs += 1;
                EXPECT_NEAR(command[2], c.screenH - 32, 10) << "the text sits at the bottom";
            }
        }
        EXPECT_EQ(logos, 1);
        EXPECT_EQ(glyphs, 10) << "Loading...";
    }
}

}  // namespace
