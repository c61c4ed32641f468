// The pause menu. Still to be built.
#include "shell/myapp.h"

int MyApp::PauseMenu() { return 0; }
