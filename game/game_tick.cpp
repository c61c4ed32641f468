// One tick of play. Still to be built.
#include "shell/myapp.h"

int MyApp::Game() { return 0; }

int MyApp::Gimme(int, float, float) { return 0; }
