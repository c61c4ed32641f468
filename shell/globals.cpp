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
    CreditText.clear();
}

void InitModuleGlobals() {
    graphics::InitModule();
    audio::InitModule();
    input::InitModule();
    random::Seed = 1234;
}
