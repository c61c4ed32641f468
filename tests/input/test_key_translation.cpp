// Key translation: GLFW 3 key numbers to GLFW 2 numbers (the window layer),
// GLFW 2 numbers to key codes (TransKey), and the characters keys type.
#include <GLFW/glfw3.h>  // key number constants only
#include <gtest/gtest.h>

#include <map>

#include "host/glfw2.h"
#include "host/qvglfwgame.h"

namespace {

// GLFW 2 key number -> key code, every key that has one.
std::map<int, int> CodesByGlfw2Key() {
    std::map<int, int> codes = {
        {32, 32},   {39, 222},  {34, 222},  {44, 188},  {45, 189},  {46, 190},  {47, 191},  {59, 186},
        {61, 187},  {91, 219},  {92, 220},  {93, 221},  {96, 192},  {126, 192}, {257, 27},  {283, 38},
        {284, 40},  {285, 37},  {286, 39},  {287, 16},  {288, 16},  {289, 17},  {290, 17},  {293, 9},
        {294, 13},  {295, 8},   {296, 45},  {297, 46},  {298, 33},  {299, 34},  {300, 36},  {301, 35},
        {312, 111}, {313, 106}, {314, 109}, {315, 107}, {316, 110},
    };
    for (int key = '0'; key <= '9'; ++key) codes[key] = key;
    for (int key = 'A'; key <= 'Z'; ++key) codes[key] = key;
    for (int f = 0; f < 12; ++f) codes[258 + f] = 112 + f;
    for (int k = 0; k < 10; ++k) codes[302 + k] = 96 + k;
    return codes;
}

TEST(TransKeyTest, EveryGlfw2KeyGetsItsCodeOrNone) {
    const std::map<int, int> codes = CodesByGlfw2Key();
    for (int key = -300; key <= 1000; ++key) {
        auto row = codes.find(key);
        EXPECT_EQ(QvGlfwGame::TransKey(key), row == codes.end() ? 0 : row->second) << "key " << key;
    }
}

TEST(TransKeyTest, KeysWithoutCodeAreNamedByTheTable) {
    const int noCode[] = {
        270, 282,            // F13, F25
        291, 292,            // Alt
        317, 318,            // keypad equals and Enter
        319, 320, 321, 322,  // the lock keys and Pause
        323, 324, 325,       // system and menu keys
        97, 122, 31, 0,      // lower case, control characters
    };
    for (int key : noCode) EXPECT_EQ(QvGlfwGame::TransKey(key), 0) << key;
}

// GLFW 3 key -> GLFW 2 key number, for every key GLFW 3 has.
std::map<int, int> Glfw2ByGlfw3Key() {
    std::map<int, int> keys = {
        {GLFW_KEY_SPACE, 32},          {GLFW_KEY_APOSTROPHE, 39},      {GLFW_KEY_COMMA, 44},
        {GLFW_KEY_MINUS, 45},          {GLFW_KEY_PERIOD, 46},          {GLFW_KEY_SLASH, 47},
        {GLFW_KEY_SEMICOLON, 59},      {GLFW_KEY_EQUAL, 61},           {GLFW_KEY_LEFT_BRACKET, 91},
        {GLFW_KEY_BACKSLASH, 92},      {GLFW_KEY_RIGHT_BRACKET, 93},   {GLFW_KEY_GRAVE_ACCENT, 96},
        {GLFW_KEY_ESCAPE, 257},        {GLFW_KEY_UP, 283},             {GLFW_KEY_DOWN, 284},
        {GLFW_KEY_LEFT, 285},          {GLFW_KEY_RIGHT, 286},          {GLFW_KEY_LEFT_SHIFT, 287},
        {GLFW_KEY_RIGHT_SHIFT, 288},   {GLFW_KEY_LEFT_CONTROL, 289},   {GLFW_KEY_RIGHT_CONTROL, 290},
        {GLFW_KEY_LEFT_ALT, 291},      {GLFW_KEY_RIGHT_ALT, 292},      {GLFW_KEY_TAB, 293},
        {GLFW_KEY_ENTER, 294},         {GLFW_KEY_BACKSPACE, 295},      {GLFW_KEY_INSERT, 296},
        {GLFW_KEY_DELETE, 297},        {GLFW_KEY_PAGE_UP, 298},        {GLFW_KEY_PAGE_DOWN, 299},
        {GLFW_KEY_HOME, 300},          {GLFW_KEY_END, 301},            {GLFW_KEY_KP_DIVIDE, 312},
        {GLFW_KEY_KP_MULTIPLY, 313},   {GLFW_KEY_KP_SUBTRACT, 314},    {GLFW_KEY_KP_ADD, 315},
        {GLFW_KEY_KP_DECIMAL, 316},    {GLFW_KEY_KP_EQUAL, 317},       {GLFW_KEY_KP_ENTER, 318},
        {GLFW_KEY_NUM_LOCK, 319},      {GLFW_KEY_CAPS_LOCK, 320},      {GLFW_KEY_SCROLL_LOCK, 321},
        {GLFW_KEY_PAUSE, 322},         {GLFW_KEY_LEFT_SUPER, 323},     {GLFW_KEY_RIGHT_SUPER, 324},
        {GLFW_KEY_MENU, 325},
    };
    for (int key = GLFW_KEY_0; key <= GLFW_KEY_9; ++key) keys[key] = '0' + (key - GLFW_KEY_0);
    for (int key = GLFW_KEY_A; key <= GLFW_KEY_Z; ++key) keys[key] = 'A' + (key - GLFW_KEY_A);
    for (int f = 0; f < 25; ++f) keys[GLFW_KEY_F1 + f] = 258 + f;
    for (int k = 0; k < 10; ++k) keys[GLFW_KEY_KP_0 + k] = 302 + k;
    return keys;
}

TEST(Glfw3KeyTest, EveryGlfw3KeyGetsItsGlfw2NumberOrNone) {
    const std::map<int, int> keys = Glfw2ByGlfw3Key();
    for (int key = GLFW_KEY_UNKNOWN; key <= GLFW_KEY_LAST + 10; ++key) {
        auto row = keys.find(key);
        EXPECT_EQ(glfw2::KeyFromGlfw3(key), row == keys.end() ? -1 : row->second) << "GLFW 3 key " << key;
    }
    // Keys GLFW 2 did not have.
    const int none[] = {GLFW_KEY_WORLD_1, GLFW_KEY_WORLD_2, GLFW_KEY_PRINT_SCREEN, GLFW_KEY_UNKNOWN};
    for (int key : none) EXPECT_EQ(glfw2::KeyFromGlfw3(key), -1) << key;
}

// Querying a key by its GLFW 2 number (releasing held keys on a window
// reopen) must find the same GLFW 3 key.
TEST(Glfw3KeyTest, Glfw2NumbersLeadBackToTheirGlfw3Key) {
    for (auto [glfw3Key, glfw2Key] : Glfw2ByGlfw3Key()) EXPECT_EQ(glfw2::KeyToGlfw3(glfw2Key), glfw3Key) << glfw2Key;
    const int noGlfw3Key[] = {34, 126, 97, 0, 256, 326, -1};
    for (int key : noGlfw3Key) EXPECT_EQ(glfw2::KeyToGlfw3(key), -1) << key;
}

TEST(Glfw3KeyTest, PhysicalKeysReachTheirCodes) {
    struct Row {
        int glfw3Key, code;
    };
    const Row rows[] = {
        {GLFW_KEY_A, 65},           {GLFW_KEY_Z, 90},         {GLFW_KEY_0, 48},        {GLFW_KEY_SPACE, 32},
        {GLFW_KEY_ENTER, 13},       {GLFW_KEY_ESCAPE, 27},    {GLFW_KEY_BACKSPACE, 8}, {GLFW_KEY_DELETE, 46},
        {GLFW_KEY_GRAVE_ACCENT, 192}, {GLFW_KEY_APOSTROPHE, 222}, {GLFW_KEY_RIGHT_SHIFT, 16},
        {GLFW_KEY_RIGHT_CONTROL, 17}, {GLFW_KEY_UP, 38},      {GLFW_KEY_F11, 122},     {GLFW_KEY_KP_5, 101},
        {GLFW_KEY_KP_DIVIDE, 111},  {GLFW_KEY_KP_ENTER, 0},   {GLFW_KEY_LEFT_ALT, 0},  {GLFW_KEY_F13, 0},
    };
    for (const Row& row : rows) {
        int key2 = glfw2::KeyFromGlfw3(row.glfw3Key);
        EXPECT_EQ(key2 < 0 ? 0 : QvGlfwGame::TransKey(key2), row.code) << row.glfw3Key;
    }
}

TEST(KeyToCharTest, OnlyControlAndNavigationKeysTypeFromTheKey) {
    const std::map<int, int> chars = {
        {8, 8},          {9, 9},          {13, 13},        {27, 27},        {33, 65536 + 33},
        {34, 65536 + 34}, {35, 65536 + 35}, {36, 65536 + 36}, {37, 65536 + 37}, {38, 65536 + 38},
        {39, 65536 + 39}, {40, 65536 + 40}, {45, 65536 + 45}, {46, 127},
    };
    for (int code = -5; code <= 600; ++code) {
        auto row = chars.find(code);
        EXPECT_EQ(QvGlfwGame::KeyToChar(code), row == chars.end() ? 0 : row->second) << "code " << code;
    }
}

}  // namespace
