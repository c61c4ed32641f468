#include "shell/globals.h"

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "input/input.h"
#include "shell/random.h"

float jscrw, jscrh;
float rawscrw, rawscrh;
float overscan;
int DebugMode;
std::vector<String> MenuSet;
std::vector<String> CreditText;

void InitGameGlobals() {
    jscrw = rawscrw = 640.0f;
    jscrh = rawscrh = 480.0f;
    overscan = 0.0f;
    DebugMode = 0;
    MenuSet = {u"Easy",   u"Easiest mode\\nNice and Easy.",     u"Normal",
               u"Just right!\\nTough, but not hard.", u"Hard", u"Maybe TOO hard!\\nIf you like it like that"};
    // Sections open with a heading and close with an empty line, "-=-=-" and
    // an empty line; the scroller shows lines 0..55, never the closing "End".
    CreditText = {
        u"",
        u"A Game by",
        u"The Zentrove Team",
        u"Design, code and art",
        u"", u"-=-=-", u"",
        u"Developed using",
        u"C++20, GCC and CMake",
        u"on Debian GNU/Linux",
        u"", u"-=-=-", u"",
        u"Graphics",
        u"",
        u"Pictures drawn by our",
        u"own generator in Python",
        u"",
        u"Pixel font",
        u"by the Zentrove Team,",
        u"decoded with stb_image,",
        u"drawn through OpenGL and Mesa",
        u"",
        u"", u"-=-=-", u"",
        u"Audio",
        u"",
        u"Music and effects",
        u"by the Zentrove Team",
        u"Synthesised with",
        u"Python and NumPy",
        u"Encoded with vorbis-tools",
        u"Decoded with stb_vorbis",
        u"Played through",
        u"OpenAL Soft",
        u"", u"-=-=-", u"",
        u"",
        u"Hello to",
        u"Everyone playing!",
        u"",
        u"Thanks to",
        u"GLFW",
        u"OpenAL Soft",
        u"stb_image and stb_vorbis",
        u"Mesa",
        u"GoogleTest",
        u"Xvfb and xdotool",
        u"The Debian project",
        u"The GCC and LLVM teams",
        u"and everyone who shares",
        u"their work freely.",
        u"",
        u"-=-=-",
        u"End",
    };
}

void InitModuleGlobals() {
    graphics::InitModule();
    audio::InitModule();
    input::InitModule();
    random::Seed = 1234;
}
