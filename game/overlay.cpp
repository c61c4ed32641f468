// The in-game overlay, score display and rankings. Still to be built.
#include "shell/myapp.h"

int MyApp::InGame() { return 0; }

int MyApp::ScoreDisplay() { return 0; }

String MyApp::Nth(int) { return String(); }

String MyApp::MyNth() { return String(); }
