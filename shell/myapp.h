// The game application. Placeholder until the game shell lands: runs at 60
// updates a second and draws nothing.
#pragma once

#include "host/app.h"

class MyApp : public App {
public:
    int OnCreate() override;
};
