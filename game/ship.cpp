// Ship control and motion. Still to be built.
#include "shell/myapp.h"

int MyApp::AnalogueControl() { return 0; }

int MyApp::WhichWayDoIGo(float, float, int, int) { return 0; }

int MyApp::ShipSteps() { return 0; }

int MyApp::ShipHit() { return 0; }
