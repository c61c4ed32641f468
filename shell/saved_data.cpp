// Saved settings, high scores and badge flags. Still to be built: the saved
// text, its checksums and the score entry; until then nothing is kept.
#include "shell/myapp.h"

int MyApp::Save() { return 0; }

int MyApp::Load() { return 0; }

int MyApp::LoadMenu() { return 0; }
