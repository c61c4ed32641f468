// The ship: steering inputs, turning, motion, the rim, the trail, appearing
// and the death sequence.
#include <cmath>

#include "shell/globals.h"
#include "tests/game/play_fixture.h"

namespace {

constexpr int kGfx = 1, kShipFrame = 4;
constexpr int kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;

struct Turn {
    float a, b;
    int lo, hi;
    int expected;
};

TEST(WhichWayDoIGo, SignedDistanceOnACircle) {
    const Turn cases[] = {
        {0, 10, 0, 359, 10},      {0, 179, 0, 359, 179},  {180, -90, 0, 359, 90},  {350, 10, 0, 359, 20},
        {-180, -180, 0, 359, 0},  {720.5f, 0, 0, 359, 0}, {1, 5, 0, 9, 4},
        // Behind: the answer subtracts 359, not 360, so it is one short.
        {10, 0, 0, 359, -9},      {0, 180, 0, 359, -179}, {180, 90, 0, 359, -89},  {10, 350, 0, 359, -19},
        {1, 8, 0, 9, -2},
    };
    for (const Turn& c : cases) {
        EXPECT_EQ(MyApp::WhichWayDoIGo(c.a, c.b, c.lo, c.hi), c.expected) << c.a << " -> " << c.b;
    }
}

using SteeringTest = PlayTest;

struct KeyAxis {
    int key;
    bool vertical;
    float sign;
};

TEST_F(SteeringTest, AHeldKeyBuildsUpAndFallsBackWhenReleased) {
    const KeyAxis keys[] = {{kKeyLeft, false, -1}, {kKeyRight, false, 1}, {kKeyUp, true, -1}, {kKeyDown, true, 1}};
    const float held[] = {0.15f, 0.3f, 0.45f, 0.6f, 0.75f, 0.9f, 1, 1};
    const float released[] = {0.8f, 0.6f, 0.4f, 0.2f, 0, 0};
    for (const KeyAxis& k : keys) {
        float& input = k.vertical ? game->steerInputY : game->steerInputX;
        float& accumulator = k.vertical ? game->keySteerY : game->keySteerX;
        host.PressKey(k.key);
        for (float expected : held) {
            game->AnalogueControl();
            EXPECT_NEAR(input, k.sign * expected, 1e-5) << "key " << k.key << " held";
            EXPECT_NEAR(accumulator, k.sign * expected, 1e-5);
        }
        host.ReleaseKey(k.key);
        for (float expected : released) {
            game->AnalogueControl();
            EXPECT_NEAR(input, k.sign * expected, 1e-5) << "key " << k.key << " released";
        }
        EXPECT_EQ(accumulator, 0.0f);
        EXPECT_EQ(game->steerInputX, 0.0f);
        EXPECT_EQ(game->steerInputY, 0.0f);
    }
}

TEST_F(SteeringTest, KeysOverrideTheStickWhileHeldOrFallingBack) {
    host.pads[0].joyX[0] = 0.5f;
    host.Tick();  // polls the stick
    host.PressKey(kKeyRight);
    game->AnalogueControl();
    EXPECT_NEAR(game->steerInputX, 0.15f, 1e-6);
    host.ReleaseKey(kKeyRight);
    game->AnalogueControl();  // falling back from 0.15 reaches 0 at once
    EXPECT_EQ(game->steerInputX, 0.0f);
    game->AnalogueControl();  // back at rest: the stick is heard again
    EXPECT_EQ(game->steerInputX, 0.5f);
}

struct StickCase {
    float joyX, joyY;
    int yNormal;  // settings entry 15
    float inputX, inputY;
};

TEST_F(SteeringTest, TheLeftStickCountsOutsideItsDeadZone) {
    const StickCase cases[] = {
        {0.2f, -0.2f, 0, 0, 0},       // on the edge of the dead zone: ignored
        {0.5f, 0, 0, 0.5f, 0},        //
        {0.1f, 0.8f, 0, 0.1f, -0.8f},  // y flipped by default
        {0, 0.8f, 1, 0, 0.8f},        // "Left Thumbstick Y Normal"
        {-1.5f, 0, 0, -1, 0},         // clamped
    };
    for (const StickCase& c : cases) {
        game->settings[15] = c.yNormal;
        host.pads[0].joyX[0] = c.joyX;
        host.pads[0].joyY[0] = c.joyY;
        host.Tick();
        game->AnalogueControl();
        EXPECT_FLOAT_EQ(game->steerInputX, c.inputX) << c.joyX << ", " << c.joyY;
        EXPECT_FLOAT_EQ(game->steerInputY, c.inputY) << c.joyX << ", " << c.joyY;
    }
}

TEST_F(SteeringTest, TheTouchStickSteersByTheDragFromWhereThePressLanded) {
    auto press = [&](int x, int y) {
        game->pointerDown = 1;
        game->mouseX = x;
        game->mouseY = y;
        game->drawLength = 0;
        game->AnalogueControl();
    };
    press(300, 200);  // lands: the anchor, no input yet
    EXPECT_EQ(game->touchAnchorX, 300);
    EXPECT_EQ(game->touchAnchorY, 200);
    EXPECT_EQ(game->steerInputX, 0.0f);
    ASSERT_EQ(Commands(), 2);  // the stick's two circles
    EXPECT_EQ(Command(0)[1], 300.0f);
    EXPECT_EQ(Command(0)[kAlpha], 0.25f);
    EXPECT_EQ(Command(0)[kBlue], 250.0f);

    press(336, 182);
    EXPECT_FLOAT_EQ(game->steerInputX, 0.5f);
    EXPECT_FLOAT_EQ(game->steerInputY, -0.25f);
    press(305, 195);  // under a tenth of full input on both axes
    EXPECT_EQ(game->steerInputX, 0.0f);
    EXPECT_EQ(game->steerInputY, 0.0f);

    press(400, 200);  // far away: input clamped, the anchor creeps after it
    EXPECT_EQ(game->steerInputX, 1.0f);
    EXPECT_EQ(game->touchAnchorX, 304);
    EXPECT_EQ(game->touchAnchorY, 200);

    game->pointerDown = 0;
    game->AnalogueControl();
    EXPECT_EQ(game->touchAnchorX, -1);
    EXPECT_EQ(game->steerInputX, 0.0f);
}

TEST_F(SteeringTest, AStickIsAnchoredByTheFirstPressOfAGame) {
    // Nothing has steered yet: the stick starts released, not anchored in a corner.
    game->pointerDown = 1;
    game->mouseX = 320;
    game->mouseY = 400;
    game->AnalogueControl();
    EXPECT_EQ(game->steerInputX, 0.0f);
    EXPECT_EQ(game->steerInputY, 0.0f);
}

using ShipTest = PlayTest;

TEST_F(ShipTest, TurnsClockwiseAtMostEightDegreesAndSnapsOtherwise) {
    struct Case {
        float heading, wanted, after;
    };
    const Case cases[] = {
        {180, -90, 188},   // 90 clockwise
        {0, 9, 8},         //
        {0, 6, 6},         // within 8: the whole way
        {0, 3, 3},         //
        {180, 90, 90},     // counter-clockwise: at once
        {0, -170, -170},   //
        {370, 10, 10},     // the same direction: snaps to the wanted value
    };
    for (const Case& c : cases) {
        PlaceShip(kCx, kCy, c.heading);
        Player(PlayerEl::wantedHeading) = c.wanted;  // no steering: the wish stands
        game->ShipSteps();
        EXPECT_EQ(Player(PlayerEl::heading), c.after) << c.heading << " -> " << c.wanted;
    }
}

TEST_F(ShipTest, AQuarterTurnClockwiseTakesElevenTicksAndASnap) {
    PlaceShip(kCx, kCy, 180);  // flying straight up
    game->steerInputX = 1;     // asked to go right
    for (int tick = 1; tick <= 11; ++tick) {
        game->ShipSteps();
        EXPECT_EQ(Player(PlayerEl::wantedHeading), -90.0f);
        EXPECT_EQ(Player(PlayerEl::heading), 180.0f + 8 * tick) << "tick " << tick;
    }
    game->ShipSteps();
    EXPECT_EQ(Player(PlayerEl::heading), -90.0f);

    PlaceShip(kCx, kCy, 180);
    Player(PlayerEl::steerX) = 0;
    game->steerInputX = -1;  // left: counter-clockwise
    game->ShipSteps();
    EXPECT_EQ(Player(PlayerEl::heading), 90.0f);
}

TEST_F(ShipTest, TheSteeringVectorHasInertia) {
    PlaceShip(kCx, kCy, 180);
    game->steerInputX = 1;
    game->steerInputY = 0.2f;  // too little to count: runs down like no input
    for (int tick = 0; tick < 12; ++tick) game->ShipSteps();
    EXPECT_EQ(Player(PlayerEl::steerX), 4.0f);  // held within -4..4
    EXPECT_EQ(Player(PlayerEl::steerY), 0.0f);
    game->steerInputX = 0;
    game->ShipSteps();
    EXPECT_FLOAT_EQ(Player(PlayerEl::steerX), 3.75f);
    for (int tick = 0; tick < 20; ++tick) game->ShipSteps();
    EXPECT_EQ(Player(PlayerEl::steerX), 0.0f);
    // With the vector run down the wish stands, and the ship keeps going.
    EXPECT_EQ(Player(PlayerEl::wantedHeading), -90.0f);
    EXPECT_EQ(Player(PlayerEl::heading), -90.0f);
}

TEST_F(ShipTest, MovesTwoPixelsATickTowardsHeadingPlus180) {
    PlaceShip(kCx, kCy, -180);  // the start of a game: travelling up
    game->ShipSteps();
    EXPECT_NEAR(Player(PlayerEl::x), kCx, 1e-4);
    EXPECT_NEAR(Player(PlayerEl::y), kCy - 2, 1e-4);
    PlaceShip(kCx, kCy, 270);  // travelling right
    game->ShipSteps();
    EXPECT_NEAR(Player(PlayerEl::x), kCx + 2, 1e-4);
    EXPECT_NEAR(Player(PlayerEl::y), kCy, 1e-4);
}

TEST_F(ShipTest, TheRimHoldsTheShipAtRadius159_9) {
    // Flying straight out at 30 degrees from just inside the rim.
    const float angle = 30 * 0.017453292f;
    PlaceShip(kCx + 159 * std::sin(angle), kCy - 159 * std::cos(angle), 30 + 180);
    game->ShipSteps();
    EXPECT_NEAR(Player(PlayerEl::x), kCx + 159.9f * std::sin(angle), 1e-3);
    EXPECT_NEAR(Player(PlayerEl::y), kCy - 159.9f * std::cos(angle), 1e-3);

    // Pressed against the rim at a slant, it slides along it clockwise.
    PlaceShip(kCx, kCy - 159.9f, 45 + 180);
    float lastAngle = 0;
    for (int tick = 0; tick < 20; ++tick) {
        game->ShipSteps();
        float dx = Player(PlayerEl::x) - kCx, dy = kCy - Player(PlayerEl::y);
        EXPECT_NEAR(std::hypot(dx, dy), 159.9f, 1e-3) << "tick " << tick;
        float along = std::atan2(dx, dy);
        EXPECT_GT(along, lastAngle);
        lastAngle = along;
    }
}

TEST_F(ShipTest, TheTrailShowsWhereTheShipWas34_26_18_10And2TicksAgo) {
    PlaceShip(kCx, kCy + 100, -180);  // up 2 pixels a tick
    for (int tick = 0; tick < 40; ++tick) {
        game->drawLength = 0;
        game->ShipSteps();
    }
    auto drawn = Images(kGfx, kShipFrame);
    ASSERT_EQ(drawn.size(), 6u);  // five copies, then the ship
    const float ago[] = {34, 26, 18, 10, 2};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(drawn[i][2], Player(PlayerEl::y) + 2 * ago[i], 1e-3);
        EXPECT_EQ(drawn[i][kAlpha], 0.25f);
        EXPECT_EQ(drawn[i][kRotation], 0.0f);  // -(heading + 180), negated by the pen
    }
    EXPECT_EQ(drawn[5][2], Player(PlayerEl::y));
    EXPECT_EQ(drawn[5][kAlpha], 1.0f);
    EXPECT_EQ(game->trail[3 * 99 + 1], Player(PlayerEl::y));
}

TEST_F(ShipTest, WaitsSixtyTicksThenAppearsWithABurst) {
    PlaceShip(kCx, kCy + 140, -180);
    Player(PlayerEl::appearTime) = -60;
    game->steerInputX = 1;
    for (int tick = 1; tick < 60; ++tick) game->ShipSteps();
    EXPECT_EQ(Player(PlayerEl::x), kCx);  // waiting, though it steers
    EXPECT_EQ(Player(PlayerEl::heading), -90.0f);
    EXPECT_EQ(BusyParticles(), 0);
    game->ShipSteps();
    EXPECT_EQ(Player(PlayerEl::appearTime), 0.0f);
    EXPECT_EQ(BusyParticles(), 25);
    EXPECT_NEAR(Player(PlayerEl::x), kCx + 2, 1e-4);  // moving in the same tick
}

TEST_F(ShipTest, ADestroyedShipHidesFadesBackAndUsesALife) {
    PlaceShip(kCx, kCy, -180);
    Player(PlayerEl::lives) = 2;
    game->ShipHit();
    EXPECT_EQ(Player(PlayerEl::deathTime), 1.0f);
    for (int tick = 1; tick <= 120; ++tick) {
        game->drawLength = 0;
        game->ShipSteps();
        auto drawn = Images(kGfx, kShipFrame);
        if (tick <= 90) {
            EXPECT_TRUE(drawn.empty()) << "tick " << tick;  // neither ship nor trail copies
        } else {
            ASSERT_EQ(drawn.size(), 1u) << "tick " << tick;
            EXPECT_FLOAT_EQ(drawn[0][kAlpha], (tick - 90) / 30.0f);
        }
        if (tick < 120) {
            EXPECT_EQ(Player(PlayerEl::y), kCy);
        }
        if (tick == 28) {
            EXPECT_EQ(BusyParticles(), 28 * 8);  // the explosion: 8 sparks a tick
        }
    }
    // Back where it was destroyed, one life used, with a burst.
    EXPECT_EQ(Player(PlayerEl::deathTime), 0.0f);
    EXPECT_EQ(Player(PlayerEl::lives), 1.0f);
    EXPECT_EQ(game->gameEnded, 0);
    game->ShipSteps();
    EXPECT_NEAR(Player(PlayerEl::y), kCy - 2, 1e-4);
}

TEST_F(ShipTest, LosingTheLastShipStopsTheTuneAndEndsTheGameLater) {
    PlaceShip(kCx, kCy, -180);
    Player(PlayerEl::lives) = 0;
    game->musicOn = 1;
    game->ShipHit();
    EXPECT_EQ(game->musicOn, 0);
    for (int tick = 1; tick <= 119; ++tick) {
        game->drawLength = 0;
        game->ShipSteps();
        if (tick > 90) {
            EXPECT_EQ(Images(kGfx, kShipFrame).at(0)[kAlpha], 0.0f);  // drawn fully transparent
        }
    }
    EXPECT_EQ(game->gameEnded, 0);
    game->ShipSteps();
    EXPECT_EQ(game->gameEnded, 1);
    EXPECT_GT(Player(PlayerEl::deathTime), 120.0f);

    // With a spare life the tune plays on.
    PlaceShip(kCx, kCy, -180);
    Player(PlayerEl::lives) = 1;
    game->musicOn = 1;
    game->ShipHit();
    EXPECT_EQ(game->musicOn, 1);
}

TEST_F(ShipTest, ExplosionSparksDrawTheirArgumentsLastToFirst) {
    PlaceShip(kCx, kCy, -180);
    game->ShipHit();
    const int32_t seed = 987654;
    auto r = UnitsFrom(seed, 8);
    random::Seed = seed;
    game->ShipSteps();
    // The first spark: speed, angle, colour, then the particle's own draws.
    const float speed = 3 + 5 * r[0], angle = 360 * r[1];
    const float* spark = Particle(game->lastParticle);
    EXPECT_FLOAT_EQ(spark[ParticleEl::vx], speed * std::sin(angle * 0.017453292f));
    EXPECT_FLOAT_EQ(spark[ParticleEl::colour], std::floor(1 + 1.99f * r[2]));
    EXPECT_FLOAT_EQ(spark[ParticleEl::rotation], kCy + (-16 + 32 * r[5]));
    EXPECT_FLOAT_EQ(spark[ParticleEl::life], 0.7f + 0.6f * r[6]);
}

}  // namespace
