// Enemies and bullets: flying in, riding the rim, the bullet slot rules,
// hits, leaving the screen, and the burst after a level is cleared.
#include <cmath>

#include "tests/game/play_fixture.h"

namespace {

constexpr int kGfx = 1, kEnemyFrame = 5;
constexpr float kEnemy = 1, kBullet = 10;

class EnemyTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        PlaceShip(kCx, kCy, -180);
    }

    // An enemy riding the rim without drifting.
    void PlaceEnemy(int slot, float angle, float fireTime, float turnTime = 100) {
        const float record[10] = {kEnemy, 160, 1.5f, fireTime, turnTime, angle, 0, 0, 0, 0};
        std::copy(record, record + 10, Object(slot));
    }

    void PlaceBullet(int slot, float x, float y, float vx, float vy) {
        const float record[10] = {kBullet, x, y, vx, vy, 0, 0, 0, 0, 0};
        std::copy(record, record + 10, Object(slot));
    }

    int Bullets() {
        int count = 0;
        for (int s = 0; s <= 50; ++s) count += Object(s)[ObjectEl::kind] == kBullet;
        return count;
    }

    void Scan() {
        game->drawLength = 0;
        game->DoObjects();
    }
};

TEST_F(EnemyTest, AnEnemyFliesInThenPicksItsFirstSpinAndFiresOnTheRim) {
    const float record[10] = {kEnemy, 600, 2, 0, 0, 90, 0, 0, 0, 0};
    std::copy(record, record + 10, Object(0));
    Scan();
    EXPECT_EQ(Object(0)[ObjectEl::radius], 598.0f);
    auto drawn = Images(kGfx, kEnemyFrame);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_FLOAT_EQ(drawn[0][1], kCx + 598);  // at 90 degrees: to the right
    EXPECT_EQ(drawn[0][kRotation], 90.0f);

    Object(0)[ObjectEl::radius] = 161;
    const int32_t seed = 31337;
    auto r = UnitsFrom(seed, 3);
    random::Seed = seed;
    Scan();
    const float* enemy = Object(0);
    EXPECT_EQ(enemy[ObjectEl::radius], 160.0f);
    EXPECT_FLOAT_EQ(enemy[ObjectEl::turnTime], 120 + 120 * r[0]);
    EXPECT_FLOAT_EQ(enemy[ObjectEl::spin], -0.75f + 1.5f * r[1]);
    EXPECT_FLOAT_EQ(enemy[ObjectEl::fireTime], 120 + 120 * r[2]);
    // The bullet sits in the last free slot seen above the enemy, aimed at the centre.
    const float* bullet = Object(1);
    EXPECT_EQ(bullet[ObjectEl::kind], kBullet);
    EXPECT_FLOAT_EQ(bullet[ObjectEl::x], kCx + 160);
    EXPECT_NEAR(bullet[ObjectEl::y], kCy, 1e-4);
    EXPECT_NEAR(bullet[ObjectEl::vx], -3, 1e-5);
    EXPECT_NEAR(bullet[ObjectEl::vy], 0, 1e-5);
    EXPECT_EQ(bullet[ObjectEl::angle], 90.0f);
    EXPECT_EQ(Bullets(), 1);
}

TEST_F(EnemyTest, ABulletStartsMovingInTheNextTick) {
    PlaceEnemy(0, 180, 0);
    Scan();
    EXPECT_FLOAT_EQ(Object(1)[ObjectEl::y], kCy + 160);
    Scan();
    EXPECT_FLOAT_EQ(Object(1)[ObjectEl::y], kCy + 157);
}

TEST_F(EnemyTest, TwoShotsBeforeAnotherFreeSlotIsSeenLeaveTheLaterOne) {
    PlaceEnemy(1, 90, 0);
    PlaceEnemy(0, 270, 0);
    Scan();
    EXPECT_EQ(Bullets(), 1);
    EXPECT_EQ(Object(2)[ObjectEl::angle], 270.0f);  // slot 0's shot replaced slot 1's
    EXPECT_GT(Object(1)[ObjectEl::fireTime], 100.0f);  // both countdowns restarted
    EXPECT_GT(Object(0)[ObjectEl::fireTime], 100.0f);

    // With a free slot between them each shot gets its own.
    std::fill(std::begin(game->objects), std::end(game->objects), 0.0f);
    PlaceEnemy(2, 90, 0);
    PlaceEnemy(0, 270, 0);
    Scan();
    EXPECT_EQ(Bullets(), 2);
    EXPECT_EQ(Object(3)[ObjectEl::angle], 90.0f);
    EXPECT_EQ(Object(1)[ObjectEl::angle], 270.0f);
}

TEST_F(EnemyTest, AnEnemyWithNoFreeSlotAboveItWaitsAndFiresWhenOneFrees) {
    constexpr float kOtherKind = 4;  // skipped by the scan, but not free
    PlaceEnemy(0, 90, 0);
    for (int s = 1; s <= 50; ++s) Object(s)[ObjectEl::kind] = kOtherKind;
    Scan();
    Scan();
    EXPECT_EQ(Object(0)[ObjectEl::fireTime], -2.0f);
    EXPECT_EQ(Bullets(), 0);
    Object(30)[ObjectEl::kind] = 0;
    Scan();
    EXPECT_EQ(Object(30)[ObjectEl::kind], kBullet);
    EXPECT_GE(Object(0)[ObjectEl::fireTime], 120.0f);
}

TEST_F(EnemyTest, CountdownsStandStillWhileTheShipIsDestroyed) {
    PlaceEnemy(0, 90, 50, 50);
    Object(0)[ObjectEl::spin] = 0.5f;
    Player(PlayerEl::deathTime) = 10;
    Scan();
    EXPECT_EQ(Object(0)[ObjectEl::fireTime], 50.0f);
    EXPECT_EQ(Object(0)[ObjectEl::turnTime], 49.0f);
    EXPECT_EQ(Object(0)[ObjectEl::angle], 90.5f);
    Player(PlayerEl::deathTime) = 0;
    Scan();
    EXPECT_EQ(Object(0)[ObjectEl::fireTime], 49.0f);
}

TEST_F(EnemyTest, TheRimAngleKeepsTheSignOfItsSum) {
    PlaceEnemy(0, 359.5f, 50);
    Object(0)[ObjectEl::spin] = 0.75f;
    PlaceEnemy(1, -359.5f, 50);
    Object(1)[ObjectEl::spin] = -0.75f;
    Scan();
    EXPECT_FLOAT_EQ(Object(0)[ObjectEl::angle], 0.25f);
    EXPECT_FLOAT_EQ(Object(1)[ObjectEl::angle], -0.25f);
}

TEST_F(EnemyTest, EnemiesFireDuringTheOpeningButNotAfterTheClearing) {
    struct Case {
        float levelTime;
        bool fires, drawn;
        int sparks;
    };
    const Case cases[] = {{-30, true, true, 0}, {0, true, true, 0}, {1, false, false, 1},
                          {29, false, false, 1}, {30, false, false, 0}};
    for (const Case& c : cases) {
        std::fill(std::begin(game->objects), std::end(game->objects), 0.0f);
        std::fill(std::begin(game->particles), std::end(game->particles), 0.0f);
        PlaceEnemy(0, 90, 0);
        Player(PlayerEl::levelTime) = c.levelTime;
        Scan();
        EXPECT_EQ(Bullets(), c.fires ? 1 : 0) << "levelTime " << c.levelTime;
        EXPECT_EQ(Images(kGfx, kEnemyFrame).size(), c.drawn ? 1u : 0u) << "levelTime " << c.levelTime;
        EXPECT_EQ(BusyParticles(), c.sparks) << "levelTime " << c.levelTime;
        if (!c.fires) {
            EXPECT_LT(Object(0)[ObjectEl::fireTime], 0.0f);  // it fires as soon as it can
        }
    }
}

TEST_F(EnemyTest, ABurstingEnemyThrowsFromWhereverItIs) {
    const float record[10] = {kEnemy, 600, 2, 0, 0, 0, 0, 0, 0, 0};
    std::copy(record, record + 10, Object(0));
    Player(PlayerEl::levelTime) = 5;
    const int32_t seed = 555;
    auto r = UnitsFrom(seed, 3);
    random::Seed = seed;
    Scan();
    const float* spark = Particle(game->lastParticle);
    EXPECT_EQ(spark[ParticleEl::type], 5.0f);
    EXPECT_FLOAT_EQ(spark[ParticleEl::y], kCy - 598);  // off the top of the screen
    // Its arguments are drawn last to first: speed, direction, colour.
    const float speed = 2 + 2 * r[0], direction = 360 * r[1] * 0.017453292f;
    EXPECT_FLOAT_EQ(spark[ParticleEl::vx], speed * std::sin(direction));
    EXPECT_FLOAT_EQ(spark[ParticleEl::colour], std::floor(3 + 2.99f * r[2]));
}

TEST_F(EnemyTest, ABulletWithinTenPixelsOnBothAxesDestroysTheShip) {
    struct Case {
        float dx, dy;
        bool hits;
    };
    const Case cases[] = {{9.9f, 0, true}, {0, -9.9f, true}, {-9, 9, true}, {10, 0, false}, {9, -10, false}};
    for (const Case& c : cases) {
        Player(PlayerEl::deathTime) = 0;
        PlaceBullet(7, kCx + c.dx, kCy + c.dy, 0, 0);
        Scan();
        EXPECT_EQ(Player(PlayerEl::deathTime), c.hits ? 1.0f : 0.0f) << c.dx << ", " << c.dy;
        EXPECT_EQ(Object(7)[ObjectEl::kind], kBullet);  // it flies on
    }
}

TEST_F(EnemyTest, ABulletCrossesTheWreckWithoutASecondHit) {
    PlaceBullet(7, kCx, kCy + 12, 0, -3);
    Scan();
    EXPECT_EQ(Player(PlayerEl::deathTime), 1.0f);
    for (int tick = 0; tick < 9; ++tick) {
        Player(PlayerEl::deathTime) += 1;  // as the death sequence counts
        Scan();
    }
    EXPECT_EQ(Player(PlayerEl::deathTime), 10.0f);  // never hit again
    EXPECT_LT(Object(7)[ObjectEl::y], kCy - 12);
}

TEST_F(EnemyTest, ABulletMoreThan64PixelsOffTheScreenFreesItsSlot) {
    struct Case {
        float x, y;
        bool freed;
    };
    const Case cases[] = {{-64, 100, false}, {-64.5f, 100, true}, {704, 100, false}, {704.5f, 100, true},
                          {100, -64.5f, true}, {100, 544, false},  {100, 544.5f, true}};
    for (const Case& c : cases) {
        PlaceBullet(12, c.x, c.y, 0, 0);
        Scan();
        EXPECT_EQ(Object(12)[ObjectEl::kind], c.freed ? 0.0f : kBullet) << c.x << ", " << c.y;
    }
}

TEST_F(EnemyTest, BulletsPulseThroughFourFramesOnTheClock) {
    host.clockMs = 1000;  // four quarter seconds
    PlaceBullet(5, 100, 100, 0, 0);
    PlaceBullet(6, 100, 100, 0, 0);
    Scan();
    EXPECT_EQ(Images(kGfx, 7 + (6 + 4) % 4).size(), 1u);
    EXPECT_EQ(Images(kGfx, 7 + (5 + 4) % 4).size(), 1u);
    host.clockMs = 1250;
    Scan();
    EXPECT_EQ(Images(kGfx, 7 + (5 + 5) % 4).size(), 1u);
}

}  // namespace
