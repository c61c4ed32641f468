// The title menu. Still to be built: the wheel, the side panel, the score
// lists and the credits page; until then it only draws the backdrop.
#include "shell/myapp.h"

int MyApp::Menu() {
    DoBG(20, 80, 160, -123);
    return 0;
}
