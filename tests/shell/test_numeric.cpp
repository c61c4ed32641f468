// The number-to-text rule and safe truncation.
#include <gtest/gtest.h>

#include <cmath>
#include <climits>
#include <limits>

#include "host/qvstring.h"
#include "shell/numeric.h"

TEST(NumberText, FloatsUseSeventeenDigitsAndAlwaysLookLikeFloats) {
    struct Case {
        float value;
        const char16_t* text;
    };
    const Case cases[] = {
        {2.0f, u"2.0"},
        {-3.0f, u"-3.0"},
        {0.0f, u"0.0"},
        {1.5f, u"1.5"},
        {0.1f, u"0.10000000149011612"},
        {1e20f, u"1.0000000200408773e+20"},
        {std::numeric_limits<float>::infinity(), u"inf.0"},
    };
    for (const Case& c : cases) EXPECT_EQ(NumberText(c.value), String(c.text)) << c.value;
}

TEST(NumberText, IntsArePlainDecimal) {
    EXPECT_EQ(NumberText(42), u"42");
    EXPECT_EQ(NumberText(-7), u"-7");
    EXPECT_EQ(NumberText(INT_MIN), u"-2147483648");
}

TEST(NumberText, TextBufferJoinsPiecesAndDropsWhatDoesNotFit) {
    TextBuffer<64> line;
    line.Add(60).Add(u":").Add(2.0f).Add(u",").Add(0.5f);
    EXPECT_EQ(line.View(), u"60:2.0,0.5");
    TextBuffer<4> small;
    small.Add(u"abc").Add(12345);
    EXPECT_EQ(small.View(), u"abc1");
}

TEST(TruncToInt, TruncatesTowardsZeroAndSaturates) {
    EXPECT_EQ(TruncToInt(2.9), 2);
    EXPECT_EQ(TruncToInt(-2.9), -2);
    EXPECT_EQ(TruncToInt(std::nan("")), 0);
    EXPECT_EQ(TruncToInt(1e30), INT_MAX);
    EXPECT_EQ(TruncToInt(-std::numeric_limits<double>::infinity()), INT_MIN);
}
