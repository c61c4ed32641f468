// The drifting stars: drift, turn, wrap, and the clock reseeding.
#include "shell/globals.h"
#include "tests/game/play_fixture.h"

namespace {

constexpr int kParts = 96;

class StarTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        game->lastStar = 0;  // one star
    }

    float* Star() { return game->stars; }

    void PlaceStar(float x, float y, float speed) {
        const float record[10] = {12, x, y, speed, 0, 20, -0.5f, 0, 0, 0};
        std::copy(record, record + 10, Star());
    }
};

TEST_F(StarTest, AStarDriftsByItsSpeedAndTurns) {
    PlaceStar(100, 200, 0.4f);
    game->DoStars(0, 0.25f);
    EXPECT_EQ(Star()[StarEl::x], 100.0f);
    EXPECT_FLOAT_EQ(Star()[StarEl::y], 200.1f);
    EXPECT_EQ(Star()[StarEl::rotation], 19.5f);
    ASSERT_EQ(Commands(), 1);
    const float* drawn = Command(0);
    EXPECT_EQ(drawn[0], static_cast<float>(kParts));
    EXPECT_EQ(drawn[kFrame], 12.0f);
    EXPECT_EQ(drawn[kRotation], 19.5f);
    EXPECT_EQ(drawn[kScaleX], 0.5f);
    EXPECT_FLOAT_EQ(drawn[kAlpha], 0.4f);  // slower is fainter
    EXPECT_EQ(game->drawAlpha, 1.0f);      // the pen is reset afterwards
}

TEST_F(StarTest, AStarOffAnEdgeComesBackAtTheOtherWithNewValues) {
    struct Case {
        float x, y, dx, dy;
        bool horizontal;  // wrapped across the sides (new height) or top and bottom (new column)
        float wrapped;    // the wrapped coordinate
    };
    // With speed 1 the drift carries each star just past a 16-pixel margin.
    const Case cases[] = {
        {100, 496, 0, 0.5f, false, 496.5f - 512},  // below: just under 16 above the top
        {100, -16, 0, -0.5f, false, -16.5f + 512},
        {656, 100, 0.5f, 0, true, 656.5f - 672},
        {-16, 100, -0.5f, 0, true, -16.5f + 672},
    };
    for (const Case& c : cases) {
        PlaceStar(c.x, c.y, 1);
        game->drawLength = 0;
        game->DoStars(c.dx, c.dy);
        const float* s = Star();
        const float wrapped = c.horizontal ? s[StarEl::x] : s[StarEl::y];
        const float renewed = c.horizontal ? s[StarEl::y] : s[StarEl::x];
        const float extent = c.horizontal ? 480 : 640;
        EXPECT_FLOAT_EQ(wrapped, c.wrapped) << c.x << ", " << c.y;
        EXPECT_GE(renewed, -8.0f);
        EXPECT_LT(renewed, extent + 8);
        EXPECT_GE(s[StarEl::speed], 0.2f);
        EXPECT_LT(s[StarEl::speed], 0.8f);
        EXPECT_NE(s[StarEl::frame], 12.0f);
    }
}

TEST_F(StarTest, TheOverscanWidensTheMargin) {
    overscan = 10;
    PlaceStar(100, 500, 1);  // inside 480 + 26
    game->DoStars(0, 0.5f);
    EXPECT_EQ(Star()[StarEl::y], 500.5f);
    PlaceStar(100, 506, 1);
    game->DoStars(0, 0.5f);
    EXPECT_EQ(Star()[StarEl::y], 506.5f - (480 + 52));
}

TEST_F(StarTest, TheGeneratorRestartsFromTheClockEveryTick) {
    host.clockMs = 5000;
    PlaceStar(100, 496, 1);
    random::Seed = 1;
    game->DoStars(0, 0.5f);
    const float x = Star()[StarEl::x];
    const int32_t seed = random::Seed;

    PlaceStar(100, 496, 1);
    random::Seed = 999;
    game->DoStars(0, 0.5f);  // the same millisecond: the same draws
    EXPECT_EQ(Star()[StarEl::x], x);
    EXPECT_EQ(random::Seed, seed);

    host.clockMs = 5001;
    PlaceStar(100, 496, 1);
    game->DoStars(0, 0.5f);
    EXPECT_NE(random::Seed, seed);
}

}  // namespace
