// Joystick polling of the GLFW host. Placeholder until the input work lands:
// reports no joysticks.
#include "host/qvglfwgame.h"

bool QvGlfwGame::PollJoystick(int, float*, float*, float*, bool*) { return false; }
