// The drifting stars. Still to be built.
#include "shell/myapp.h"

int MyApp::DoStars(float, float) { return 0; }
