// Sound effects and tunes. Still to be built: the effect bank, channel
// rotation and the tunes; until then every call is silent.
#include "shell/myapp.h"

void MyApp::LoadSFX(int) {}

void MyApp::PlaySFX(int, float, float, float) {}

void MyApp::PlayTune(std::u16string_view, int) {}

void MyApp::StopTune() {}
