#include "shell/myapp.h"

int MyApp::OnCreate() {
    app::SetUpdateRate(60);
    return 0;
}
