// Placeholder input module until the input work lands.
#pragma once

#include "input/input_device.h"

namespace input {

extern InputDevice* device;

void InitModule();
void SetInputDevice(InputDevice* newDevice);

}  // namespace input
