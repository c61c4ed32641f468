// The Game module's globals: the virtual screen, the overscan inset, the debug
// switch and the menu and credits texts. qvInit resets them at start-up.
#pragma once

#include <vector>

#include "host/qvstring.h"

extern float jscrw, jscrh;      // the current virtual screen, recomputed every render
extern float rawscrw, rawscrh;  // the design size it is derived from
extern float overscan;          // inset of the picture from each window edge, window pixels
extern int DebugMode;           // 1 shows the debug line (F1)
extern std::vector<String> MenuSet;     // difficulty names and descriptions, in pairs
extern std::vector<String> CreditText;  // the credits page, one line each

void InitGameGlobals();
// The framework modules' globals (graphics, audio, input, random).
void InitModuleGlobals();
