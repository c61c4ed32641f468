#include "input/input.h"

namespace input {

InputDevice* device = nullptr;

void InitModule() { device = nullptr; }
void SetInputDevice(InputDevice* newDevice) { device = newDevice; }

}  // namespace input
