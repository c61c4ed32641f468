// Keyboard and mouse callbacks of the GLFW host: GLFW 2 key numbers become the
// framework's key codes, and keys that type a control character send it.
#include "host/glfw2.h"
#include "host/qvglfwgame.h"
#include "input/input_device.h"

namespace {

// Key codes for GLFW 2 key numbers 32 ... 316 (0 = no code). Digits and
// letters pass through unchanged and are not looked up here.
struct KeyCodeRow {
    int key, code;
};

constexpr KeyCodeRow kKeyCodes[] = {
    {32, 32},   {39, 222},  {34, 222},  {44, 188},  {45, 189},  {46, 190},  {47, 191},  {59, 186},
    {61, 187},  {91, 219},  {92, 220},  {93, 221},  {96, 192},  {126, 192}, {257, 27},  {283, 38},
    {284, 40},  {285, 37},  {286, 39},  {287, 16},  {288, 16},  {289, 17},  {290, 17},  {293, 9},
    {294, 13},  {295, 8},   {296, 45},  {297, 46},  {298, 33},  {299, 34},  {300, 36},  {301, 35},
    {312, 111}, {313, 106}, {314, 109}, {315, 107}, {316, 110},
};

struct KeyTable {
    unsigned char codes[316 - 32 + 1] = {};
    constexpr KeyTable() {
        for (const KeyCodeRow& row : kKeyCodes) codes[row.key - 32] = static_cast<unsigned char>(row.code);
        for (int f = 0; f < 12; ++f) codes[258 + f - 32] = static_cast<unsigned char>(112 + f);
        for (int k = 0; k < 10; ++k) codes[302 + k - 32] = static_cast<unsigned char>(96 + k);
    }
};

constexpr KeyTable kTable;

}  // namespace

int QvGlfwGame::TransKey(int key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return key;
    if (key >= 32 && key <= 316) return kTable.codes[key - 32];
    return 0;
}

int QvGlfwGame::KeyToChar(int code) {
    switch (code) {
        case 8: case 9: case 13: case 27: return code;
        case 46: return 127;
        default: break;
    }
    if ((code >= 33 && code <= 40) || code == 45) return code | 0x10000;
    return 0;
}

// Key repeat arrives as further presses: the key is already down, so they
// add no hit, but the key's character is typed again.
void QvGlfwGame::OnKey(int key, int action) {
    int code = TransKey(key);
    if (code == 0) return;
    if (action == glfw2::kRelease) {
        _game->KeyEvent(kKeyUpEvent, code);
    } else if (action == glfw2::kPress) {
        _game->KeyEvent(kKeyDownEvent, code);
        if (int character = KeyToChar(code)) _game->KeyEvent(kCharEvent, character);
    }
}

void QvGlfwGame::OnChar(int character, int action) {
    if (action == glfw2::kPress) _game->KeyEvent(kCharEvent, character);
}

// Only the left, right and middle buttons have key codes.
void QvGlfwGame::OnMouseButton(int button, int action) {
    if (button < 0 || button > 2) return;
    int x, y;
    glfw2::GetMousePos(&x, &y);
    int kind = action == glfw2::kPress ? kMouseDownEvent : kMouseUpEvent;
    _game->MouseEvent(kind, button, static_cast<float>(x), static_cast<float>(y));
}

void QvGlfwGame::OnMousePos(int x, int y) {
    _game->MouseEvent(kMouseMoveEvent, -1, static_cast<float>(x), static_cast<float>(y));
}

// The close button ends the game through the close key; GLFW must not close
// the window by itself.
int QvGlfwGame::OnWindowClose() {
    _game->KeyEvent(kKeyDownEvent, kCloseKey);
    _game->KeyEvent(kKeyUpEvent, kCloseKey);
    return 0;
}
