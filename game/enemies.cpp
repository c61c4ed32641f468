// Enemies and bullets. Still to be built.
#include "shell/myapp.h"

int MyApp::DoObjects() { return 0; }
