// The options overlay. Still to be built.
#include "shell/myapp.h"

int MyApp::OptionBox() { return 0; }
