// Particles: throwing into the pool, moving, fading and freeing.
#include <cmath>

#include "tests/game/play_fixture.h"

namespace {

constexpr int kParts = 96;

using ParticleTest = PlayTest;

TEST_F(ParticleTest, AThrowTakesTheHighestFreeRecordAndDrawsInOrder) {
    Particle(250)[ParticleEl::type] = 6;  // busy
    const int32_t seed = 4242;
    auto r = UnitsFrom(seed, 4);
    random::Seed = seed;
    game->ThrowParticle(100, 50, 5, 4, 90, 2);
    const float* p = Particle(249);
    EXPECT_EQ(p[ParticleEl::type], 5.0f);
    EXPECT_EQ(p[ParticleEl::x], 100.0f);
    EXPECT_EQ(p[ParticleEl::y], 50.0f);
    EXPECT_NEAR(p[ParticleEl::vx], 2, 1e-6);  // 90 degrees: to the right
    EXPECT_NEAR(p[ParticleEl::vy], 0, 1e-6);
    EXPECT_FLOAT_EQ(p[ParticleEl::rotation], 360 * r[0]);
    EXPECT_FLOAT_EQ(p[ParticleEl::spin], -8 + 16 * r[1]);
    EXPECT_FLOAT_EQ(p[ParticleEl::life], 0.7f + 0.6f * r[2]);
    EXPECT_EQ(p[ParticleEl::colour], 4.0f);
    EXPECT_EQ(p[ParticleEl::frame], std::floor(255.99f * r[3]));
    EXPECT_EQ(game->FreeParticle(), 248);
}

TEST_F(ParticleTest, SlowingSparksKeepARotationTakenFromTheirStartHeight) {
    const int32_t seed = 77;
    auto r = UnitsFrom(seed, 5);
    random::Seed = seed;
    game->ThrowParticle(10, 200, 3, 1, 0, 1);
    const float* p = Particle(250);
    EXPECT_NEAR(p[ParticleEl::vy], -1, 1e-6);  // 0 degrees: up
    EXPECT_FLOAT_EQ(p[ParticleEl::rotation], 200 + (-16 + 32 * r[2]));
    EXPECT_EQ(p[ParticleEl::spin], 0.0f);
    EXPECT_FLOAT_EQ(p[ParticleEl::life], 0.7f + 0.6f * r[3]);
}

TEST_F(ParticleTest, AFullPoolDropsThrowsWithoutDrawingRandomNumbers) {
    for (int i = 0; i <= game->lastParticle; ++i) game->ThrowParticle(0, 0, 5, 1, 0, 1);
    EXPECT_EQ(BusyParticles(), 251);
    EXPECT_EQ(game->FreeParticle(), -1);
    const int32_t seed = random::Seed;
    game->ThrowParticle(0, 0, 6, 1, 0, 1);
    EXPECT_EQ(random::Seed, seed);
    EXPECT_EQ(BusyParticles(), 251);
}

TEST_F(ParticleTest, ParticlesMoveSpinAndDrawByKind) {
    struct Case {
        int type;
        float vxAfter;  // slowing sparks lose 5% a tick
        float size;
    };
    const Case cases[] = {{3, 1.9f, 0.5f}, {5, 2, 0.5f}, {6, 2, 0.5f}, {7, 2, 1.5f}};
    for (const Case& c : cases) {
        float* p = Particle(10);
        const float record[10] = {static_cast<float>(c.type), 100, 100, 2, -1, 30, 4, 1.2f, 2, 17};
        std::copy(record, record + 10, p);
        game->drawLength = 0;
        game->DoParticles(1.5f);
        EXPECT_EQ(p[ParticleEl::x], 102.0f);
        EXPECT_EQ(p[ParticleEl::y], 99.0f);
        EXPECT_EQ(p[ParticleEl::rotation], 34.0f);
        EXPECT_FLOAT_EQ(p[ParticleEl::vx], c.vxAfter) << "type " << c.type;
        auto drawn = Images(kParts, 17);
        ASSERT_EQ(drawn.size(), 1u) << "type " << c.type;
        EXPECT_EQ(drawn[0][kRotation], 34.0f);
        EXPECT_EQ(drawn[0][kScaleX], c.size);
        EXPECT_EQ(drawn[0][kAlpha], 1.0f);  // life above 1 shows as 1
        EXPECT_EQ(drawn[0][kRed], 255.0f);  // colour 2: orange
        EXPECT_EQ(drawn[0][kGreen], 127.5f);
        EXPECT_FLOAT_EQ(drawn[0][kBlue], 25.5f);
        p[ParticleEl::type] = 0;
    }
}

TEST_F(ParticleTest, ParticlesFadeAndFreeThemselves) {
    struct Case {
        int type;
        float life;
        int ticks;  // until the record is free
    };
    const Case cases[] = {{5, 0.7f, 24}, {3, 0.705f, 71}, {6, 0.505f, 51}, {99, 1.005f, 101}};
    for (const Case& c : cases) {
        float* p = Particle(0);
        p[ParticleEl::type] = static_cast<float>(c.type);
        p[ParticleEl::life] = c.life;
        int ticks = 0;
        while (p[ParticleEl::type] != 0 && ticks < 500) {
            game->drawLength = 0;
            game->DoParticles(1);
            ++ticks;
        }
        EXPECT_EQ(ticks, c.ticks) << "type " << c.type;
    }
}

TEST_F(ParticleTest, AScoreNumberIsTextThatNeverTurns) {
    UseGameFont();
    float* p = Particle(3);
    const float record[10] = {99, 200, 100, 0, -0.25f, 10, 5, 1, 3, 100};
    std::copy(record, record + 10, p);
    game->DoParticles(1);
    EXPECT_EQ(p[ParticleEl::y], 99.75f);
    EXPECT_EQ(p[ParticleEl::rotation], 15.0f);
    EXPECT_TRUE(Images(kParts).empty());
    ASSERT_GT(Commands(), 0);  // "100", one command a character
    for (int k = 0; k < Commands(); ++k) {
        EXPECT_EQ(Command(k)[kRotation], 0.0f);
        EXPECT_EQ(Command(k)[kBlue], 25.5f);  // colour 3: yellow
    }
}

}  // namespace
