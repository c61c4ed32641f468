// The GLFW host's input callbacks: which events each sends to the host, and
// what the game then reads.
#include <gtest/gtest.h>

#include "host/glfw2.h"
#include "host/qvglfwgame.h"
#include "tests/input/input_host.h"

namespace {

using Events = std::vector<std::pair<int, int>>;

class HostCallbackTest : public ::testing::Test {
protected:
    InputHost host;
};

TEST_F(HostCallbackTest, KeyPressSendsKeyDownThenItsCharacter) {
    struct Row {
        int glfw2Key, code, character;  // character 0: none from the key
    };
    const Row rows[] = {
        {295, 8, 8},  {293, 9, 9},  {294, 13, 13}, {257, 27, 27},
        {298, 33, 65536 + 33}, {299, 34, 65536 + 34}, {301, 35, 65536 + 35}, {300, 36, 65536 + 36},
        {285, 37, 65536 + 37}, {283, 38, 65536 + 38}, {286, 39, 65536 + 39}, {284, 40, 65536 + 40},
        {296, 45, 65536 + 45}, {297, 46, 127},
        {'A', 65, 0}, {' ', 32, 0}, {258, 112, 0}, {302, 96, 0}, {287, 16, 0},
    };
    for (const Row& row : rows) {
        host.keyEvents.clear();
        QvGlfwGame::OnKey(row.glfw2Key, glfw2::kPress);
        Events expected = {{kKeyDownEvent, row.code}};
        if (row.character != 0) expected.emplace_back(kCharEvent, row.character);
        EXPECT_EQ(host.keyEvents, expected) << "key " << row.glfw2Key;
    }
}

TEST_F(HostCallbackTest, RightArrowQueuesItsCharacterAndALetterNone) {
    QvGlfwGame::OnKey(286, glfw2::kPress);
    QvGlfwGame::OnKey('A', glfw2::kPress);
    EXPECT_TRUE(input::KeyDown(39));
    EXPECT_TRUE(input::KeyDown(65));
    EXPECT_EQ(input::GetChar(), 65536 + 39);
    EXPECT_EQ(input::GetChar(), 0);
}

TEST_F(HostCallbackTest, KeyReleaseSendsKeyUpOnly) {
    QvGlfwGame::OnKey(295, glfw2::kRelease);
    EXPECT_EQ(host.keyEvents, (Events{{kKeyUpEvent, 8}}));
}

TEST_F(HostCallbackTest, KeysWithoutCodeSendNothing) {
    const int keys[] = {270, 291, 318, 322, 325, 326, 1000, 31, 0, -1};
    for (int key : keys) {
        QvGlfwGame::OnKey(key, glfw2::kPress);
        QvGlfwGame::OnKey(key, glfw2::kRelease);
    }
    EXPECT_TRUE(host.keyEvents.empty());
}

// Holding Backspace: every repeat types it again, but it is one hit.
TEST_F(HostCallbackTest, KeyRepeatTypesAgainWithoutAnotherHit) {
    for (int press = 0; press < 4; ++press) QvGlfwGame::OnKey(295, glfw2::kPress);
    EXPECT_TRUE(input::KeyDown(8));
    EXPECT_EQ(input::KeyHit(8), 1);
    for (int press = 0; press < 4; ++press) EXPECT_EQ(input::GetChar(), 8);
    EXPECT_EQ(input::GetChar(), 0);
}

TEST_F(HostCallbackTest, CharactersArriveOnPressOnly) {
    QvGlfwGame::OnChar('a', glfw2::kPress);
    QvGlfwGame::OnChar('b', glfw2::kRelease);
    QvGlfwGame::OnChar(0x263A, glfw2::kPress);
    EXPECT_EQ(host.keyEvents, (Events{{kCharEvent, 'a'}, {kCharEvent, 0x263A}}));
    EXPECT_EQ(input::GetChar(), 'a');
    EXPECT_EQ(input::GetChar(), 0x263A);
}

TEST_F(HostCallbackTest, MouseButtonsUpToMiddleBecomeCodesOneToThree) {
    for (int button = 0; button <= 7; ++button) QvGlfwGame::OnMouseButton(button, glfw2::kPress);
    for (int code = 1; code <= 3; ++code) EXPECT_TRUE(input::KeyDown(code)) << code;
    for (int code = 4; code <= 9; ++code) EXPECT_FALSE(input::KeyDown(code)) << code;
    for (int button = 0; button <= 7; ++button) QvGlfwGame::OnMouseButton(button, glfw2::kRelease);
    for (int code = 1; code <= 3; ++code) EXPECT_FALSE(input::KeyDown(code)) << code;
    EXPECT_FALSE(input::TouchDown(0));
}

TEST_F(HostCallbackTest, PointerMovesReachTheDevice) {
    QvGlfwGame::OnMousePos(120, 45);
    EXPECT_EQ(input::MouseX(), 120);
    EXPECT_EQ(input::MouseY(), 45);
    EXPECT_EQ(input::TouchX(0), 120);
}

TEST_F(HostCallbackTest, WindowCloseSendsTheCloseKeyAndKeepsTheWindow) {
    host.forward = false;
    EXPECT_EQ(QvGlfwGame::OnWindowClose(), 0);
    EXPECT_EQ(host.keyEvents, (Events{{kKeyDownEvent, 432}, {kKeyUpEvent, 432}}));
}

TEST_F(HostCallbackTest, ClosingTheWindowEndsTheProgram) {
    EXPECT_EXIT(QvGlfwGame::OnWindowClose(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
