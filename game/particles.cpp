// Particles. Still to be built.
#include "shell/myapp.h"

int MyApp::ThrowParticle(float, float, int, int, float, float) { return 0; }

int MyApp::DoParticles(float) { return 0; }
