#include "host/glfw2.h"

#include <GLFW/glfw3.h>

#include <ctime>

namespace glfw2 {
namespace {

GLFWwindow* window = nullptr;
int refreshRateHint = 0;
bool noResizeHint = false;
bool keyRepeat = false;

KeyFun keyFun = nullptr;
CharFun charFun = nullptr;
MouseButtonFun mouseButtonFun = nullptr;
MousePosFun mousePosFun = nullptr;
WindowCloseFun windowCloseFun = nullptr;

struct KeyPair {
    int glfw3, glfw2;
};

// Special keys; printable keys share their number in both versions.
constexpr KeyPair kSpecialKeys[] = {
    {GLFW_KEY_ESCAPE, kKeyEsc},          {GLFW_KEY_UP, kKeyUp},
    {GLFW_KEY_DOWN, kKeyDown},           {GLFW_KEY_LEFT, kKeyLeft},
    {GLFW_KEY_RIGHT, kKeyRight},         {GLFW_KEY_LEFT_SHIFT, kKeyLShift},
    {GLFW_KEY_RIGHT_SHIFT, kKeyRShift},  {GLFW_KEY_LEFT_CONTROL, kKeyLCtrl},
    {GLFW_KEY_RIGHT_CONTROL, kKeyRCtrl}, {GLFW_KEY_LEFT_ALT, kKeyLAlt},
    {GLFW_KEY_RIGHT_ALT, kKeyRAlt},      {GLFW_KEY_TAB, kKeyTab},
    {GLFW_KEY_ENTER, kKeyEnter},         {GLFW_KEY_BACKSPACE, kKeyBackspace},
    {GLFW_KEY_INSERT, kKeyInsert},       {GLFW_KEY_DELETE, kKeyDel},
    {GLFW_KEY_PAGE_UP, kKeyPageUp},      {GLFW_KEY_PAGE_DOWN, kKeyPageDown},
    {GLFW_KEY_HOME, kKeyHome},           {GLFW_KEY_END, kKeyEnd},
    {GLFW_KEY_KP_DIVIDE, kKeyKpDivide},  {GLFW_KEY_KP_MULTIPLY, kKeyKpMultiply},
    {GLFW_KEY_KP_SUBTRACT, kKeyKpSubtract}, {GLFW_KEY_KP_ADD, kKeyKpAdd},
    {GLFW_KEY_KP_DECIMAL, kKeyKpDecimal}, {GLFW_KEY_KP_EQUAL, kKeyKpEqual},
    {GLFW_KEY_KP_ENTER, kKeyKpEnter},    {GLFW_KEY_NUM_LOCK, kKeyKpNumLock},
    {GLFW_KEY_CAPS_LOCK, kKeyCapsLock},  {GLFW_KEY_SCROLL_LOCK, kKeyScrollLock},
    {GLFW_KEY_PAUSE, kKeyPause},         {GLFW_KEY_LEFT_SUPER, kKeyLSuper},
    {GLFW_KEY_RIGHT_SUPER, kKeyRSuper},  {GLFW_KEY_MENU, kKeyMenu},
};

// The printable keys GLFW 3 knows; both versions number them by their
// unshifted ASCII character.
bool IsPrintable(int key) {
    return key == GLFW_KEY_SPACE || key == GLFW_KEY_APOSTROPHE || (key >= GLFW_KEY_COMMA && key <= GLFW_KEY_9) ||
           key == GLFW_KEY_SEMICOLON || key == GLFW_KEY_EQUAL ||
           (key >= GLFW_KEY_A && key <= GLFW_KEY_RIGHT_BRACKET) || key == GLFW_KEY_GRAVE_ACCENT;
}

void OnGlfwKey(GLFWwindow*, int key, int, int action, int) {
    int key2 = KeyFromGlfw3(key);
    if (key2 < 0 || !keyFun) return;
    if (action == GLFW_REPEAT) {
        if (keyRepeat) keyFun(key2, kPress);  // GLFW 2 reported repeats as further presses
        return;
    }
    keyFun(key2, action == GLFW_PRESS ? kPress : kRelease);
}

void OnGlfwChar(GLFWwindow*, unsigned int codepoint) {
    if (charFun) charFun(static_cast<int>(codepoint), kPress);
}

void OnGlfwMouseButton(GLFWwindow*, int button, int action, int) {
    if (mouseButtonFun) mouseButtonFun(button, action == GLFW_PRESS ? kPress : kRelease);
}

void OnGlfwCursorPos(GLFWwindow*, double x, double y) {
    if (mousePosFun) mousePosFun(static_cast<int>(x), static_cast<int>(y));
}

void OnGlfwClose(GLFWwindow* closing) {
    // The window stays open unless the game's callback agrees to close it.
    if (windowCloseFun && windowCloseFun() == 0) glfwSetWindowShouldClose(closing, GLFW_FALSE);
}

void InstallGlfwCallbacks() {
    glfwSetKeyCallback(window, OnGlfwKey);
    glfwSetCharModsCallback(window, nullptr);
    glfwSetCharCallback(window, OnGlfwChar);
    glfwSetMouseButtonCallback(window, OnGlfwMouseButton);
    glfwSetCursorPosCallback(window, OnGlfwCursorPos);
    glfwSetWindowCloseCallback(window, OnGlfwClose);
}

}  // namespace

bool Init() { return glfwInit() == GLFW_TRUE; }
void Terminate() { glfwTerminate(); }
double GetTime() { return glfwGetTime(); }

void Sleep(double seconds) {
    if (seconds <= 0) return;
    struct timespec wait;
    wait.tv_sec = static_cast<time_t>(seconds);
    wait.tv_nsec = static_cast<long>((seconds - static_cast<double>(wait.tv_sec)) * 1e9);
    while (nanosleep(&wait, &wait) != 0) {
    }
}

void OpenWindowHint(int target, int hint) {
    if (target == kRefreshRate) refreshRateHint = hint;
    if (target == kWindowNoResize) noResizeHint = hint != 0;
}

bool OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil, int mode) {
    CloseWindow();
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_RED_BITS, red);
    glfwWindowHint(GLFW_GREEN_BITS, green);
    glfwWindowHint(GLFW_BLUE_BITS, blue);
    glfwWindowHint(GLFW_ALPHA_BITS, alpha);
    glfwWindowHint(GLFW_DEPTH_BITS, depth);
    glfwWindowHint(GLFW_STENCIL_BITS, stencil);
    glfwWindowHint(GLFW_REFRESH_RATE, refreshRateHint > 0 ? refreshRateHint : GLFW_DONT_CARE);
    glfwWindowHint(GLFW_RESIZABLE, noResizeHint ? GLFW_FALSE : GLFW_TRUE);
    // The X11 class lets desktops match the window to the game's menu entry.
    glfwWindowHintString(GLFW_X11_CLASS_NAME, "zentrove");
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, "zentrove");
    GLFWmonitor* monitor = mode == kFullscreen ? glfwGetPrimaryMonitor() : nullptr;
    window = glfwCreateWindow(width, height, "", monitor, nullptr);
    // GLFW 2 forgot its hints after every open.
    refreshRateHint = 0;
    noResizeHint = false;
    if (!window) return false;
    glfwMakeContextCurrent(window);
    InstallGlfwCallbacks();
    return true;
}

void CloseWindow() {
    if (!window) return;
    glfwDestroyWindow(window);
    window = nullptr;
}

int GetWindowParam(int param) {
    if (!window) return 0;
    switch (param) {
        case kOpened: return glfwWindowShouldClose(window) ? 0 : 1;
        case kActive: return glfwGetWindowAttrib(window, GLFW_FOCUSED);
        case kIconified: return glfwGetWindowAttrib(window, GLFW_ICONIFIED);
        default: return 0;
    }
}

void GetWindowSize(int* width, int* height) {
    *width = 0;
    *height = 0;
    if (window) glfwGetWindowSize(window, width, height);
}

void SetWindowPos(int x, int y) {
    if (window) glfwSetWindowPos(window, x, y);
}

void SetWindowTitle(const char* title) {
    if (window) glfwSetWindowTitle(window, title);
}

void SwapBuffers() {
    if (window) glfwSwapBuffers(window);
}

void SwapInterval(int interval) {
    if (window) glfwSwapInterval(interval);
}

void PollEvents() { glfwPollEvents(); }
void WaitEvents() { glfwWaitEvents(); }

void Enable(int feature) {
    if (feature == kKeyRepeat) keyRepeat = true;
    if (feature == kMouseCursor && window) glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
}

void Disable(int feature) {
    if (feature == kKeyRepeat) keyRepeat = false;
    if (feature == kMouseCursor && window) glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
    // kAutoPollEvents: GLFW 3 never pumps events by itself.
}

static void CopyMode(const GLFWvidmode& from, VidMode* to) {
    to->width = from.width;
    to->height = from.height;
    to->redBits = from.redBits;
    to->greenBits = from.greenBits;
    to->blueBits = from.blueBits;
}

void GetDesktopMode(VidMode* mode) {
    *mode = {0, 0, 0, 0, 0};
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* current = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (current) CopyMode(*current, mode);
}

int GetVideoModes(VidMode* list, int maxCount) {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    if (!monitor) return 0;
    int count = 0;
    const GLFWvidmode* modes = glfwGetVideoModes(monitor, &count);
    if (!modes) return 0;
    int n = 0;
    for (; n < count && n < maxCount; ++n) CopyMode(modes[n], &list[n]);
    return n;
}

int GetKey(int key) {
    int key3 = KeyToGlfw3(key);
    if (!window || key3 < 0) return kRelease;
    return glfwGetKey(window, key3) == GLFW_PRESS ? kPress : kRelease;
}

void GetMousePos(int* x, int* y) {
    double dx = 0, dy = 0;
    if (window) glfwGetCursorPos(window, &dx, &dy);
    *x = static_cast<int>(dx);
    *y = static_cast<int>(dy);
}

void SetKeyCallback(KeyFun callback) { keyFun = callback; }
void SetCharCallback(CharFun callback) { charFun = callback; }
void SetMouseButtonCallback(MouseButtonFun callback) { mouseButtonFun = callback; }
void SetMousePosCallback(MousePosFun callback) { mousePosFun = callback; }
void SetWindowCloseCallback(WindowCloseFun callback) { windowCloseFun = callback; }

int KeyFromGlfw3(int glfw3Key) {
    if (IsPrintable(glfw3Key)) return glfw3Key;
    if (glfw3Key >= GLFW_KEY_F1 && glfw3Key <= GLFW_KEY_F25) return kKeyF1 + (glfw3Key - GLFW_KEY_F1);
    if (glfw3Key >= GLFW_KEY_KP_0 && glfw3Key <= GLFW_KEY_KP_9) return kKeyKp0 + (glfw3Key - GLFW_KEY_KP_0);
    for (const KeyPair& pair : kSpecialKeys)
        if (pair.glfw3 == glfw3Key) return pair.glfw2;
    return -1;
}

int KeyToGlfw3(int glfw2Key) {
    if (IsPrintable(glfw2Key)) return glfw2Key;
    if (glfw2Key >= kKeyF1 && glfw2Key <= kKeyF25) return GLFW_KEY_F1 + (glfw2Key - kKeyF1);
    if (glfw2Key >= kKeyKp0 && glfw2Key <= kKeyKp9) return GLFW_KEY_KP_0 + (glfw2Key - kKeyKp0);
    for (const KeyPair& pair : kSpecialKeys)
        if (pair.glfw2 == glfw2Key) return pair.glfw3;
    return -1;
}

}  // namespace glfw2
